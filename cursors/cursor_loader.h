// Loading both cursor tables from the cursor folders at one scale.
#pragma once

#include <windows.h>

// The cursor folders and the paths of slot files, relative to the current
// directory.
const char CURSOR_FOLDER[] = ".\\plugin\\Cursors";
const char ANIMATED_CURSOR_FOLDER[] = ".\\plugin\\Cursors\\Animated";
const char BASE_CURSOR_PATTERN[] = ".\\plugin\\Cursors\\cursor%d.ani";
const char ANIMATED_CURSOR_PATTERN[] = ".\\plugin\\Cursors\\Animated\\cursor%d.ani";

// Loads (or reloads) slots 0 to 21 of both tables. `scale` multiplies each
// file's own size; 0 means own size, other values below 1 count as 1. Every
// file is checked before a loader sees it; a file whose images come in
// several sizes counts the system's standard cursor size at 96 DPI as its
// own, whatever the display's DPI, so that the system picks the image made
// for the size asked and Size alone decides how large it is. Missing files are
// first written from the defaults, or loaded from the module's own copy when
// they can't be written or the system would redirect the write. A slot whose
// file fails to load keeps its previous handle, or, having none yet, shows its
// built-in default from the module's own copy. All slots are loaded before any
// is replaced; the replaced handles are destroyed after the tables and the
// shown cursor no longer hold them and no thread that read one can still set
// it (destroy_retired_cursors). Loads never overlap (they share one file
// buffer): a call made while another runs, on any thread, changes nothing and
// returns false; true once the set is loaded. Nor may load_cursor_file or
// load_default_cursor run while it does.
bool load_cursor_set(float scale);

// Width and height of a cursor's image; 1 when both were written, else 0.
int probe_cursor_size(HCURSOR cursor, int* width, int* height);

// The scale load_cursor_set really uses for `scale`.
float effective_scale(float scale);

// One side of the requested size: own × scale truncated toward zero, or 0
// (the file's own size) when that is not a finite value fitting a positive int.
int requested_side(int own, float scale);

// The size a file of `frames` frames whose own size is own_width by
// own_height is asked at: each side by requested_side, or 0 by 0 (its own
// size) when a side comes out 0 or all frames at that size would take more
// than MAX_CURSOR_PIXELS.
void asked_size(int own_width, int own_height, DWORD frames, float scale, int* width, int* height);

// What loading one file found: its own size (0 by 0 when not measured, at
// scale 0) and the size it was asked at (0 by 0: its own).
struct CursorSizes {
    int own_width, own_height;
    int asked_width, asked_height;
};

// Loads `module`'s default cursor `identifier` from its own copy in memory at
// its own size times `scale`, as a slot whose default can't be written
// does; null when there is no such default. The caller owns the handle.
HCURSOR load_default_cursor(HMODULE module, int identifier, float scale);

// Loads one cursor file at its own size times `scale` (as load_cursor_set
// does for each slot); null when the file does not load. The caller owns the
// handle. `sizes` (may be null) receives the sizes involved.
HCURSOR load_cursor_file(const char* path, float scale, CursorSizes* sizes = NULL);
