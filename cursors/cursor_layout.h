// The module's judgement of a player's cursor file, made once on its
// private copy before any system loader sees it, and what building that copy
// costs. Players drop any file into the cursor folders, and the system's
// loaders (Wine's among them) trust what a file declares: read past the file
// or an image when lengths lie, decode images at sizes the file merely
// claims, and leak the frames no step shows. The judgement prepares an
// animated cursor's copy (its lengths made to agree with the file), walks
// every read a loader makes of it, and refuses a file that would take one
// outside the copy or cost handles on every reload. Where a length disagrees
// with the file but every read stays inside it, the file is accepted as a
// tolerant reader takes it. Pure byte work, linear in the file's size.
#pragma once

#include "cursors/cursor_format.h"

// The most frames and steps one animated cursor may have.
const uint32_t MAX_FRAMES = 1024;
// The largest side the module builds any cursor at: the largest pointer
// Windows draws.
const uint32_t MAX_CURSOR_SIDE = 256;
// The most pixels building one cursor may take, all its frames together,
// each frame counting the image the system decodes and the bitmap it builds:
// 64 frames at the largest side, or a thousand small ones. Some 16 MB as the
// system keeps them.
const uint32_t MAX_CURSOR_PIXELS = 4u << 20;

// What the judgement learnt of a sound file.
struct CursorLayout {
    bool animated;
    uint32_t size;            // the bytes the system is given, from the copy's start
    uint32_t frames;          // 1 for a single-image file
    uint32_t header;          // an animated cursor's header fields (offset)
    uint32_t first_frame;     // its first frame chunk's header (offset)
    // The images (an animated cursor's first frame's) come in more than one
    // size; such a file has no size of its own choosing.
    bool several_sizes;
    // Its own size: an animated cursor's header size when it sets one, else
    // its first image's as the system builds it when asked for none.
    bool header_size;
    uint32_t own_width, own_height;
};

// The module's judgement of the private copy `bytes` of a player's file:
// an animated cursor's copy is prepared first (its lengths made to agree
// with the file), then every read a loader makes is walked. True when it
// may be built at some size within MAX_CURSOR_PIXELS; `layout` is then
// filled.
bool judge_cursor_file(uint8_t* bytes, uint32_t size, CursorLayout* layout);

// What building a judged copy at `width` by `height` (0 by 0: each frame at
// its own size) costs: the pixels of MAX_CURSOR_PIXELS it takes (counting
// stops just past `budget`), and the largest side it builds.
struct CursorCost {
    uint32_t pixels;
    uint32_t largest_side;
};
CursorCost cursor_cost(const uint8_t* bytes, const CursorLayout& layout, uint32_t width,
                       uint32_t height, uint32_t budget);

// Rewrites a judged copy so that the system builds the module's choice at
// `width` by `height` (0 by 0: each frame at its own size): in every frame
// (or the file) the image closest to that size, then the deepest, is the
// only one the system sees; an animated cursor's header says the size. What
// to hand the builder: `length` bytes from `offset` (an animated cursor's
// whole copy, or a single image behind its hotspot); length 0 when nothing
// can be built.
struct CursorResource {
    uint32_t offset, length;
};
CursorResource prepare_cursor_resource(uint8_t* bytes, const CursorLayout& layout, uint32_t width,
                                       uint32_t height);

// The size a judged copy is built at when `width` by `height` is asked (0
// by 0: its own): no side above MAX_CURSOR_SIDE (the shape kept), and, when
// building takes more than `budget` pixels (at most MAX_CURSOR_PIXELS), the
// largest size that fits. `reduced` tells whether the size is smaller than
// asked. False when no size fits.
bool fit_cursor_size(const uint8_t* bytes, const CursorLayout& layout, uint32_t budget,
                     uint32_t* width, uint32_t* height, bool* reduced);
