#include "tools/cursor_check/size_limit.h"

#include <windows.h>

#include <math.h>

#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_plan.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"

namespace {

const int ANIMATED_DEFAULT_SLOT = 5;
const double TENTHS = 10.0;

int longest_side_of(int identifier) {
    HCURSOR cursor = load_default_cursor(module_handle, identifier, 0.0f);
    if (!cursor)
        return 0;
    int width = 0, height = 0;
    probe_cursor_size(cursor, &width, &height);
    DestroyCursor(cursor);
    return width > height ? width : height;
}

}  // namespace

int largest_default_side() {
    // The defaults are the program's own resources: read once.
    static int largest = 0;
    if (largest)
        return largest;
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        int side = longest_side_of(BASE_DEFAULT_FIRST_ID + slot);
        if (side > largest)
            largest = side;
    }
    int animated = longest_side_of(ANIMATED_DEFAULT_FIRST_ID + ANIMATED_DEFAULT_SLOT);
    if (animated > largest)
        largest = animated;
    return largest;
}

float largest_useful_size() {
    int side = largest_default_side();
    if (side <= 0)
        side = 1;
    return static_cast<float>(floor(static_cast<double>(MAX_CURSOR_SIDE) / side * TENTHS) / TENTHS);
}
