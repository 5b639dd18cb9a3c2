#include "tools/cursor_check/slot_check.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "cursors/cursor_file.h"
#include "cursors/cursor_file_check.h"
#include "cursors/cursor_loader.h"
#include "plugin/plugin.h"

namespace {

// Animated cursors are RIFF files; everything else is read as a plain cursor.
const char RIFF_TAG[] = "RIFF";
const DWORD RIFF_TAG_SIZE = sizeof RIFF_TAG - 1;

std::string format(const char* pattern, long first, long second = 0) {
    char text[128];
    snprintf(text, sizeof text, pattern, first, second);
    return text;
}

// Why the module could not open the file: empty, or unreadable. The file's
// size comes from its directory entry, which needs no read access.
std::string open_failure(const char* path, DWORD error) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        if (data.nFileSizeLow == 0 && data.nFileSizeHigh == 0)
            return "the file is empty";
        if (data.nFileSizeHigh != 0)
            return "larger than 4 GB: the game does not read it";
    }
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return "another program holds it open: close that program";
    if (error == ERROR_ACCESS_DENIED)
        return "Windows denies reading it: check the file's permissions";
    return format("can't be read (Windows error %ld)", static_cast<long>(error));
}

// The structural check the module runs before any loader sees the file.
bool passes_module_check(const char* path, SlotCheck* check) {
    CursorFile file;
    if (!open_cursor_file(path, &file)) {
        check->note = open_failure(path, GetLastError());
        return false;
    }
    bool sound = cursor_file_is_sound(file.bytes, file.size);
    bool animated = file.size >= RIFF_TAG_SIZE && memcmp(file.bytes, RIFF_TAG, RIFF_TAG_SIZE) == 0;
    close_cursor_file(&file);
    if (!sound)
        check->note = animated ? "a damaged animated cursor" : "not a cursor, or a damaged one";
    return sound;
}

// Loads the file through the module's loader and measures the result.
bool load_and_measure(const char* path, float scale, int* width, int* height) {
    HCURSOR cursor = load_cursor_file(path, scale);
    if (!cursor)
        return false;
    int got_width = 0, got_height = 0;
    probe_cursor_size(cursor, &got_width, &got_height);
    DestroyCursor(cursor);
    *width = got_width;
    *height = got_height;
    return true;
}

}  // namespace

SlotCheck check_cursor_file(const char* path, float scale) {
    SlotCheck check = {};
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        check.presence = FILE_MISSING;
        return check;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        check.presence = FILE_FOLDER;
        check.note = "a folder has this file's name: remove or rename the folder";
        return check;
    }
    check.presence = FILE_PRESENT;
    if (!passes_module_check(path, &check))
        return check;
    if (!load_and_measure(path, 0.0f, &check.native_width, &check.native_height)) {
        check.note = "Windows can't load it as a cursor";
        return check;
    }
    int asked_width = requested_side(check.native_width, scale);
    int asked_height = requested_side(check.native_height, scale);
    if (!load_and_measure(path, scale, &check.width, &check.height)) {
        check.note = format("loads at its own size but not at %ldx%ld: try a smaller Size",
                            asked_width, asked_height);
        return check;
    }
    check.loads = true;
    if (asked_width == 0 || asked_height == 0)
        check.note = scale == 0.0f ? "" : "too large to scale: shown at its own size";
    else if (check.width != asked_width || check.height != asked_height)
        check.note = format("Windows gave this size, not the %ldx%ld asked",
                            asked_width, asked_height);
    return check;
}

bool has_default_cursor(int identifier) {
    return FindResourceA(module_handle, MAKEINTRESOURCEA(identifier), RT_RCDATA) != NULL;
}
