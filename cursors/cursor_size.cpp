// The size a judged cursor is built at: the size asked, within the side
// and pixel limits.
#include "cursors/cursor_layout.h"

namespace {

uint32_t longer(uint32_t a, uint32_t b) { return a > b ? a : b; }

// Sides beyond this keep their shape to a part in a few million when
// halved together, so that a side times a target of at most
// MAX_CURSOR_SIDE stays inside 32 bits.
const uint32_t EXACT_SIDE = 1u << 23;

// `side` of a cursor whose longer side `longest` becomes `target` (at most
// MAX_CURSOR_SIDE), at least 1.
uint32_t shrunk(uint32_t side, uint32_t longest, uint32_t target) {
    while (longest > EXACT_SIDE) {
        longest >>= 1;
        side >>= 1;
    }
    uint32_t result = side * target / longest;
    return result ? result : 1;
}

bool fits(const uint8_t* bytes, const CursorLayout& layout, uint32_t width, uint32_t height,
          uint32_t budget) {
    return cursor_cost(bytes, layout, width, height, budget).pixels <= budget;
}

}  // namespace

bool fit_cursor_size(const uint8_t* bytes, const CursorLayout& layout, uint32_t budget,
                     uint32_t* width, uint32_t* height, bool* reduced) {
    *reduced = false;
    if (budget > MAX_CURSOR_PIXELS)
        budget = MAX_CURSOR_PIXELS;
    if (!*width || !*height) {
        // Frames with no size set are each built at their own, as they are
        // when that fits.
        if (layout.animated && !layout.header_size) {
            CursorCost own = cursor_cost(bytes, layout, 0, 0, budget);
            if (own.pixels <= budget && own.largest_side <= MAX_CURSOR_SIDE) {
                *width = *height = 0;
                return true;
            }
        }
        *width = layout.own_width;
        *height = layout.own_height;
    }
    uint32_t longest = longer(*width, *height);
    if (!*width || !*height)
        return false;
    uint32_t target = longest > MAX_CURSOR_SIDE ? MAX_CURSOR_SIDE : longest;
    if (target < longest || !fits(bytes, layout, *width, *height, budget)) {
        // The largest side from 1 to the target at which it fits; building
        // costs more the larger it is asked.
        uint32_t low = 1, high = target;
        if (!fits(bytes, layout, shrunk(*width, longest, low), shrunk(*height, longest, low), budget))
            return false;
        while (low < high) {
            uint32_t middle = low + (high - low + 1) / 2;
            if (fits(bytes, layout, shrunk(*width, longest, middle), shrunk(*height, longest, middle),
                     budget))
                low = middle;
            else
                high = middle - 1;
        }
        *width = shrunk(*width, longest, low);
        *height = shrunk(*height, longest, low);
        *reduced = true;
    }
    return true;
}
