// A strict reader of the one shape the module emits: a cursor image behind
// its hotspot, or an animated cursor of a header with its size set, one
// icon of one 32-bit image a frame, a sequence and rates. Anything else,
// a byte too many or too few included, is refused. Portable, so that the
// fuzz targets build it natively.
#pragma once

#include <stdint.h>

#include <vector>

struct EmittedCursor {
    uint32_t width, height, frames, steps;
    std::vector<uint16_t> hot_x, hot_y;  // a frame each
    std::vector<uint32_t> frame_of_step, rate_of_step;
};

// Reads `length` bytes as the module's emitted resource (`animated` tells
// which shape); false when they are not exactly that shape.
bool read_emitted_cursor(const uint8_t* bytes, uint32_t length, bool animated,
                         EmittedCursor* cursor);
