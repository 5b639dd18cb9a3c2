// Reading a cursor file once: a player's file read into the module's buffer
// (or mapped when large), or a default cursor copied from the module. No
// system loader ever opens a player's file or reads its bytes: the module
// parses them and hands the system only what it made. The file on disk is
// never changed. One copy is open at a time.
#pragma once

#include <windows.h>


struct CursorFile {
    HANDLE file;
    HANDLE mapping;
    const BYTE* bytes;
    DWORD size;
};

// Reads `path` into its private copy; false (and nothing left open) when it
// can't: missing, empty, a folder, unreadable, or over 4 GB. When the file
// could not be opened at all, GetLastError says why; for a file that opened
// but can't be used it gives ERROR_INVALID_DATA.
bool open_cursor_file(const char* path, CursorFile* cursor_file);

// Opens `module`'s default cursor `identifier` where the module carries it,
// with no file behind it; false when there is no such default.
bool open_default_cursor(HMODULE module, int identifier, CursorFile* cursor_file);

// Releases what open_cursor_file or open_default_cursor opened.
void close_cursor_file(CursorFile* cursor_file);
