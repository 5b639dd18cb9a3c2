#include "cursors/cursor_loader.h"

#include <float.h>
#include <stdio.h>
#include <stdlib.h>

#include "cursors/cursor_file.h"
#include "cursors/cursor_file_check.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"

namespace {

const int PATH_BUFFER_SIZE = MAX_PATH;
const double LARGEST_SIDE = 2147483647.0;

void format_slot_path(char* path, const char* pattern, int slot) {
    _snprintf(path, PATH_BUFFER_SIZE, pattern, slot);
    path[PATH_BUFFER_SIZE - 1] = '\0';
}

// Opens a slot's file, writing its default first when the file is missing.
// Opening tells a missing file from one that is there, which spares a look
// at its attributes. Anything that is there (a folder, an empty or locked
// file, a file that fails to load) is the player's and is never overwritten.
bool open_slot_file(const char* path, int default_identifier, CursorFile* file) {
    if (open_cursor_file(path, file))
        return true;
    DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        return false;
    extract_default_cursor(default_identifier, path);
    return open_cursor_file(path, file);
}

HCURSOR load_image(const char* path, int width, int height) {
    return static_cast<HCURSOR>(
        LoadImageA(NULL, path, IMAGE_CURSOR, width, height, LR_LOADFROMFILE));
}

// Some systems (Wine) build animated-cursor frames at the size in the file
// and ignore the size asked: then load once more from a private view of the
// file with the asked size written into it. Other files are never measured
// again, as nothing could be done for them.
HCURSOR match_requested_size(HCURSOR cursor, CursorFile* file, int width, int height) {
    int got_width = 0, got_height = 0;
    if (width <= 0 || height <= 0 || !is_animated_cursor(file) ||
        !probe_cursor_size(cursor, &got_width, &got_height))
        return cursor;
    if (got_width == width && got_height == height)
        return cursor;
    HCURSOR resized = animated_cursor_at(file, width, height);
    if (!resized)
        return cursor;
    DestroyCursor(cursor);
    return resized;
}

// A scale of 0, an infinite one or a NaN asks every file for its own size,
// whatever a probe would measure.
bool asks_a_size(float scale) { return scale > 0.0f && scale <= FLT_MAX; }

// Probe at the file's own size, then load at that size times the scale.
HCURSOR load_checked_file(const char* path, CursorFile* file, float scale) {
    int width = 0, height = 0;
    HCURSOR probe = asks_a_size(scale) ? load_image(path, 0, 0) : NULL;
    if (probe) {
        probe_cursor_size(probe, &width, &height);
        DestroyCursor(probe);
    }
    int requested_width = requested_side(width, scale);
    int requested_height = requested_side(height, scale);
    // A size at which all frames would take more than any cursor may loads
    // at the file's own size instead (the check kept that one within it).
    DWORD64 pixels = static_cast<DWORD64>(requested_width) * static_cast<DWORD64>(requested_height);
    if (pixels > MAX_CURSOR_PIXELS || pixels * cursor_frame_count(file) > MAX_CURSOR_PIXELS)
        requested_width = requested_height = 0;
    HCURSOR cursor = load_image(path, requested_width, requested_height);
    if (cursor)
        cursor = match_requested_size(cursor, file, requested_width, requested_height);
    return cursor;
}

// Checks an opened file, loads it when sound, and closes it.
HCURSOR load_opened_file(const char* path, CursorFile* file, float scale) {
    HCURSOR cursor = NULL;
    if (cursor_file_is_sound(file->bytes, file->size))
        cursor = load_checked_file(path, file, scale);
    close_cursor_file(file);
    return cursor;
}

// A slot's file, its default written first when missing, loaded at scale.
HCURSOR load_slot_file(const char* path, int default_identifier, float scale) {
    CursorFile file;
    if (!open_slot_file(path, default_identifier, &file))
        return NULL;
    return load_opened_file(path, &file, scale);
}

// Base slot: the new handle goes in (and into an animated slot that shared
// the old one) before the old handle is destroyed, so that a reader on
// another thread never meets a destroyed handle.
void store_base(int slot, HCURSOR cursor) {
    HCURSOR old = base_cursors[slot];
    base_cursors[slot] = cursor;
    if (old && animated_cursors[slot] == old)
        animated_cursors[slot] = cursor;
    if (old)
        DestroyCursor(old);
}

// Animated slot: a handle shared with the base slot belongs to the base slot
// and is never destroyed from here.
void store_animated(int slot, HCURSOR cursor) {
    HCURSOR old = animated_cursors[slot];
    animated_cursors[slot] = cursor;
    if (old && old != base_cursors[slot])
        DestroyCursor(old);
}

}  // namespace

float effective_scale(float scale) {
    // 0.0 and -0.0 stay (native size); NaN passes, as no comparison holds.
    if (scale < 1.0f && !(scale == 0.0f))
        return 1.0f;
    return scale;
}

int requested_side(int native, float scale) {
    double product = static_cast<double>(native) * static_cast<double>(scale);
    if (!(product >= 0.0) || product > LARGEST_SIDE)
        return 0;
    return static_cast<int>(product);  // truncates toward zero
}

int probe_cursor_size(HCURSOR cursor, int* width, int* height) {
    if (!cursor)
        return 0;
    ICONINFO info = {};
    if (!GetIconInfo(cursor, &info))
        return 0;
    bool monochrome = info.hbmColor == NULL;
    BITMAP mask = {};
    int result = 0;
    if (GetObjectA(info.hbmMask, sizeof mask, &mask)) {
        // A monochrome cursor's mask holds the AND and XOR images stacked.
        *width = mask.bmWidth;
        *height = abs(mask.bmHeight) / (monochrome ? 2 : 1);
        result = 1;
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return result;
}

HCURSOR load_cursor_file(const char* path, float scale) {
    CursorFile file;
    if (!open_cursor_file(path, &file))
        return NULL;  // missing, empty, a folder, or unreadable
    return load_opened_file(path, &file, scale);
}


void load_cursor_set(float scale) {
    scale = effective_scale(scale);
    // Hidden until the end, so no handle destroyed below is the one shown.
    SetCursor(NULL);
    char path[PATH_BUFFER_SIZE];
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        format_slot_path(path, BASE_CURSOR_PATTERN, slot);
        if (HCURSOR cursor = load_slot_file(path, BASE_DEFAULT_FIRST_ID + slot, scale))
            store_base(slot, cursor);

        format_slot_path(path, ANIMATED_CURSOR_PATTERN, slot);
        if (HCURSOR cursor = load_slot_file(path, ANIMATED_DEFAULT_FIRST_ID + slot, scale))
            store_animated(slot, cursor);
        if (!animated_cursors[slot])
            animated_cursors[slot] = base_cursors[slot];
    }
    apply_current_cursor();
}
