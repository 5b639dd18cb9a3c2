// A PNG image's chunks walked before any is decoded: only the chunks that
// make the picture go on to the decoder, copied into the arena; everything
// else is skipped without a byte of it being inflated.
//
// A PNG image, big-endian:
//   8 bytes   signature 89 'P' 'N' 'G' 0d 0a 1a 0a
//   then chunks, each: 4 data length, 4 type, the data, 4 checksum
//   IHDR      first, 13 bytes: width 4, height 4, bit depth 1, colour type 1
//             (0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA),
//             compression 1 (0), filter 1 (0), interlace 1 (0 none, 1 Adam7)
//   PLTE      palette: 3 bytes an entry (red, green, blue), 1 to 256 entries
//   tRNS      transparency: an alpha a palette entry, or one colour key
//   IDAT      the compressed rows, in one chunk or several in a row
//   IEND      the end, no data
// A chunk whose type starts with a lower-case letter is ancillary (text,
// colour profiles, ...): skipped unread. Any other critical chunk is refused.
#include "cursors/png_decode.h"

#include "cursors/image_header.h"
#include "cursors/pixel_arena.h"

namespace {

const uint32_t SIGNATURE_SIZE = 8;
const uint8_t SIGNATURE[SIGNATURE_SIZE] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
const uint32_t CHUNK_FRAME = 12;  // length, type, checksum
const uint32_t HEADER_DATA = 13;
const uint32_t MAX_PALETTE_BYTES = 3 * 256;
const uint32_t ANCILLARY_BIT = 0x20;  // in the type's first letter
const uint8_t PALETTE_TYPE = 3;
const uint8_t ALPHA_CHANNEL = 4;  // in the colour type

uint32_t big_endian(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
           static_cast<uint32_t>(at[2]) << 8 | at[3];
}

uint32_t type_of(const char (&name)[5]) { return big_endian(reinterpret_cast<const uint8_t*>(name)); }

struct Walk {
    uint8_t* copy;
    uint32_t copied;
    PngHeader header;
    uint32_t palette_entries;
    bool ended;
};

void copy_bytes(Walk* walk, const uint8_t* bytes, uint32_t count) {
    memcpy(walk->copy + walk->copied, bytes, count);
    walk->copied += count;
}

// A palette is copied at its full 256 entries, those past its own black:
// the decoder does not check a pixel's index against the palette's length.
void copy_palette(Walk* walk, const uint8_t* chunk, uint32_t bytes) {
    uint8_t frame[8] = {0, 0, MAX_PALETTE_BYTES >> 8, MAX_PALETTE_BYTES & 0xff, 'P', 'L', 'T', 'E'};
    copy_bytes(walk, frame, sizeof frame);
    copy_bytes(walk, chunk + 8, bytes);
    memset(walk->copy + walk->copied, 0, MAX_PALETTE_BYTES - bytes + 4);
    walk->copied += MAX_PALETTE_BYTES - bytes + 4;
}

// One chunk (whole inside the image): copied, skipped, or refused.
bool take_chunk(const uint8_t* chunk, uint32_t bytes, bool first, Walk* walk) {
    uint32_t type = big_endian(chunk + 4);
    if (first != (type == type_of("IHDR")))
        return false;
    if (type == type_of("IHDR")) {
        if (bytes != HEADER_DATA || !read_png_header(chunk + 8, &walk->header))
            return false;
    } else if (type == type_of("PLTE")) {
        if (walk->palette_entries || !bytes || bytes > MAX_PALETTE_BYTES || bytes % 3)
            return false;
        walk->palette_entries = bytes / 3;
        if (walk->header.colour_type == PALETTE_TYPE)
            copy_palette(walk, chunk, bytes);
        return true;
    } else if (type == type_of("tRNS")) {
        // An image with an alpha channel has no use for one: left out, as
        // other readers ignore it.
        if (walk->header.colour_type & ALPHA_CHANNEL)
            return true;
        if (walk->header.colour_type == PALETTE_TYPE && bytes > walk->palette_entries)
            return false;
    } else if (type == type_of("IEND")) {
        walk->ended = true;
    } else if (type != type_of("IDAT")) {
        return (chunk[4] & ANCILLARY_BIT) != 0;
    }
    copy_bytes(walk, chunk, CHUNK_FRAME + bytes);
    return true;
}

}  // namespace

bool decode_png(const uint8_t* png, uint32_t length, PixelArena* arena, Picture* picture) {
    if (length < SIGNATURE_SIZE || memcmp(png, SIGNATURE, SIGNATURE_SIZE) != 0)
        return false;
    uint32_t mark = arena->used;
    Walk walk;
    memset(&walk, 0, sizeof walk);
    // The copy holds no more than the image and one palette's padding.
    if (length > UINT32_MAX - MAX_PALETTE_BYTES)
        return false;
    walk.copy = static_cast<uint8_t*>(arena_take(arena, length + MAX_PALETTE_BYTES));
    if (!walk.copy)
        return false;
    copy_bytes(&walk, png, SIGNATURE_SIZE);
    for (uint32_t at = SIGNATURE_SIZE; !walk.ended;) {
        if (length - at < CHUNK_FRAME)
            return false;
        uint32_t bytes = big_endian(png + at);
        if (bytes > length - at - CHUNK_FRAME || !take_chunk(png + at, bytes, at == SIGNATURE_SIZE, &walk))
            return false;
        at += CHUNK_FRAME + bytes;
    }
    const PngHeader& header = walk.header;
    uint8_t* rgba =
        inflate_png(walk.copy, walk.copied, header.width, header.height, header.raw_bytes, arena);
    if (!rgba)
        return false;
    uint32_t pixels = header.width * header.height;
    picture->width = header.width;
    picture->height = header.height;
    picture->alpha = true;
    picture->colour = reinterpret_cast<uint32_t*>(rgba);
    picture->mask = static_cast<uint8_t*>(arena_take(arena, pixels));
    if (!picture->mask)
        return false;
    for (uint32_t i = 0; i < pixels; ++i) {
        const uint8_t* pixel = rgba + 4 * i;
        uint32_t value = static_cast<uint32_t>(pixel[3]) << 24 | static_cast<uint32_t>(pixel[0]) << 16 |
                         static_cast<uint32_t>(pixel[1]) << 8 | pixel[2];
        picture->colour[i] = value;
        picture->mask[i] = !pixel[3];
    }
    arena_keep_from(arena, mark, picture);
    return true;
}
