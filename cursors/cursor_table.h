// The two cursor tables and the rule that picks the cursor to show.
#pragma once

#include <windows.h>

// One slot per value of the host's 8-bit cursor kind, so any kind indexes
// inside the table. Only slots 0 to 21 are ever filled; the rest stay null.
const int CURSOR_SLOT_COUNT = 256;
const int LOADED_SLOT_COUNT = 22;

extern HCURSOR base_cursors[CURSOR_SLOT_COUNT];
extern HCURSOR animated_cursors[CURSOR_SLOT_COUNT];

// The handle for the host's current cursor kind, from the animated table when
// bit 0x40 of the host's state flags is set. May be null.
HCURSOR current_cursor();

// SetCursor(current_cursor()); a null handle hides the cursor. Safe on any
// thread while another reloads the tables.
void apply_current_cursor();

// Waits until no thread is between reading a table and setting what it read
// (at most a tenth of a second): after the tables are replaced, no handle
// read before is still on its way to SetCursor once this returns.
void wait_for_cursor_readers();
