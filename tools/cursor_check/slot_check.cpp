#include "tools/cursor_check/slot_check.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "base/icon_bitmaps.h"
#include "cursors/cursor_loader.h"
#include "cursors/default_cursors.h"
#include "base/module_state.h"
#include "tools/cursor_check/console_text.h"

namespace {

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

}  // namespace

SlotCheck check_cursor_file(const char* path, float scale, int side) {
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
    CursorLoad load;
    HCURSOR cursor = load_cursor_file(path, scale, &load, side);
    DWORD error = GetLastError();
    const CursorPlan& plan = load.plan;
    switch (load.outcome) {
    case CURSOR_NOT_READ:
        check.note = open_failure(path, error);
        return check;
    case CURSOR_NOT_PARSED:
        check.note = "not a cursor, or a damaged one";
        return check;
    case CURSOR_NOT_PLANNED:
        check.note = "too large for the game at any size: it has too many frames or pictures";
        return check;
    case CURSOR_NOT_BUILT:
        check.note = "a picture in it is damaged or can't be read";
        return check;
    case CURSOR_BUILT:
        break;
    }
    check.loads = true;
    check.native_width = static_cast<int>(plan.own_width);
    check.native_height = static_cast<int>(plan.own_height);
    check.width = static_cast<int>(plan.width);
    check.height = static_cast<int>(plan.height);
    ICONINFO info = {};
    if (GetIconInfo(cursor, &info)) {
        check.hot_x = static_cast<int>(info.xHotspot);
        check.hot_y = static_cast<int>(info.yHotspot);
        delete_icon_bitmaps(info);
    }
    DestroyCursor(cursor);
    check.capped = plan.reduced;
    if (plan.reduced)
        check.note = format("too large at this Size: shown at %ldx%ld, the largest that fits",
                            static_cast<long>(plan.width), static_cast<long>(plan.height));
    return check;
}

bool size_at_scale(float scale, int side, int* width, int* height) {
    CursorPlan plan;
    if (!plan_loaded_file(scale, &plan, side))
        return false;
    *width = static_cast<int>(plan.width);
    *height = static_cast<int>(plan.height);
    return true;
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
