#include "cursors/cursor_file.h"

#include <string.h>

#include "cursors/default_cursors.h"

namespace {

// Files up to this size are read whole into the module's buffer; larger ones
// are mapped. Cursor files are a few kilobytes; one is open at a time.
BYTE small_file_copy[64 * 1024];

}  // namespace

bool open_cursor_file(const char* path, CursorFile* cursor_file) {
    memset(cursor_file, 0, sizeof *cursor_file);
    // Shared for reading only while it is read: nobody changes it half way.
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;  // the caller may ask GetLastError why
    cursor_file->file = file;
    // The usual cursor file fits the module's buffer: one read costs far
    // fewer system calls than a mapping. A full buffer means a larger file.
    DWORD read = 0;
    if (ReadFile(file, small_file_copy, sizeof small_file_copy, &read, NULL) && read > 0) {
        if (read < sizeof small_file_copy) {
            cursor_file->bytes = small_file_copy;
            cursor_file->size = read;
            return true;
        }
        DWORD size_high = 0;
        cursor_file->size = GetFileSize(file, &size_high);
        if (cursor_file->size != INVALID_FILE_SIZE && size_high == 0)
            cursor_file->mapping = CreateFileMappingA(file, NULL, PAGE_READONLY, 0, 0, NULL);
        if (cursor_file->mapping)
            cursor_file->bytes = static_cast<const BYTE*>(
                MapViewOfFile(cursor_file->mapping, FILE_MAP_READ, 0, 0, 0));
        if (cursor_file->bytes)
            return true;
    }
    // Empty, unreadable or not mappable: there, but nothing a loader can use.
    close_cursor_file(cursor_file);
    SetLastError(ERROR_INVALID_DATA);
    return false;
}

bool open_default_cursor(HMODULE module, int identifier, CursorFile* cursor_file) {
    memset(cursor_file, 0, sizeof *cursor_file);
    const BYTE* bytes;
    DWORD size;
    if (!default_cursor_bytes(module, identifier, &bytes, &size) || size == 0)
        return false;
    cursor_file->bytes = bytes;
    cursor_file->size = size;
    return true;
}

void close_cursor_file(CursorFile* cursor_file) {
    if (cursor_file->mapping) {
        if (cursor_file->bytes)
            UnmapViewOfFile(cursor_file->bytes);
        CloseHandle(cursor_file->mapping);
    }
    if (cursor_file->file)
        CloseHandle(cursor_file->file);
    memset(cursor_file, 0, sizeof *cursor_file);
}
