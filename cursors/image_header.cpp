// Image headers, little-endian for a bitmap, big-endian inside a PNG:
//   core header (12 bytes): size 4, width 2, height 2, planes 2, bits 2
//     (1, 4, 8 with a palette of 3-byte entries after it, or 24)
//   info header (40 bytes, or a later version's larger one that adds fields
//     after these): size 4, width 4 (signed, above 0), height 4 (signed:
//     colour rows plus mask rows, negative when the rows run top-down),
//     planes 2 (1), bits 2 (1, 4, 8, 16, 24, 32), compression 4 (0 none;
//     3 bit fields, 16 and 32 bits only: the red, green and blue masks
//     follow the first 40 bytes), image bytes, resolution 12 (not used),
//     colours used 4 (0: 1 << bits for 8 bits and fewer), important
//     colours 4 (not used); then a palette of 4-byte entries
//   then the colour rows (each padded to 4 bytes) and the AND mask's rows
//   (1 bit a pixel, padded to 4 bytes), in the same row order.
//   PNG: the signature, then the header chunk's length (13) and name, its
//   data (width 4, height 4, depth 1, colour type 1, compression 1 (0),
//   filter 1 (0), interlace 1 (0 none, 1 Adam7)) and checksum.
// Sides are at most MAX_IMAGE_SIDE, so no size below leaves 32 bits.
#include "cursors/image_header.h"

#include "cursors/cursor_format.h"
#include "cursors/cursor_parse.h"

namespace {

const uint32_t CORE_HEADER_SIZE = 12;
const uint32_t INFO_HEADER_SIZE = 40;
const uint32_t COMPRESSION_NONE = 0;
const uint32_t COMPRESSION_BIT_FIELDS = 3;
const uint32_t MASKS_SIZE = 3 * 4;
const uint32_t MAX_PALETTE = 256;
// 16 bits without bit fields are 5 bits a channel; 32 bits, 8.
const uint32_t MASKS_555[3] = {0x7c00, 0x03e0, 0x001f};
const uint32_t MASKS_888[3] = {0xff0000, 0x00ff00, 0x0000ff};

// What every PNG image starts with: the signature, then the length (13) and
// name of its header chunk, whose data and checksum follow.
const uint8_t PNG_START[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                             0,    0,   0,   13,  'I',  'H',  'D',  'R'};
const uint32_t PNG_HEADER_DATA = 13;
const uint32_t PNG_HEADER_END = sizeof PNG_START + PNG_HEADER_DATA + 4;
const uint32_t PNG_DEPTH = 32;
const uint8_t PALETTE_TYPE = 3;
// Channels a pixel by colour type (0 where the type does not exist).
const uint32_t CHANNELS[7] = {1, 0, 3, 1, 2, 0, 4};

uint32_t big_endian_u32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
           static_cast<uint32_t>(at[2]) << 8 | at[3];
}

bool side_fits(uint32_t side) { return side > 0 && side <= MAX_IMAGE_SIDE; }

uint32_t row_bytes(uint32_t width, uint32_t bits) { return (width * bits + 31) / 32 * 4; }

bool png_depth_fits(uint32_t colour_type, uint32_t depth) {
    if (colour_type > 6 || !CHANNELS[colour_type])
        return false;
    if (depth == 8)
        return true;
    if (depth == 16)
        return colour_type != PALETTE_TYPE;
    return (depth == 1 || depth == 2 || depth == 4) &&
           (colour_type == 0 || colour_type == PALETTE_TYPE);
}

// The inflated rows of one pass: each a filter byte and its pixels' bytes.
uint32_t pass_bytes(uint32_t width, uint32_t height, uint32_t bits) {
    return width && height ? height * (1 + (width * bits + 7) / 8) : 0;
}

uint32_t raw_size(uint32_t width, uint32_t height, uint32_t bits, bool interlaced) {
    if (!interlaced)
        return pass_bytes(width, height, bits);
    // Adam7: each pass's first column and row, and its steps.
    static const uint8_t PASSES[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                         {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    uint32_t total = 0;
    for (const uint8_t* pass : PASSES) {
        uint32_t columns = width > pass[0] ? (width - pass[0] + pass[2] - 1) / pass[2] : 0;
        uint32_t rows = height > pass[1] ? (height - pass[1] + pass[3] - 1) / pass[3] : 0;
        total += pass_bytes(columns, rows, bits);
    }
    return total;
}

bool known_depth(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The header's own fields; the layout after it is checked by the caller.
bool read_bitmap_fields(const uint8_t* image, uint32_t room, BitmapHeader* bitmap) {
    const uint32_t* masks = MASKS_888;
    int32_t height;
    if (read_u32(image) == CORE_HEADER_SIZE) {
        bitmap->width = read_u16(image + 4);
        height = read_u16(image + 6);
        bitmap->bits = read_u16(image + 10);
        if (bitmap->bits != 1 && bitmap->bits != 4 && bitmap->bits != 8 && bitmap->bits != 24)
            return false;
        bitmap->colours = bitmap->bits <= 8 ? 1u << bitmap->bits : 0;
        bitmap->entry_size = 3;
        bitmap->palette_at = CORE_HEADER_SIZE;
    } else {
        uint32_t size = read_u32(image);
        if (size < INFO_HEADER_SIZE || size > room)
            return false;
        int32_t width = static_cast<int32_t>(read_u32(image + 4));
        height = static_cast<int32_t>(read_u32(image + 8));
        uint32_t planes = read_u16(image + 12), compression = read_u32(image + 16);
        uint32_t used = read_u32(image + 32);
        bitmap->bits = read_u16(image + 14);
        if (width <= 0 || planes != 1 || !known_depth(bitmap->bits))
            return false;
        bitmap->width = static_cast<uint32_t>(width);
        bitmap->colours = used ? used : bitmap->bits <= 8 ? 1u << bitmap->bits : 0;
        bitmap->entry_size = 4;
        bitmap->palette_at = size;
        if (bitmap->bits == 16)
            masks = MASKS_555;
        bool fields = bitmap->bits == 16 || bitmap->bits == 32;
        if (compression == COMPRESSION_BIT_FIELDS && fields) {
            if (room < INFO_HEADER_SIZE + MASKS_SIZE)
                return false;
            masks = bitmap->masks;
            for (uint32_t i = 0; i < 3; ++i)
                bitmap->masks[i] = read_u32(image + INFO_HEADER_SIZE + 4 * i);
            if (bitmap->palette_at < INFO_HEADER_SIZE + MASKS_SIZE)
                bitmap->palette_at = INFO_HEADER_SIZE + MASKS_SIZE;
        } else if (compression != COMPRESSION_NONE) {
            return false;
        }
    }
    for (uint32_t i = 0; i < 3; ++i)
        bitmap->masks[i] = masks[i];
    // The most negative height has no positive counterpart: negated as
    // unsigned it stays far beyond any image.
    uint32_t magnitude = static_cast<uint32_t>(height);
    bitmap->top_down = height < 0;
    if (bitmap->top_down)
        magnitude = 0u - magnitude;
    bitmap->rows = magnitude / 2;
    return side_fits(bitmap->width) && side_fits(bitmap->rows) &&
           bitmap->colours <= MAX_PALETTE;
}

bool read_bitmap_header(const uint8_t* image, uint32_t room, BitmapHeader* bitmap) {
    if (room < CORE_HEADER_SIZE || !read_bitmap_fields(image, room, bitmap))
        return false;
    uint32_t at = bitmap->palette_at, palette_bytes = bitmap->colours * bitmap->entry_size;
    if (at > room || palette_bytes > room - at)
        return false;
    at += palette_bytes;
    bitmap->colour_rows_at = at;
    bitmap->colour_row_bytes = row_bytes(bitmap->width, bitmap->bits);
    uint32_t colour_bytes = bitmap->colour_row_bytes * bitmap->rows;
    if (colour_bytes > room - at)
        return false;
    at += colour_bytes;
    bitmap->mask_row_bytes = row_bytes(bitmap->width, 1);
    bitmap->mask_rows_at = bitmap->mask_row_bytes * bitmap->rows <= room - at ? at : 0;
    return true;
}

}  // namespace

bool read_png_header(const uint8_t* data, PngHeader* header) {
    header->width = big_endian_u32(data);
    header->height = big_endian_u32(data + 4);
    header->depth = data[8];
    header->colour_type = data[9];
    header->interlaced = data[12] == 1;
    if (!side_fits(header->width) || !side_fits(header->height) ||
        !png_depth_fits(header->colour_type, header->depth) || data[10] || data[11] ||
        data[12] > 1)
        return false;
    header->bits = header->depth * CHANNELS[header->colour_type];
    header->raw_bytes = raw_size(header->width, header->height, header->bits, header->interlaced);
    return true;
}

bool read_image_header(const uint8_t* image, uint32_t room, ImageHeader* header) {
    header->png = room >= 4 && read_u32(image) == ID_PNG;
    if (header->png) {
        if (room < PNG_HEADER_END || memcmp(image, PNG_START, sizeof PNG_START) != 0 ||
            !read_png_header(image + sizeof PNG_START, &header->png_header))
            return false;
        header->width = header->png_header.width;
        header->height = header->png_header.height;
        header->depth = PNG_DEPTH;
        return true;
    }
    if (!read_bitmap_header(image, room, &header->bitmap))
        return false;
    header->width = header->bitmap.width;
    header->height = header->bitmap.rows;
    header->depth = header->bitmap.bits;
    return true;
}
