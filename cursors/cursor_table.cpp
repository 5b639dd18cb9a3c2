#include "cursors/cursor_table.h"

#include "base/host_address_map.h"

HCURSOR base_cursors[CURSOR_SLOT_COUNT];
HCURSOR animated_cursors[CURSOR_SLOT_COUNT];

// A slot is one aligned pointer: its atomic accesses are single instructions
// and never a call into a runtime library the module does not import.
static_assert(__atomic_always_lock_free(sizeof(HCURSOR), 0), "a slot is read in one access");

namespace {

// Threads between reading a table and handing the handle to SetCursor. No
// lock: a reader only counts itself in and out, so the cursor path stays a
// table read and a SetCursor.
LONG cursor_readers;

// How long retire_cursors waits for readers: far longer than a SetCursor
// takes, short enough that a reader stopped for good (a debugger, a thread
// suspended by the host) never holds up the window.
const DWORD READER_WAIT_MS = 100;

// Handles a call of retire_cursors could not destroy because a reader was
// still in; the next call that finds none destroys them.
HCURSOR kept_cursors[RETIRED_CURSOR_LIMIT];
int kept_count;

// Sequentially consistent throughout: the loader's table writes and its
// reading of the reader count are ordered against each reader's counting in
// and its table read, so a reader either is counted when the loader looks or
// reads the new handle.
bool readers_gone() {
    DWORD start = GetTickCount();
    while (__atomic_load_n(&cursor_readers, __ATOMIC_SEQ_CST) != 0) {
        if (GetTickCount() - start >= READER_WAIT_MS)
            return false;
        Sleep(0);
    }
    return true;
}

void destroy_cursors(const HCURSOR* cursors, int count) {
    for (int i = 0; i < count; ++i)
        DestroyCursor(cursors[i]);
}

}  // namespace

HCURSOR cursor_in_slot(const HCURSOR* table, int slot) {
    return __atomic_load_n(&table[slot], __ATOMIC_SEQ_CST);
}

void put_cursor_in_slot(HCURSOR* table, int slot, HCURSOR cursor) {
    __atomic_store_n(&table[slot], cursor, __ATOMIC_SEQ_CST);
}

HCURSOR current_cursor() {
    // Both host values are read afresh: the host changes them at any time.
    if (host_state_flags() & host_map::ANIMATED_SET_FLAG)
        return cursor_in_slot(animated_cursors, host_cursor_kind());
    return cursor_in_slot(base_cursors, host_cursor_kind());
}

void apply_current_cursor() {
    __atomic_add_fetch(&cursor_readers, 1, __ATOMIC_SEQ_CST);
    SetCursor(current_cursor());
    __atomic_sub_fetch(&cursor_readers, 1, __ATOMIC_SEQ_CST);
}

int retire_cursors(const HCURSOR* cursors, int count) {
    if (!readers_gone()) {
        if (kept_count == 0) {
            for (int i = 0; i < count; ++i)
                kept_cursors[i] = cursors[i];
            kept_count = count;
        }
        return 0;
    }
    destroy_cursors(kept_cursors, kept_count);
    kept_count = 0;
    destroy_cursors(cursors, count);
    return 1;
}
