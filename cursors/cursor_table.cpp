#include "cursors/cursor_table.h"

#include "plugin/host_address_map.h"

HCURSOR base_cursors[CURSOR_SLOT_COUNT];
HCURSOR animated_cursors[CURSOR_SLOT_COUNT];

HCURSOR current_cursor() {
    // Both host values are read afresh: the host changes them at any time.
    if (host_state_flags() & host_map::ANIMATED_SET_FLAG)
        return animated_cursors[host_cursor_kind()];
    return base_cursors[host_cursor_kind()];
}

void apply_current_cursor() {
    SetCursor(current_cursor());
}
