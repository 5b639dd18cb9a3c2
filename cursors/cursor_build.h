// Building a planned cursor: its resource made in the module's own pixel
// memory and handed to the system with one CreateIconFromResourceEx at
// exactly the planned size, so that the system neither chooses an image nor
// scales one.
#pragma once

#include <windows.h>

#include "cursors/cursor_plan.h"

// Builds the cursor `plan` describes from `file` (the bytes `table` was
// parsed from); null when an image does not decode or the system refuses
// it. A frame made from another image than planned (its own did not decode)
// moves `plan` with it. The caller owns the handle.
HCURSOR build_cursor(const uint8_t* file, const CursorTable& table, CursorPlan* plan);

// Gives the pixel memory's pages back to the system (the region stays
// reserved for the next load). Called when a load ends.
void release_pixel_memory();

// Gives the pixel memory's whole region back to the system: the module is
// being unloaded (a process that loads and frees it again and again would
// otherwise run out of address space).
void free_pixel_memory();
