// The resource the system is handed for a planned cursor, made by the
// module from the pixels of the images the plan chose: each decoded,
// rendered at the size shown and emitted. Pure byte work, so that it builds
// the same for the module and natively for fuzzing.
#pragma once

#include "cursors/cursor_pixels.h"
#include "cursors/cursor_plan.h"

// The pixel memory the module reserves where the address space has room:
// what making any cursor takes at most (CursorPlan::arena_bytes): its
// emitted bytes (at most 8 bytes a pixel of MAX_CURSOR_PIXELS, a mask row
// padded to 4 bytes, and the headers), and decoding its largest image (a PNG
// of 1,024 by 1,024 takes some 48 MB with its decoder's conversions, and 3
// bytes a byte of its data). A plan that needs more than the module could
// reserve is not made.
const uint32_t ARENA_SIZE = 96u << 20;
// What making any of the built-in defaults takes at most, at the largest
// side they are shown at: the least pixel memory the module works with, so
// that the defaults show in any address space that has this much room.
const uint32_t DEFAULTS_ARENA_SIZE = 8u << 20;

// The bytes one load may spend: what the system holds for the cursors it
// builds, and the pixel memory it commits to make them. A reload spends them
// while the old set (one load's at most) is still alive: the two together
// stay below 180 MB, and the process below 200 MB with what a small host
// process holds under Wine.
const uint32_t LOAD_BYTES = 88u << 20;
// Of that, the defaults' share: the 23 defaults at the largest side, and the
// pixel memory making them takes.
const uint32_t DEFAULT_BYTES =
    DEFAULT_CURSORS * SYSTEM_BYTES_A_CURSOR +
    DEFAULT_FRAMES * (SYSTEM_BYTES_A_PIXEL * MAX_CURSOR_SIDE * MAX_CURSOR_SIDE +
                      MAX_CURSOR_SIDE / 8 * MAX_CURSOR_SIDE + SYSTEM_BYTES_A_FRAME) +
    DEFAULTS_ARENA_SIZE;

// Makes the resource `plan` describes from `file` (the bytes `table` was
// parsed from) in `arena`, which it empties first: a single cursor image
// behind its hotspot, or an animated cursor. A frame whose chosen image does
// not decode is made from the next sound image of that frame in the plan's
// order (fall_back_frame moves the plan with it). Sets `resource` and returns
// its length (plan.bytes); 0 when a frame has no image that decodes or the
// arena is smaller than plan.arena_bytes.
uint32_t make_cursor_resource(const uint8_t* file, const CursorTable& table, CursorPlan* plan,
                              PixelArena* arena, uint8_t** resource);
