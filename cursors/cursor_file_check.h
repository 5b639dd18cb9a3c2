// A structural check of cursor files before the system's loader sees them.
// Players drop any file into the cursor folders, and some loaders (Wine's
// among them) trust what a file declares: its animated-cursor reader reads
// past the file or a frame when the lengths inside lie, and its cursor
// loaders divide by an image's rows when asked for a size. Either would crash
// the host. Only files whose every length and image holds are loaded.
#pragma once

#include <windows.h>

// The most pixels one cursor may take, all its frames together: as many as
// the largest single image has (1024 by 1024, some 8 MB as the system keeps
// it). A small animated file can declare a thousand frames of a thousand
// pixels square, and a large scale asks for huge cursors: the system would
// spend seconds and gigabytes of the host's memory building them.
const DWORD MAX_CURSOR_PIXELS = 1u << 20;

// True when `bytes` is a single-image cursor or icon file whose every image
// lies within it and has a row, or an animated cursor whose chunks, frames,
// images, steps and rates all lie within the file and whose frames stay
// within MAX_CURSOR_PIXELS.
bool cursor_file_is_sound(const BYTE* bytes, DWORD size);
