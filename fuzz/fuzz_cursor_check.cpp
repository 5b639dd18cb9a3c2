// libFuzzer target: any bytes through the module's judgement, from a heap
// buffer of exactly their size so that the sanitizer sees a read past the
// file. A file the judgement accepts must be judged the same again, give a
// layout inside the file, and fit the limits at every size the loader may
// ask, else abort().
#include <stdlib.h>
#include <string.h>

#include "cursors/cursor_layout.h"
#include "fuzz/fuzz_support.h"

namespace {

// Sizes the loader may ask: its own (0), the smallest, the usual, and far
// past the side limit.
const uint32_t ASKED_SIDES[] = {0, 1, 32, 1024};

bool same_layout(const CursorLayout& a, const CursorLayout& b) {
    return a.animated == b.animated && a.size == b.size && a.frames == b.frames &&
           a.header == b.header && a.first_frame == b.first_frame &&
           a.several_sizes == b.several_sizes && a.header_size == b.header_size &&
           a.own_width == b.own_width && a.own_height == b.own_height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t length = static_cast<uint32_t>(size);
    Buffer judged(length);
    if (length)
        memcpy(judged.bytes, data, length);
    CursorLayout layout;
    if (!judge_cursor_file(judged.bytes, length, &layout))
        return 0;
    require(layout.frames >= 1 && layout.frames <= MAX_FRAMES);
    require(layout.animated || layout.frames == 1);
    require(layout.size <= length && layout.own_width > 0 && layout.own_height > 0);

    // The judged copy is judged the same again, and left as it was.
    Buffer again(length);
    memcpy(again.bytes, judged.bytes, length);
    CursorLayout second;
    require(judge_cursor_file(again.bytes, length, &second));
    require(same_layout(layout, second) && memcmp(again.bytes, judged.bytes, length) == 0);

    for (uint32_t side : ASKED_SIDES) {
        uint32_t width = side, height = side;
        bool reduced;
        require(fit_cursor_size(judged.bytes, layout, MAX_CURSOR_PIXELS, &width, &height, &reduced));
        CursorCost cost = cursor_cost(judged.bytes, layout, width, height, MAX_CURSOR_PIXELS);
        require(cost.pixels <= MAX_CURSOR_PIXELS && cost.largest_side <= MAX_CURSOR_SIDE);
        require(width <= MAX_CURSOR_SIDE && height <= MAX_CURSOR_SIDE);
    }
    return 0;
}
