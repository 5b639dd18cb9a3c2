// The image an icon-format directory entry points at, decoded by the module
// itself: a bitmap here (every depth the system reads), a PNG through
// png_decode.cpp. Every field is read only once it is known to lie inside the
// image's bytes; sides are at most MAX_IMAGE_SIDE, so no size below leaves
// 32 bits.
//
// A bitmap image: its header (read by image_header.cpp, as the judgement of
// a file reads it), the palette, the colour rows (the bottom row first
// unless top-down) and the AND mask's rows (1 where the screen shows
// through). An image without room for its mask has none (every pixel drawn).
#include "cursors/cursor_format.h"
#include "cursors/cursor_parse.h"
#include "cursors/cursor_pixels.h"
#include "cursors/image_header.h"
#include "cursors/png_decode.h"

namespace {

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
    uint32_t colour_stride, mask_stride;
};

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

// Where the palette, colour rows and mask rows lie, as the image's header
// says; false when it is no bitmap the module decodes.
bool read_bitmap(const uint8_t* image, uint32_t length, Bitmap* bitmap) {
    ImageHeader header;
    if (!read_image_header(image, length, &header) || header.png)
        return false;
    const BitmapHeader& layout = header.bitmap;
    bitmap->width = layout.width;
    bitmap->rows = layout.rows;
    bitmap->bits = layout.bits;
    bitmap->top_down = layout.top_down;
    for (uint32_t i = 0; i < 3; ++i)
        bitmap->fields[i] = field_of(layout.masks[i]);
    bitmap->palette = image + layout.palette_at;
    bitmap->colours = layout.colours;
    bitmap->entry_size = layout.entry_size;
    bitmap->colour_rows = image + layout.colour_rows_at;
    bitmap->mask_rows = layout.mask_rows_at ? image + layout.mask_rows_at : 0;
    bitmap->colour_stride = layout.colour_row_bytes;
    bitmap->mask_stride = layout.mask_row_bytes;
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
    uint32_t colour_stride = bitmap.colour_stride, mask_stride = bitmap.mask_stride;
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
