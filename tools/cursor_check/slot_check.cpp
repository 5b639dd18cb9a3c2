#include "tools/cursor_check/slot_check.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "cursors/cursor_file.h"
#include "cursors/cursor_loader.h"
#include "cursors/default_cursors.h"
#include "base/module_state.h"
#include "tools/cursor_check/console_text.h"

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
    if (GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) {
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

// The module's judgement of the file before any loader sees it.
bool passes_module_check(const char* path, SlotCheck* check) {
    CursorFile file;
    if (!open_cursor_file(path, &file)) {
        check->note = open_failure(path, GetLastError());
        return false;
    }
    bool animated = file.size >= RIFF_TAG_SIZE && memcmp(file.bytes, RIFF_TAG, RIFF_TAG_SIZE) == 0;
    CursorLayout layout;
    bool sound = judge_cursor_file(file.bytes, file.size, &layout);
    close_cursor_file(&file);
    if (!sound)
        check->note = animated ? "a damaged animated cursor" : "not a cursor, or a damaged one";
    return sound;
}

// Loads the file through the module's loader; the size it got, and the
// sizes the loader worked with.
bool load_and_measure(const char* path, float scale, int* width, int* height, CursorSizes* sizes) {
    HCURSOR cursor = load_cursor_file(path, scale, sizes);
    if (!cursor)
        return false;
    probe_cursor_size(cursor, width, height);
    DestroyCursor(cursor);
    return true;
}

}  // namespace

SlotCheck judge_cursor_file(const char* path, float scale) {
    SlotCheck check = {};
    DWORD attributes = GetFileAttributesW(wide(path).c_str());
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
    CursorSizes own, asked;
    if (!load_and_measure(path, 0.0f, &check.native_width, &check.native_height, &own)) {
        check.note = "Windows can't load it as a cursor";
        return check;
    }
    if (!load_and_measure(path, scale, &check.width, &check.height, &asked)) {
        check.note = "loads at its own size but not larger: try a smaller Size";
        return check;
    }
    check.loads = true;
    // A file in several sizes counts the system's cursor size as its own.
    if (own.own_width) {
        check.native_width = own.own_width;
        check.native_height = own.own_height;
    }
    check.capped = asked.reduced;
    if (asked.reduced)
        check.note = format("too large at this Size: shown at %ldx%ld, the largest that fits",
                            asked.asked_width, asked.asked_height);
    check.size_differs = !asked.reduced && asked.asked_width &&
                         (check.width != asked.asked_width || check.height != asked.asked_height);
    if (check.size_differs)
        check.note = format("Windows gave this size, not the %ldx%ld asked", asked.asked_width,
                            asked.asked_height);
    return check;
}

bool has_default_cursor(int identifier) {
    // RT_RCDATA, as the wide call takes it.
    return FindResourceW(module_handle, MAKEINTRESOURCEW(identifier), MAKEINTRESOURCEW(10)) != NULL;
}

bool is_default_cursor(const char* path, int identifier) {
    const BYTE* bytes;
    DWORD size;
    if (!default_cursor_bytes(module_handle, identifier, &bytes, &size))
        return false;
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string read(size + 1, '\0');
    DWORD got = 0;
    bool same = ReadFile(file, &read[0], size + 1, &got, NULL) && got == size &&
                memcmp(read.data(), bytes, size) == 0;
    CloseHandle(file);
    return same;
}
