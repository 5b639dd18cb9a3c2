// PNG images of icon-format directories, decoded by the module: the chunks
// walked and checked here, the rows inflated and unfiltered by stb's decoder
// (libstb-dev) with its memory in the pixel arena.
#pragma once

#include "cursors/cursor_pixels.h"

// Decodes the PNG image of `length` bytes at `png` as decode_image does:
// straight alpha, the mask 1 where alpha is 0. Of the ancillary chunks only
// tRNS is read (in an image without an alpha channel); the others are
// skipped unread, and the compressed rows are inflated no further than the
// image's own.
bool decode_png(const uint8_t* png, uint32_t length, PixelArena* arena, Picture* picture);

// stb's half: the `length` bytes at `png` (only the critical chunks, every
// one whole) as `width` times `height` pixels of 4 bytes (red, green, blue,
// alpha), in the arena; `raw_bytes` is the exact size of the inflated rows,
// past which inflating is refused. Null when stb refuses the image or the
// arena has no room.
uint8_t* inflate_png(const uint8_t* png, uint32_t length, uint32_t width, uint32_t height,
                     uint32_t raw_bytes, PixelArena* arena);
