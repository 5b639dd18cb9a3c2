// A cursor's pixels, from the image a player's file holds to the bytes the
// system is handed: decoded by the module itself, rendered at the size
// shown, and written out as a resource of the module's own making. Pure byte
// work with fixed-width types, so that it builds the same for the module and
// natively for fuzzing. Nothing of a player's bytes reaches the system but
// pixels, hotspots, steps and rates.
#pragma once

#include <stdint.h>

// Memory the module owns, handed out front to back and given back all at
// once (`used` set back). Sized by the load's budget; a decoder's own
// allocations come from here too.
struct PixelArena {
    uint8_t* base;
    uint32_t size;
    uint32_t used;
};

// `bytes` from the arena, 8-byte aligned; null when they do not fit.
void* arena_take(PixelArena* arena, uint32_t bytes);

// An image as 32-bit pixels, rows top-down: straight (not premultiplied)
// colour as 0xAARRGGBB, and one mask byte a pixel, 1 where the image's AND
// mask is set (the screen shows through, inverted where the colour is not
// black). With `alpha` the alpha bytes say the coverage and the mask is 1
// exactly where alpha is 0; without, every alpha byte is 0 and colour and
// mask are the classic pair.
struct Picture {
    uint32_t width, height;
    uint32_t* colour;
    uint8_t* mask;
    bool alpha;
};

// Decodes one image of an icon-format directory (`length` bytes: a bitmap
// header with its palette, colour rows and AND mask, or a PNG) into
// `picture`, its buffers taken from `arena`. Every bit depth the system
// reads; PNG inflates no ancillary chunk and no more than the image's own
// rows. False (the arena may be spent) when the image is not sound.
bool decode_image(const uint8_t* image, uint32_t length, PixelArena* arena, Picture* picture);

// The most arena bytes decode_image takes for an image of `length` bytes
// whose sides are `width` by `height` (each at most MAX_IMAGE_SIDE): a PNG
// needs room for its chunks, its compressed and inflated rows and its
// decoder's conversions (up to some 40 bytes a pixel at 16 bits, interlaced)
// besides the picture; once decoded, all but the picture's 5 bytes a pixel
// is given back. UINT32_MAX when that is beyond 32 bits.
uint32_t decode_arena_bound(uint32_t length, uint32_t width, uint32_t height);

// How pixel art is enlarged: along its edges (each new pixel a copy of a
// neighbour, so a diagonal stays a line) or as square blocks of its pixels.
// Pictures that are not pixel art are enlarged as square blocks either way.
enum EdgeStyle { EDGES_SMOOTH, EDGES_SQUARE };

// Renders `source` at `width` by `height` into `target` (buffers from
// `arena`). With EDGES_SMOOTH, pixel art (at most 64 px a side and 256
// colours) growing by the same factor both ways is first enlarged along its
// hard edges to the whole factor at or above the size.
// Then whole factors repeat pixels; other enlargements repeat to the next
// whole factor above and average down; reductions average areas, colour
// weighted by alpha; the mask by nearest pixel.
bool render_picture(const Picture& source, uint32_t width, uint32_t height, EdgeStyle edges,
                    PixelArena* arena, Picture* target);

// The most arena bytes render_picture takes for a `source_width` by
// `source_height` picture at `width` by `height`, beside the source's own.
uint64_t render_arena_bytes(uint32_t source_width, uint32_t source_height, uint32_t width,
                            uint32_t height);

// Bytes emit_cursor_image writes for a picture of `width` by `height`; 0
// when a side is 0 or above MAX_IMAGE_SIDE.
uint32_t cursor_image_size(uint32_t width, uint32_t height);

// Writes `picture` as the cursor resource CreateIconFromResourceEx takes:
// the hotspot's two 16-bit words, a 40-byte bitmap header (height doubled),
// 32-bit colour rows bottom-up, then the AND mask's rows. Returns the bytes
// written (cursor_image_size).
uint32_t emit_cursor_image(const Picture& picture, uint16_t hot_x, uint16_t hot_y, uint8_t* out);

// Bytes an animated cursor of `frames` frames of `width` by `height` and
// `steps` steps takes when emitted; 0 when a side is 0 or above 256 (an
// icon entry's largest) or the size is beyond 32 bits.
uint32_t animated_cursor_size(uint32_t frames, uint32_t steps, uint32_t width, uint32_t height);

// Writes an animated cursor front to back: its header (the size set, each
// frame an icon of one 32-bit image), then each frame in turn (each picture
// of the size begun with), then one frame index and one rate a step.
struct AnimatedWriter {
    uint8_t* out;
    uint32_t length;      // bytes written so far
    uint32_t frames, steps, width, height;
    uint32_t frames_written;
};
void begin_animated_cursor(uint8_t* out, uint32_t frames, uint32_t steps, uint32_t width,
                           uint32_t height, AnimatedWriter* writer);
void add_animated_frame(AnimatedWriter* writer, const Picture& picture, uint16_t hot_x,
                        uint16_t hot_y);
// Adds a frame whose picture is that of frame `earlier` (already added),
// behind its own hotspot.
void repeat_animated_frame(AnimatedWriter* writer, uint32_t earlier, uint16_t hot_x,
                           uint16_t hot_y);
// Ends the cursor; returns its length (animated_cursor_size). `frame_of_step`
// and `rate_of_step` hold `steps` values each (rates in sixtieths of a
// second).
uint32_t end_animated_cursor(AnimatedWriter* writer, const uint16_t* frame_of_step,
                             const uint32_t* rate_of_step);
