#include "cursors/cursor_table.h"

#include "base/host_address_map.h"

HCURSOR base_cursors[CURSOR_SLOT_COUNT];
HCURSOR animated_cursors[CURSOR_SLOT_COUNT];

namespace {

// Threads between reading a table and handing the handle to SetCursor. No
// lock: a reader only counts itself in and out, so the cursor path stays a
// table read and a SetCursor.
volatile LONG cursor_readers;

// How long a reload waits for readers before it destroys replaced handles:
// far longer than a SetCursor takes, short enough that a reader stopped for
// good (a debugger) never holds up the window.
const DWORD READER_WAIT_MS = 100;

}  // namespace

HCURSOR current_cursor() {
    // Both host values are read afresh: the host changes them at any time.
    if (host_state_flags() & host_map::ANIMATED_SET_FLAG)
        return animated_cursors[host_cursor_kind()];
    return base_cursors[host_cursor_kind()];
}

void apply_current_cursor() {
    __atomic_add_fetch(&cursor_readers, 1, __ATOMIC_SEQ_CST);
    SetCursor(current_cursor());
    __atomic_sub_fetch(&cursor_readers, 1, __ATOMIC_SEQ_CST);
}

void wait_for_cursor_readers() {
    DWORD start = GetTickCount();
    while (__atomic_load_n(&cursor_readers, __ATOMIC_SEQ_CST) != 0 &&
           GetTickCount() - start < READER_WAIT_MS)
        Sleep(0);
}
