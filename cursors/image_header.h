// The header of one image of an icon-format directory, read in one place:
// the judgement of a file and the decoder both take its values, so that an
// image one accepts the other decodes. Accepts what the system's own loader
// accepts from a sound file: a 12-byte core header, or an info header (40
// bytes or a later version's larger one) uncompressed or with bit fields (16
// and 32 bits), or a PNG image whose header the decoder reads. Pure byte work with fixed-width types.
#pragma once

#include <stdint.h>

// A PNG image's header chunk (IHDR) as the decoder reads it.
struct PngHeader {
    uint32_t width, height;
    uint8_t depth, colour_type;
    bool interlaced;
    uint32_t bits;       // a pixel's: depth times channels
    uint32_t raw_bytes;  // the exact size of its inflated rows
};

// Reads the 13 data bytes of a PNG's header chunk; false when the decoder
// can't decode such an image (a side of 0 or above MAX_IMAGE_SIDE, a depth
// its colour type does not have, another compression or filter method).
bool read_png_header(const uint8_t* data, PngHeader* header);

// The bitmap's layout, every part inside the image's bytes but the mask,
// which may be missing (every pixel is then drawn).
struct BitmapHeader {
    uint32_t width, rows, bits;
    bool top_down;
    uint32_t masks[3];  // red, green and blue of a 16- or 32-bit pixel
    uint32_t palette_at, colours, entry_size;
    uint32_t colour_rows_at, colour_row_bytes;
    uint32_t mask_rows_at, mask_row_bytes;  // mask_rows_at 0: no mask
};

// What one image is: a PNG or a bitmap, and its size and depth.
struct ImageHeader {
    bool png;
    uint32_t width, height;
    uint32_t depth;  // bits a pixel (32 for a PNG, which always has alpha)
    PngHeader png_header;
    BitmapHeader bitmap;
};

// Reads the header of the image of `room` bytes at `image`; false when it
// is no image the module decodes.
bool read_image_header(const uint8_t* image, uint32_t room, ImageHeader* header);
