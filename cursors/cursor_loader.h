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
// file's native size; 0 means native size, other values below 1 count as 1.
// A file whose frames would take more than MAX_CURSOR_PIXELS at the scaled
// size loads at its native size. Each file is probed at its native size
// first, except at scale 0 (or an infinite or NaN one), where the size asked
// is the native one whatever the probe would find.
// Missing files are first written from the defaults. A slot whose file fails
// to load keeps its previous handle; a replaced handle is destroyed only
// after the table no longer holds it.
void load_cursor_set(float scale);

// Width and height of a cursor's image; 1 when both were written, else 0.
int probe_cursor_size(HCURSOR cursor, int* width, int* height);

// The scale load_cursor_set really uses for `scale`.
float effective_scale(float scale);

// One side of the requested size: native × scale truncated toward zero, or 0
// (the file's own size) when that is not a finite value fitting a positive int.
int requested_side(int native, float scale);

// Loads one cursor file at its native size times `scale` (as load_cursor_set
// does for each slot); null when the file does not load. The caller owns the
// handle.
HCURSOR load_cursor_file(const char* path, float scale);
