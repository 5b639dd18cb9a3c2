// A cursor file opened as a private copy (read into the module's buffer, or
// mapped copy-on-write when large): checked before any loader sees it, and
// re-sized in place where the system ignores the size asked of it. The file
// on disk is never changed. One file is open at a time.
#pragma once

#include <windows.h>

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

// Releases what open_cursor_file opened.
void close_cursor_file(CursorFile* cursor_file);

// Whether the file is an animated cursor (has an "anih" header).
bool is_animated_cursor(CursorFile* cursor_file);

// How many frames the file holds: the animated cursor header's count, or 1.
DWORD cursor_frame_count(CursorFile* cursor_file);

// Writes width and height into the view's "anih" header and builds the
// cursor from the view at that size. Null when the file is no animated
// cursor or the system rejects it.
HCURSOR animated_cursor_at(CursorFile* cursor_file, int width, int height);
