#include "cursors/cursor_file.h"

#include <string.h>

namespace {

const DWORD RIFF_HEADER_SIZE = 12;   // "RIFF", length, form type
const DWORD CHUNK_HEADER_SIZE = 8;   // chunk id, length
const DWORD ANIH_WIDTH_OFFSET = 12;  // after header size, frames and steps
const DWORD ANIH_HEIGHT_OFFSET = 16;
const DWORD ANIH_MIN_SIZE = 20;
const DWORD ICON_RESOURCE_VERSION = 0x00030000;

DWORD read_u32(const BYTE* at) {
    DWORD value;
    memcpy(&value, at, sizeof value);
    return value;
}

// The top-level "anih" chunk's data inside the view, or null.
BYTE* find_anih(BYTE* bytes, DWORD size) {
    if (size < RIFF_HEADER_SIZE || memcmp(bytes, "RIFF", 4) != 0 || memcmp(bytes + 8, "ACON", 4) != 0)
        return NULL;
    DWORD position = RIFF_HEADER_SIZE;
    while (size - position >= CHUNK_HEADER_SIZE) {
        BYTE* chunk = bytes + position;
        DWORD length = read_u32(chunk + 4);
        DWORD room = size - position - CHUNK_HEADER_SIZE;
        if (memcmp(chunk, "anih", 4) == 0)
            return (length >= ANIH_MIN_SIZE && room >= ANIH_MIN_SIZE) ? chunk + CHUNK_HEADER_SIZE : NULL;
        DWORD padded = length + (length & 1);
        if (length > room || padded > room)
            return NULL;
        position += CHUNK_HEADER_SIZE + padded;
    }
    return NULL;
}

// Files up to this size are read whole into the module's buffer; larger ones
// are mapped. Cursor files are a few kilobytes; one is open at a time.
BYTE small_file_copy[64 * 1024];

}  // namespace

bool open_cursor_file(const char* path, CursorFile* cursor_file) {
    memset(cursor_file, 0, sizeof *cursor_file);
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;  // the caller may ask GetLastError why
    // The usual cursor file fits the module's buffer: one read costs far
    // fewer system calls than a mapping. A full buffer means a larger file.
    DWORD read = 0;
    if (!ReadFile(file, small_file_copy, sizeof small_file_copy, &read, NULL) || read == 0) {
        CloseHandle(file);
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    if (read < sizeof small_file_copy) {
        CloseHandle(file);
        cursor_file->bytes = small_file_copy;
        cursor_file->size = read;
        return true;
    }
    DWORD size_high = 0;
    cursor_file->file = file;
    cursor_file->size = GetFileSize(file, &size_high);
    if (cursor_file->size != INVALID_FILE_SIZE && size_high == 0)
        cursor_file->mapping = CreateFileMappingA(file, NULL, PAGE_WRITECOPY, 0, 0, NULL);
    if (cursor_file->mapping)
        cursor_file->bytes = static_cast<BYTE*>(
            MapViewOfFile(cursor_file->mapping, FILE_MAP_COPY, 0, 0, 0));
    if (!cursor_file->bytes) {
        close_cursor_file(cursor_file);
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
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

bool is_animated_cursor(CursorFile* cursor_file) {
    return find_anih(cursor_file->bytes, cursor_file->size) != NULL;
}

DWORD cursor_frame_count(CursorFile* cursor_file) {
    const DWORD FRAME_COUNT_OFFSET = 4;  // after the header's size
    BYTE* anih = find_anih(cursor_file->bytes, cursor_file->size);
    DWORD frames = anih ? read_u32(anih + FRAME_COUNT_OFFSET) : 1;
    return frames ? frames : 1;
}

HCURSOR animated_cursor_at(CursorFile* cursor_file, int width, int height) {
    BYTE* anih = find_anih(cursor_file->bytes, cursor_file->size);
    if (!anih)
        return NULL;
    DWORD new_width = static_cast<DWORD>(width), new_height = static_cast<DWORD>(height);
    memcpy(anih + ANIH_WIDTH_OFFSET, &new_width, sizeof new_width);
    memcpy(anih + ANIH_HEIGHT_OFFSET, &new_height, sizeof new_height);
    return CreateIconFromResourceEx(cursor_file->bytes, cursor_file->size, FALSE,
                                    ICON_RESOURCE_VERSION, width, height, LR_DEFAULTCOLOR);
}
