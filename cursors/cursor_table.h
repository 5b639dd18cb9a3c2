// The two cursor tables and the rule that picks the cursor to show.
#pragma once

#include <windows.h>

// One slot per value of the host's 8-bit cursor kind, so any kind indexes
// inside the table. Only slots 0 to 21 are ever filled; the rest stay null.
const int CURSOR_SLOT_COUNT = 256;
const int LOADED_SLOT_COUNT = 22;

// The tables are shared, without a lock, between the one thread that loads
// them and every thread that shows a cursor. What a reader may rely on:
// - a slot is read and written whole, by one aligned 32-bit atomic access
//   (cursor_in_slot, put_cursor_in_slot): it sees the old handle or the new
//   one, never a mix of both;
// - slots change one at a time: during a reload one slot may already hold
//   the new load's handle while the next still holds the old one's;
// - a handle apply_current_cursor read is never destroyed before its
//   SetCursor has returned (retire_cursor).
// Code on the loading thread itself (the loader, the tools, tests) may read
// the arrays directly.
extern HCURSOR base_cursors[CURSOR_SLOT_COUNT];
extern HCURSOR animated_cursors[CURSOR_SLOT_COUNT];

// One slot of a table, read or replaced by one atomic access, ordered with
// every other (so a reader that counted itself in after a replacement reads
// the new handle).
inline HCURSOR cursor_in_slot(const HCURSOR* table, int slot) {
    return __atomic_load_n(&table[slot], __ATOMIC_SEQ_CST);
}
inline void put_cursor_in_slot(HCURSOR* table, int slot, HCURSOR cursor) {
    __atomic_store_n(&table[slot], cursor, __ATOMIC_SEQ_CST);
}

// The handle for the host's current cursor kind, from the animated table when
// bit 0x40 of the host's state flags is set. May be null.
HCURSOR current_cursor();

// SetCursor(current_cursor()); a null handle hides the cursor. Safe on any
// thread while another reloads the tables.
void apply_current_cursor();

// Lists a handle the tables no longer hold, to be destroyed by
// destroy_retired_cursors. Called by the loading thread only.
void retire_cursor(HCURSOR cursor);

// Destroys the retired handles once no thread is left in
// apply_current_cursor that may have read one before it was replaced. It
// waits a tenth of a second at most: when a reader is still in after that,
// the handles stay alive, listed, and a later call that finds no reader
// destroys them (the list keeps two loads' worth; handles retired beyond
// that while a reader stays in are never destroyed). Returns 1 when it
// destroyed them, 0 when it kept them. Called by the loading thread only.
int destroy_retired_cursors();
