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

}  // namespace

bool open_cursor_file(const char* path, CursorFile* cursor_file) {
    memset(cursor_file, 0, sizeof *cursor_file);
    cursor_file->file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
    if (cursor_file->file == INVALID_HANDLE_VALUE) {
        cursor_file->file = NULL;
        return false;
    }
    DWORD size_high = 0;
    cursor_file->size = GetFileSize(cursor_file->file, &size_high);
    if (cursor_file->size != INVALID_FILE_SIZE && size_high == 0 && cursor_file->size > 0)
        cursor_file->mapping = CreateFileMappingA(cursor_file->file, NULL, PAGE_WRITECOPY, 0, 0, NULL);
    if (cursor_file->mapping)
        cursor_file->bytes = static_cast<BYTE*>(
            MapViewOfFile(cursor_file->mapping, FILE_MAP_COPY, 0, 0, 0));
    if (!cursor_file->bytes) {
        close_cursor_file(cursor_file);
        return false;
    }
    return true;
}

void close_cursor_file(CursorFile* cursor_file) {
    if (cursor_file->bytes)
        UnmapViewOfFile(cursor_file->bytes);
    if (cursor_file->mapping)
        CloseHandle(cursor_file->mapping);
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
