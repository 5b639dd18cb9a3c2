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

// How long destroy_retired_cursors waits for readers: far longer than a
// SetCursor takes, short enough that a reader stopped for good (a debugger,
// a thread suspended by the host) never holds up the window.
const DWORD READER_WAIT_MS = 100;

// Handles taken out of the tables and not destroyed yet: room for two full
// loads, so that one load whose wait ran out keeps its handles until the
// next.
const int RETIRED_CAPACITY = 4 * LOADED_SLOT_COUNT;
HCURSOR retired_cursors[RETIRED_CAPACITY];
int retired_count;

// Rounds of the reader wait that only give up the processor before it
// sleeps instead.
const int YIELDING_ROUNDS = 8;

// Lets a reader run. Sleep(0) would only hand the processor to threads of
// equal or higher priority, so a lower-priority reader preempted on this
// processor while counted in would never finish: first SwitchToThread (any
// thread ready on this processor), then Sleep(1) (any thread at all).
void let_readers_run(int round) {
    if (round < YIELDING_ROUNDS)
        SwitchToThread();
    else
        Sleep(1);
}

// Sequentially consistent throughout: the loader's table writes and its
// reading of the reader count are ordered against each reader's counting in
// and its table read, so a reader either is counted when the loader looks or
// reads the new handle.
bool readers_gone() {
    DWORD start = GetTickCount();
    for (int round = 0; __atomic_load_n(&cursor_readers, __ATOMIC_SEQ_CST) != 0; ++round) {
        if (GetTickCount() - start >= READER_WAIT_MS)
            return false;
        let_readers_run(round);
    }
    return true;
}

}  // namespace

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

void retire_cursor(HCURSOR cursor) {
    if (retired_count < RETIRED_CAPACITY)
        retired_cursors[retired_count++] = cursor;
}

int destroy_retired_cursors() {
    if (!readers_gone())
        return 0;
    while (retired_count)
        DestroyCursor(retired_cursors[--retired_count]);
    return 1;
}
