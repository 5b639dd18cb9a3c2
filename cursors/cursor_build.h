// Building a planned cursor: its resource made in the module's own pixel
// memory and handed to the system with one CreateIconFromResourceEx at
// exactly the planned size, so that the system neither chooses an image nor
// scales one.
#pragma once

#include <windows.h>

#include "cursors/cursor_plan.h"

// The one place the pixel memory asks the system for its region (VirtualAlloc
// with MEM_RESERVE); a test puts a stand-in here that refuses large sizes, as
// a crowded 32-bit address space does.
typedef LPVOID(WINAPI* ReserveRegionFn)(LPVOID address, SIZE_T bytes, DWORD type, DWORD protect);
extern ReserveRegionFn reserve_region_fn;

// Builds the cursor `plan` describes from `file` (the bytes `table` was
// parsed from); null when an image does not decode or the system refuses
// it. A frame made from another image than planned (its own did not decode)
// moves `plan` with it. The caller owns the handle.
HCURSOR build_cursor(const uint8_t* file, const CursorTable& table, CursorPlan* plan);

// The bytes of pixel memory the module has for a load: ARENA_SIZE, or where
// the address space has no room that large the largest of halving sizes
// down to DEFAULTS_ARENA_SIZE that it has (reserved here if not yet); 0
// when not even that can be reserved.
uint32_t pixel_memory_size();

// Gives the pixel memory's pages back to the system (a full-size region
// stays reserved for the next load, a smaller one is given back too). Called
// when a load ends.
void release_pixel_memory();

// Gives the pixel memory's whole region back to the system: the module is
// being unloaded (a process that loads and frees it again and again would
// otherwise run out of address space).
void free_pixel_memory();
