// A cursor's private copy: a player's file read once into the module's
// buffer (or mapped copy-on-write when large), or a default cursor copied
// from the module, and built from memory. No system loader ever opens a
// player's file: the copy that was judged is the one built. The file on disk
// is never changed. One copy is open at a time.
#pragma once

#include <windows.h>

#include "cursors/cursor_layout.h"

struct CursorFile {
    HANDLE file;
    HANDLE mapping;
    BYTE* bytes;
    DWORD size;
};

// Reads `path` into its private copy; false (and nothing left open) when it
// can't: missing, empty, a folder, unreadable, or over 4 GB. When the file
// could not be opened at all, GetLastError says why; for a file that opened
// but can't be used it gives ERROR_INVALID_DATA.
bool open_cursor_file(const char* path, CursorFile* cursor_file);

// Copies `module`'s default cursor `identifier` into the module's buffer as
// a private copy with no file behind it; false when there is no such default.
bool open_default_cursor(HMODULE module, int identifier, CursorFile* cursor_file);

// Releases what open_cursor_file or open_default_cursor opened.
void close_cursor_file(CursorFile* cursor_file);

// Builds a judged copy at `width` by `height` (0 by 0: each frame at its own
// size) from memory, with the image the module chooses; null when the system
// rejects it. The copy is spent: it is built once.
HCURSOR build_cursor(CursorFile* cursor_file, const CursorLayout& layout, DWORD width, DWORD height);
