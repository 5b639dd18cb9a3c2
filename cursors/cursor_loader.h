// Loading both cursor tables from the cursor folders at one scale.
#pragma once

#include <windows.h>

#include "cursors/cursor_plan.h"

// The cursor folders and the paths of slot files, relative to the current
// directory.
const char CURSOR_FOLDER[] = ".\\plugin\\Cursors";
const char ANIMATED_CURSOR_FOLDER[] = ".\\plugin\\Cursors\\Animated";
const char BASE_CURSOR_PATTERN[] = ".\\plugin\\Cursors\\cursor%d.ani";
const char ANIMATED_CURSOR_PATTERN[] = ".\\plugin\\Cursors\\Animated\\cursor%d.ani";

// How every load enlarges pixel art; start-up sets it from the settings
// file before the first load (smooth until then).
extern EdgeStyle cursor_edges;

// Loads (or reloads) slots 0 to 21 of both tables. `scale` multiplies each
// file's own size; 0 means own size, other values below 1 count as 1. Every
// file is read once, parsed into a table and planned from it, and the module
// makes the cursor itself: each frame's chosen image decoded, rendered at the
// size shown and emitted, then built with one CreateIconFromResourceEx at
// exactly that size. A file whose images come in several sizes counts the
// system's standard cursor size at 96 DPI as its own, whatever the display's
// DPI, so that Size alone decides how large it is. No side is built above
// MAX_CURSOR_SIDE, and a file over the pixel limits (its own, or the bytes
// the load has left for players' files: what the system will hold for the
// cursor and the pixel memory making it takes) is built at the largest size
// that fits. The built-in defaults have a share of the load's bytes of their
// own, so a pack that spends the rest leaves its other slots at their
// defaults.
// Missing files are first written from the defaults, or loaded from the
// module's own copy when they can't be written or the system would redirect
// the write. A slot whose file fails to load keeps its previous handle, or,
// having none yet, shows its built-in default from the module's own copy.
// All slots are loaded before any is replaced; the replaced handles are
// destroyed after the tables and the shown cursor no longer hold them and no
// thread that read one can still set it (destroy_retired_cursors). Loads
// never overlap (they share one file buffer and one pixel memory): a call
// made while another runs, on any thread, changes nothing and returns false;
// true once the set is loaded. Nor may load_cursor_file or
// load_default_cursor run while it does.
// A `side` other than 0 asks every cursor at side by side instead of a
// scale of its own size.
bool load_cursor_set(float scale, int side = 0);

// Width and height of a cursor's image; 1 when both were written, else 0.
int probe_cursor_size(HCURSOR cursor, int* width, int* height);

// How far loading one file got.
enum CursorOutcome {
    CURSOR_BUILT,
    CURSOR_NOT_READ,     // missing, empty, a folder, unreadable, over 4 GB
    CURSOR_NOT_PARSED,   // not a cursor, or a damaged one
    CURSOR_NOT_PLANNED,  // no size fits the limits
    CURSOR_NOT_BUILT,    // an image does not decode, or the system refused it
};

// What loading one file found: how far it got, and its plan (sizes, frames,
// steps).
struct CursorLoad {
    CursorOutcome outcome;
    CursorPlan plan;
};

// Loads `module`'s default cursor `identifier` from its own copy in memory at
// its own size times `scale` (or at `side` by side, as load_cursor_set),
// as a slot whose default can't be written does; null when there is no such
// default. The caller owns the handle.
HCURSOR load_default_cursor(HMODULE module, int identifier, float scale, int side = 0);

// Loads one cursor file at its own size times `scale` (as load_cursor_set
// does for each slot, with a whole load's budget to itself); null when the
// file does not load. The caller owns the handle. `load` (may be null)
// receives how far it got and its plan.
HCURSOR load_cursor_file(const char* path, float scale, CursorLoad* load = NULL, int side = 0);

// Plans the file load_cursor_file read last at another `scale` (or at
// `side` by side), from the same parsed table and with a whole load's
// budget, as the game would load it there; false when it did not parse or
// does not fit there.
bool plan_loaded_file(float scale, CursorPlan* plan, int side = 0);
