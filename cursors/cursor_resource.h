// The resource the system is handed for a planned cursor, made by the
// module from the pixels of the images the plan chose: each decoded,
// rendered at the size shown and emitted. Pure byte work, so that it builds
// the same for the module and natively for fuzzing.
#pragma once

#include "cursors/cursor_pixels.h"
#include "cursors/cursor_plan.h"

// Memory one cursor's resource and pixel work take at most: its emitted
// bytes (4 colour bytes a pixel, and a mask row padded to 4 bytes, so at
// most 8 bytes a pixel of MAX_CURSOR_PIXELS, and the headers) and the
// decoding and rendering of its largest image (the decoder's own
// allocations included).
const uint32_t RESOURCE_ROOM = 8 * MAX_CURSOR_PIXELS + 128 * MAX_FRAMES;
const uint32_t PICTURE_ROOM = 32u << 20;
const uint32_t ARENA_SIZE = RESOURCE_ROOM + PICTURE_ROOM;

// Makes the resource `plan` describes from `file` (the bytes `table` was
// parsed from) in `arena`, which it empties first: a single cursor image
// behind its hotspot, or an animated cursor. Sets `resource` and returns its
// length (plan.bytes); 0 when an image does not decode or the arena is too
// small.
uint32_t make_cursor_resource(const uint8_t* file, const CursorTable& table, const CursorPlan& plan,
                              PixelArena* arena, uint8_t** resource);
