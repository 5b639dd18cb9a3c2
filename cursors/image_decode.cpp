// The image an icon-format directory entry points at, decoded by the module
// itself: a bitmap here (every depth the system reads), a PNG through
// png_decode.cpp. Every field is read only once it is known to lie inside the
// image's bytes; sides are at most MAX_IMAGE_SIDE, so no size below leaves
// 32 bits.
//
// A bitmap image, little-endian:
//   offset  bytes  field
//   0       4      header size: 12 (core header), else 40 or more (info header)
//   core header:
//   4       2      width            6   2  height (colour rows plus mask rows)
//   8       2      planes           10  2  bits a pixel: 1, 4 or 8
//   info header (40 bytes; the larger versions add fields after these):
//   4       4      width, signed, above 0
//   8       4      height, signed: colour rows plus mask rows, negative when
//                  the rows run top-down
//   12      2      planes (1)       14  2  bits a pixel: 1, 4, 8, 16, 24, 32
//   16      4      compression: 0 none, 3 bit fields (16 and 32 bits only)
//   20      12     image bytes, resolution (not used)
//   32      4      colours used (0: 1 << bits for 8 bits and fewer)
//   36      4      important colours (not used)
//   40      12     with bit fields: the red, green and blue masks (inside a
//                  larger header, else right after the 40 bytes)
// then the palette (4 bytes an entry: blue, green, red, 0; 3 bytes in a core
// header's), the colour rows (each padded to 4 bytes, the bottom row first
// unless top-down) and the AND mask's rows (1 bit a pixel, 1 where the screen
// shows through, padded to 4 bytes, in the colour rows' order). An image
// without room for its mask has none (every pixel drawn).
#include "cursors/cursor_format.h"
#include "cursors/cursor_parse.h"
#include "cursors/cursor_pixels.h"
#include "cursors/png_decode.h"

namespace {

const uint32_t CORE_HEADER_SIZE = 12;
const uint32_t INFO_HEADER_SIZE = 40;
const uint32_t MASKS_OFFSET = 40;
const uint32_t MASKS_END = MASKS_OFFSET + 3 * 4;
const uint32_t COMPRESSION_NONE = 0;
const uint32_t COMPRESSION_BIT_FIELDS = 3;
const uint32_t MAX_PALETTE = 256;
const uint32_t PNG_SIGNATURE_SIZE = 8;
// What a PNG's decode may hold at once: the chunks copied and the compressed
// rows gathered (twice the image's bytes when the gathering buffer has just
// doubled), then per pixel the inflated rows (8 bytes at 16 bits RGBA,
// doubled when interlaced rows outgrow the decoder's first guess), each
// pass's rows, the whole image, its conversions to 8-bit RGBA, and the
// picture; and the small blocks of alignment and padding.
const uint32_t PNG_BYTES_A_FILE_BYTE = 3;
const uint32_t PNG_BYTES_A_PIXEL = 48;
const uint32_t PNG_SMALL_BLOCKS = 64u << 10;
// 16 bits without bit fields are 5 bits a channel; 32 bits, 8.
const uint32_t MASKS_555[3] = {0x7c00, 0x03e0, 0x001f};
const uint32_t MASKS_888[3] = {0xff0000, 0x00ff00, 0x0000ff};

// One channel of a bit-fields pixel.
struct Field {
    uint32_t shift, bits;
};

struct Bitmap {
    uint32_t width, rows, bits;
    bool top_down;
    Field fields[3];                 // red, green, blue (16 and 32 bits)
    const uint8_t* palette;
    uint32_t colours, entry_size;
    const uint8_t* colour_rows;
    const uint8_t* mask_rows;        // null when the image has no mask
};

uint32_t row_bytes(uint32_t width, uint32_t bits) { return (width * bits + 31) / 32 * 4; }

Field field_of(uint32_t mask) {
    Field field = {0, 0};
    if (!mask)
        return field;
    while (!(mask & 1)) {
        mask >>= 1;
        ++field.shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++field.bits;
    }
    return field;
}

// A channel as the system widens it to 8 bits: its top 8 bits (at most),
// moved to the byte's top and their top bits repeated below.
uint32_t channel(uint32_t pixel, Field field) {
    uint32_t bits = field.bits < 8 ? field.bits : 8;
    if (!bits)
        return 0;
    uint32_t value = (pixel >> (field.shift + field.bits - bits)) & ((1u << bits) - 1);
    value <<= 8 - bits;
    return (value | (value >> bits)) & 0xff;
}

uint32_t rgb(uint32_t red, uint32_t green, uint32_t blue) { return red << 16 | green << 8 | blue; }

// A palette's colour; an index past the palette reads as black, as the
// system reads it.
uint32_t palette_colour(const Bitmap& bitmap, uint32_t index) {
    if (index >= bitmap.colours)
        return 0;
    const uint8_t* entry = bitmap.palette + index * bitmap.entry_size;
    return rgb(entry[2], entry[1], entry[0]);
}

uint32_t fields_colour(const Bitmap& bitmap, uint32_t pixel) {
    return rgb(channel(pixel, bitmap.fields[0]), channel(pixel, bitmap.fields[1]),
               channel(pixel, bitmap.fields[2]));
}

// One colour row into `out`: 0xAARRGGBB, alpha from a 32-bit pixel's top
// byte (as the system takes it), else 0.
void decode_row(const Bitmap& bitmap, const uint8_t* row, uint32_t* out) {
    uint32_t width = bitmap.width;
    switch (bitmap.bits) {
    case 1:
    case 4:
    case 8: {
        uint32_t per_byte = 8 / bitmap.bits, low = (1u << bitmap.bits) - 1;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t shift = 8 - bitmap.bits * (x % per_byte + 1);
            out[x] = palette_colour(bitmap, (row[x / per_byte] >> shift) & low);
        }
        break;
    }
    case 16:
        for (uint32_t x = 0; x < width; ++x)
            out[x] = fields_colour(bitmap, read_u16(row + 2 * x));
        break;
    case 24:
        for (uint32_t x = 0; x < width; ++x)
            out[x] = rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        break;
    default:
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t pixel = read_u32(row + 4 * x);
            out[x] = (pixel & 0xff000000u) | fields_colour(bitmap, pixel);
        }
        break;
    }
}

bool depth_is_known(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The header's fields, and where the palette starts (`palette_at`); false
// when the image is not one the system reads.
bool read_header(const uint8_t* image, uint32_t length, Bitmap* bitmap, uint32_t* palette_at) {
    uint32_t header = read_u32(image);
    const uint32_t* masks = MASKS_888;
    uint32_t read_masks[3];
    int32_t height;
    if (header == CORE_HEADER_SIZE) {
        bitmap->width = read_u16(image + 4);
        height = read_u16(image + 6);
        bitmap->bits = read_u16(image + 10);
        if (bitmap->bits > 8)
            return false;
        bitmap->colours = 1u << bitmap->bits;
        bitmap->entry_size = 3;
        *palette_at = CORE_HEADER_SIZE;
    } else {
        if (header < INFO_HEADER_SIZE || header > length)
            return false;
        int32_t width = static_cast<int32_t>(read_u32(image + 4));
        height = static_cast<int32_t>(read_u32(image + 8));
        uint32_t planes = read_u16(image + 12), compression = read_u32(image + 16);
        uint32_t used = read_u32(image + 32);
        bitmap->bits = read_u16(image + 14);
        if (width <= 0 || planes != 1)
            return false;
        bitmap->width = static_cast<uint32_t>(width);
        bitmap->colours = used ? used : bitmap->bits <= 8 ? 1u << bitmap->bits : 0;
        bitmap->entry_size = 4;
        *palette_at = header;
        if (bitmap->bits == 16)
            masks = MASKS_555;
        if (compression == COMPRESSION_BIT_FIELDS && (bitmap->bits == 16 || bitmap->bits == 32)) {
            // The masks follow a 40-byte header, or lie inside a larger one.
            if (length < MASKS_END)
                return false;
            masks = read_masks;
            for (uint32_t i = 0; i < 3; ++i)
                read_masks[i] = read_u32(image + MASKS_OFFSET + 4 * i);
            if (*palette_at < MASKS_END)
                *palette_at = MASKS_END;
        } else if (compression != COMPRESSION_NONE) {
            return false;
        }
    }
    for (uint32_t i = 0; i < 3; ++i)
        bitmap->fields[i] = field_of(masks[i]);
    // The most negative height has no positive counterpart: negated as
    // unsigned it stays far beyond any image.
    uint32_t magnitude = static_cast<uint32_t>(height);
    bitmap->top_down = height < 0;
    if (bitmap->top_down)
        magnitude = 0u - magnitude;
    bitmap->rows = magnitude / 2;
    return depth_is_known(bitmap->bits) && bitmap->colours <= MAX_PALETTE && bitmap->width &&
           bitmap->width <= MAX_IMAGE_SIDE && bitmap->rows && bitmap->rows <= MAX_IMAGE_SIDE;
}

// Where the palette, colour rows and mask rows lie, all inside `length`.
bool read_bitmap(const uint8_t* image, uint32_t length, Bitmap* bitmap) {
    uint32_t at;
    if (length < CORE_HEADER_SIZE || !read_header(image, length, bitmap, &at))
        return false;
    uint32_t palette_bytes = bitmap->colours * bitmap->entry_size;
    if (at > length || palette_bytes > length - at)
        return false;
    bitmap->palette = image + at;
    at += palette_bytes;
    uint32_t colour_bytes = row_bytes(bitmap->width, bitmap->bits) * bitmap->rows;
    if (colour_bytes > length - at)
        return false;
    bitmap->colour_rows = image + at;
    at += colour_bytes;
    uint32_t mask_bytes = row_bytes(bitmap->width, 1) * bitmap->rows;
    bitmap->mask_rows = mask_bytes <= length - at ? image + at : 0;
    return true;
}

bool decode_bitmap(const uint8_t* image, uint32_t length, PixelArena* arena, Picture* picture) {
    Bitmap bitmap;
    if (!read_bitmap(image, length, &bitmap))
        return false;
    uint32_t width = bitmap.width, pixels = width * bitmap.rows;
    picture->width = width;
    picture->height = bitmap.rows;
    picture->colour = static_cast<uint32_t*>(arena_take(arena, pixels * 4));
    picture->mask = static_cast<uint8_t*>(arena_take(arena, pixels));
    if (!picture->colour || !picture->mask)
        return false;
    uint32_t colour_stride = row_bytes(width, bitmap.bits), mask_stride = row_bytes(width, 1);
    bool any_alpha = false;
    for (uint32_t y = 0; y < bitmap.rows; ++y) {
        uint32_t row = bitmap.top_down ? y : bitmap.rows - 1 - y;
        uint32_t* colour = picture->colour + y * width;
        decode_row(bitmap, bitmap.colour_rows + row * colour_stride, colour);
        uint8_t* mask = picture->mask + y * width;
        const uint8_t* bits = bitmap.mask_rows ? bitmap.mask_rows + row * mask_stride : 0;
        for (uint32_t x = 0; x < width; ++x) {
            mask[x] = bits ? (bits[x / 8] >> (7 - x % 8)) & 1 : 0;
            any_alpha = any_alpha || (colour[x] >> 24);
        }
    }
    // A 32-bit image with any alpha is drawn by its alpha alone.
    picture->alpha = any_alpha;
    if (any_alpha)
        for (uint32_t i = 0; i < pixels; ++i)
            picture->mask[i] = !(picture->colour[i] >> 24);
    return true;
}

}  // namespace

uint32_t decode_arena_bound(uint32_t length, uint32_t width, uint32_t height) {
    uint64_t bytes = PNG_BYTES_A_FILE_BYTE * static_cast<uint64_t>(length) +
                     PNG_BYTES_A_PIXEL * static_cast<uint64_t>(width) * height + PNG_SMALL_BLOCKS;
    return bytes <= UINT32_MAX ? static_cast<uint32_t>(bytes) : UINT32_MAX;
}

bool decode_image(const uint8_t* image, uint32_t length, PixelArena* arena, Picture* picture) {
    if (length >= PNG_SIGNATURE_SIZE && read_u32(image) == ID_PNG)
        return decode_png(image, length, arena, picture);
    return decode_bitmap(image, length, arena, picture);
}
