#include "cursors/cursor_file_check.h"

#include "cursors/cursor_format.h"

namespace {

const DWORD MAX_FRAMES = 1024;
const DWORD CORE_HEADER_SIZE = 12;
const DWORD INFO_HEADER_SIZE = 40;
const DWORD MAX_IMAGE_SIDE = 1024;
// An image's height counts its colour rows and its mask rows: at least one of
// each. Wine's animated-cursor reader divides by the number of rows.
const DWORD MIN_IMAGE_HEIGHT = 2;
// A core header's image is read by Wine as if its header were the larger
// one: the palette's bytes 14 and 15 are taken for a bit count, and 32 there
// makes it walk 32-bit pixels the image does not have.
const DWORD CORE_MISREAD_BIT_COUNT_OFFSET = 14;
const WORD MISREAD_ALPHA_BITS = 32;
// What every PNG image starts with: the full signature, then the length (13)
// and name of its header chunk, whose data and checksum follow. Wine's
// readers take the header for granted after the signature's first bytes.
const BYTE PNG_START[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                          0,    0,   0,   13,  'I',  'H',  'D',  'R'};
const DWORD PNG_HEADER_SIZE = sizeof PNG_START + 13 + 4;

DWORD big_endian_u32(const BYTE* at) {
    return (static_cast<DWORD>(at[0]) << 24) | (static_cast<DWORD>(at[1]) << 16) |
           (static_cast<DWORD>(at[2]) << 8) | at[3];
}

// Callers have bounded the width by MAX_IMAGE_SIDE and the bits by 32: the
// sizes below stay far inside 32 bits.
DWORD row_bytes(DWORD width, DWORD bits) { return (width * bits + 31) / 32 * 4; }

bool side_fits(DWORD side) { return side > 0 && side <= MAX_IMAGE_SIDE; }

// An image's own width and height (colour rows only).
struct ImageSize {
    DWORD width;
    DWORD height;
};

bool png_is_sound(const BYTE* image, DWORD room, ImageSize* own) {
    if (room < PNG_HEADER_SIZE || memcmp(image, PNG_START, sizeof PNG_START) != 0)
        return false;
    own->width = big_endian_u32(image + sizeof PNG_START);
    own->height = big_endian_u32(image + sizeof PNG_START + 4);
    return side_fits(own->width) && side_fits(own->height);
}

// A 12-byte core header: 1, 4 or 8 bits with its palette of 3-byte entries.
// Deeper core images have no palette, and Wine reads heap bytes beyond the
// header as their bit count.
bool core_image_is_sound(const BYTE* image, DWORD room, ImageSize* own) {
    DWORD width = read_u16(image + 4), height = read_u16(image + 6);
    DWORD bits = read_u16(image + 10);
    if (bits != 1 && bits != 4 && bits != 8)
        return false;
    DWORD colour_table = 3u << bits;
    if (!side_fits(width) || height < MIN_IMAGE_HEIGHT || !side_fits(height / 2))
        return false;
    DWORD needed = CORE_HEADER_SIZE + colour_table + row_bytes(width, bits) * (height / 2);
    if (needed > room || read_u16(image + CORE_MISREAD_BIT_COUNT_OFFSET) == MISREAD_ALPHA_BITS)
        return false;
    own->width = width;
    own->height = height / 2;
    return true;
}

// A 40-byte header, uncompressed, whose colour table and colour rows fit in
// `room`; the mask may be missing (loaders then use none).
bool info_image_is_sound(const BYTE* image, DWORD room, ImageSize* own) {
    if (room < INFO_HEADER_SIZE)
        return false;
    LONG width = static_cast<LONG>(read_u32(image + 4));
    LONG signed_height = static_cast<LONG>(read_u32(image + 8));
    WORD planes = read_u16(image + 12), bits = read_u16(image + 14);
    DWORD compression = read_u32(image + 16), colours_used = read_u32(image + 32);
    // Top-down images count their rows negative. Negated unsigned, the most
    // negative value (which has no positive counterpart) stays far beyond
    // any image.
    DWORD height = static_cast<DWORD>(signed_height);
    if (signed_height < 0)
        height = 0u - height;
    if (width <= 0 || !side_fits(static_cast<DWORD>(width)) || height < MIN_IMAGE_HEIGHT ||
        height / 2 > MAX_IMAGE_SIDE || planes != 1 || compression != BI_RGB)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    DWORD colours = colours_used ? colours_used : (bits <= 8 ? (1u << bits) : 0);
    if (colours > 256)
        return false;
    DWORD rows = height / 2;
    DWORD needed = INFO_HEADER_SIZE + colours * 4 + row_bytes(static_cast<DWORD>(width), bits) * rows;
    own->width = static_cast<DWORD>(width);
    own->height = rows;
    return needed <= room;
}

// One image, from its first byte to the end of what a loader may read of it.
bool image_is_sound(const BYTE* image, DWORD room, ImageSize* own) {
    if (room >= sizeof ID_PNG && read_u32(image) == ID_PNG)
        return png_is_sound(image, room, own);
    if (room < CORE_HEADER_SIZE)
        return false;
    if (read_u32(image) == CORE_HEADER_SIZE)
        return core_image_is_sound(image, room, own);
    return read_u32(image) == INFO_HEADER_SIZE && info_image_is_sound(image, room, own);
}

// What one icon-format directory (a whole .cur/.ico file, or one frame of an
// animated cursor) holds.
struct DirectoryFacts {
    DWORD largest_pixels;  // of any image, at its own size or as built
    bool several_sizes;
};

// A directory whose every entry lies in `size` and whose every image lies in
// the bytes from its offset up to `image_end` (past the directory's own
// length: loaders read an image from its offset to the file's end, whatever
// size its entry gives). Frames of an animated cursor are built at the
// header's size when it sets one (`built`), else at the entry's width and
// height where they are not 0 (the image's own where they are): the pixels
// count what is built. `built` is at most MAX_CURSOR_PIXELS + 1, and an
// image's own pixels at most MAX_IMAGE_SIDE squared. Images are decoded one
// at a time, each within the side limit.
bool directory_is_sound(const BYTE* directory, DWORD size, DWORD image_end, DWORD built,
                        bool animated, DirectoryFacts* facts) {
    memset(facts, 0, sizeof *facts);
    if (size < ICON_DIR_HEADER_SIZE)
        return false;
    WORD type = read_u16(directory + 2), count = read_u16(directory + 4);
    if ((type != 1 && type != 2) || count == 0 ||
        ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * static_cast<DWORD>(count) > size)
        return false;
    ImageSize first = {0, 0};
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = directory + ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * i;
        DWORD offset = read_u32(entry + 12);
        ImageSize own;
        if (offset >= image_end || !image_is_sound(directory + offset, image_end - offset, &own))
            return false;
        DWORD pixels = own.width * own.height;
        if (animated)
            pixels = built ? built
                           : (entry[0] ? entry[0] : own.width) * (entry[1] ? entry[1] : own.height);
        if (pixels > facts->largest_pixels)
            facts->largest_pixels = pixels;
        if (i == 0)
            first = own;
        else if (own.width != first.width || own.height != first.height)
            facts->several_sizes = true;
    }
    return true;
}

bool single_image_file_is_sound(const BYTE* bytes, DWORD size, CursorFileLayout* layout) {
    DirectoryFacts facts;
    if (!directory_is_sound(bytes, size, size, 0, false, &facts))
        return false;
    layout->frames = 1;
    layout->several_sizes = facts.several_sizes;
    return true;
}

// Every step names a frame there is, and every frame is named by a step:
// the system never frees a frame that no step shows.
bool sequence_is_sound(const BYTE* entries, DWORD steps, DWORD frames) {
    BYTE shown[MAX_FRAMES / 8] = {};
    for (DWORD i = 0; i < steps; ++i) {
        DWORD frame = read_u32(entries + 4 * i);
        if (frame >= frames)
            return false;
        shown[frame / 8] |= static_cast<BYTE>(1u << (frame % 8));
    }
    for (DWORD frame = 0; frame < frames; ++frame)
        if (!(shown[frame / 8] & (1u << (frame % 8))))
            return false;
    return true;
}

// The frames are read one after the other, each step the chunk's length
// plus its header, without a pad byte (Wine's reader): each length but the
// last must be even. All frames together stay within MAX_CURSOR_PIXELS.
bool frames_are_sound(const BYTE* bytes, DWORD body_end, RiffChunk list, DWORD frames,
                      DWORD built, CursorFileLayout* layout) {
    DWORD list_end = list.offset + CHUNK_HEADER_SIZE + list.length;
    DWORD position = list.offset + LIST_HEADER_SIZE;
    DWORD total = 0;  // at most twice MAX_CURSOR_PIXELS, plus one
    for (DWORD i = 0; i < frames; ++i) {
        if (list_end < position || list_end - position < CHUNK_HEADER_SIZE)
            return false;
        const BYTE* header = bytes + position;
        DWORD length = read_u32(header + 4);
        if (read_u32(header) != ID_ICON || length > list_end - position - CHUNK_HEADER_SIZE ||
            ((length & 1) && i + 1 < frames))
            return false;
        DirectoryFacts facts;
        DWORD frame_start = position + CHUNK_HEADER_SIZE;
        if (!directory_is_sound(bytes + frame_start, length, body_end - frame_start, built, true, &facts))
            return false;
        if (i == 0)
            layout->several_sizes = facts.several_sizes;
        total += facts.largest_pixels;
        if (total > MAX_CURSOR_PIXELS)
            return false;
        position = frame_start + length;
    }
    return true;
}

// An animated cursor as every reader walks it: the lengths agree with the
// file (prepare_animated_copy makes a private copy so), every chunk a reader
// looks at lies inside the body, and the steps show every frame.
bool animated_file_is_sound(const BYTE* bytes, DWORD size, CursorFileLayout* layout) {
    DWORD riff_length = read_u32(bytes + 4);
    if (riff_length < 4 || riff_length > size - CHUNK_HEADER_SIZE)
        return false;
    DWORD body_end = CHUNK_HEADER_SIZE + riff_length;
    TopChunks top;
    walk_top_chunks(bytes, body_end, &top);
    if (top.overrun.present || top.short_list || !top.anih.present || top.anih.length < ANIH_SIZE ||
        !top.frames.present || top.frames.length < 4)
        return false;
    const BYTE* anih = bytes + top.anih.offset + CHUNK_HEADER_SIZE;
    DWORD frames = read_u32(anih + ANIH_FRAMES), steps = read_u32(anih + ANIH_STEPS);
    DWORD flags = read_u32(anih + ANIH_FLAGS);
    if (frames == 0 || frames > MAX_FRAMES || steps == 0 || steps > MAX_FRAMES)
        return false;
    if (flags & ANIH_FLAG_SEQUENCE) {
        if (!top.sequence.present || top.sequence.length / 4 < steps ||
            !sequence_is_sound(bytes + top.sequence.offset + CHUNK_HEADER_SIZE, steps, frames))
            return false;
    } else if (steps != frames) {
        return false;
    }
    if (top.rates.present && top.rates.length / 4 < steps)
        return false;
    layout->header_width = read_u32(anih + ANIH_WIDTH);
    layout->header_height = read_u32(anih + ANIH_HEIGHT);
    // The header's size as a pixel count, anything past the limit counted
    // as just past it.
    DWORD width = layout->header_width, height = layout->header_height, built = 0;
    if (width && height)
        built = width > MAX_CURSOR_PIXELS / height ? MAX_CURSOR_PIXELS + 1 : width * height;
    layout->animated = true;
    layout->frames = frames;
    return frames_are_sound(bytes, body_end, top.frames, frames, built, layout);
}

}  // namespace

bool check_cursor_file(const BYTE* bytes, DWORD size, CursorFileLayout* layout) {
    CursorFileLayout found;
    memset(&found, 0, sizeof found);
    bool sound = size >= 4 && read_u32(bytes) == ID_RIFF
                     ? is_riff_acon(bytes, size) && animated_file_is_sound(bytes, size, &found)
                     : single_image_file_is_sound(bytes, size, &found);
    if (sound && layout)
        *layout = found;
    return sound;
}

bool cursor_file_is_sound(const BYTE* bytes, DWORD size) { return check_cursor_file(bytes, size, NULL); }
