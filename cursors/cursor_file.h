// A cursor's private copy: a player's file read into the module's buffer (or
// mapped copy-on-write when large) and held open, sharing reads only, until
// it is closed, so that the file the system's loader reads is the one that
// was checked; or a default cursor copied from the module. Animated cursors
// are built from the copy itself. The file on disk is never changed. One
// copy is open at a time.
#pragma once

#include <windows.h>

#include "cursors/cursor_file_check.h"

struct CursorFile {
    HANDLE file;
    HANDLE mapping;
    BYTE* bytes;
    DWORD size;
};

// Opens `path` and makes its private copy; false (and nothing left open)
// when it can't: missing, empty, a folder, unreadable, or over 4 GB. When
// the file could not be opened at all, GetLastError says why; for a file
// that opened but can't be used it gives ERROR_INVALID_DATA.
bool open_cursor_file(const char* path, CursorFile* cursor_file);

// Copies `size` bytes into the module's buffer as a private copy with no
// file behind it; false when they don't fit.
bool open_cursor_copy(const BYTE* bytes, DWORD size, CursorFile* cursor_file);

// Releases what open_cursor_file or open_cursor_copy opened.
void close_cursor_file(CursorFile* cursor_file);

// Builds an animated cursor from the copy at `width` by `height` (0 by 0:
// the size the file gives), after making the copy safe for the system's
// reader and writing that size into its header. Null when the copy is no
// animated cursor or the system rejects it.
HCURSOR build_animated_cursor(CursorFile* cursor_file, int width, int height);
