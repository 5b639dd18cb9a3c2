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
// file is read once and judged before it is built from memory; a file whose
// images come in several sizes counts the system's standard cursor size at 96
// DPI as its own, whatever the display's DPI, and is built from the image
// made for the size asked, so that Size alone decides how large it is. No
// side is built above MAX_CURSOR_SIDE, and a file over the pixel limits (its
// own, or what the load has left) is built at the largest size that fits.
// Missing files are first written from the defaults, or loaded from the
// module's own copy when they can't be written or the system would redirect
// the write. A slot whose file fails to load keeps its previous handle, or,
// having none yet, shows its built-in default from the module's own copy.
// All slots are loaded before any is replaced; the replaced handles are destroyed after the tables and the
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

// The size a file whose own size is own_width by own_height is asked at:
// each side by requested_side, or 0 by 0 (its own size) when a side comes
// out 0.
void asked_size(int own_width, int own_height, float scale, int* width, int* height);

// What loading one file found: its own size, the size it was built at (0 by
// 0: each frame at its own), and whether that is smaller than asked (the
// side or pixel limits).
struct CursorSizes {
    int own_width, own_height;
    int asked_width, asked_height;
    bool reduced;
};

// Loads `module`'s default cursor `identifier` from its own copy in memory at
// its own size times `scale`, as a slot whose default can't be written
// does; null when there is no such default. The caller owns the handle.
// Like load_cursor_file, it has the limits of a whole load to itself.
HCURSOR load_default_cursor(HMODULE module, int identifier, float scale);

// Loads one cursor file at its own size times `scale` (as load_cursor_set
// does for each slot); null when the file does not load. The caller owns the
// handle. `sizes` (may be null) receives the sizes involved.
HCURSOR load_cursor_file(const char* path, float scale, CursorSizes* sizes = NULL);
