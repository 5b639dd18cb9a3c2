#include "cursors/cursor_loader.h"

#include <float.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/file_virtualisation.h"
#include "base/module_state.h"
#include "cursors/animated_copy.h"
#include "cursors/cursor_file.h"
#include "cursors/cursor_file_check.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"

namespace {

const int PATH_BUFFER_SIZE = MAX_PATH;
const double LARGEST_SIDE = 2147483647.0;

// Set while a load_cursor_set runs.
LONG loading_cursor_set;

void format_slot_path(char* path, const char* pattern, int slot) {
    _snprintf(path, PATH_BUFFER_SIZE, pattern, slot);
    path[PATH_BUFFER_SIZE - 1] = '\0';
}

// A scale of 0, an infinite one or a NaN asks every file for its own size,
// whatever a probe would measure.
bool asks_a_size(float scale) { return scale > 0.0f && scale <= FLT_MAX; }

// Builds the checked copy at a size: an animated cursor from the copy, any
// other from its file, which the copy holds open (a default from the
// module's copy has no file, and the defaults are all animated).
HCURSOR build_cursor(CursorFile* file, const CursorFileLayout& layout, const char* path,
                     int width, int height) {
    if (layout.animated)
        return build_animated_cursor(file, width, height);
    if (!path)
        return NULL;
    return static_cast<HCURSOR>(
        LoadImageA(NULL, path, IMAGE_CURSOR, width, height, LR_LOADFROMFILE));
}

// The system's standard cursor size as at 96 DPI. A DPI-aware process (a
// compatibility setting or a display wrapper makes a game one), and every
// process under Wine, gets the metric at the display's DPI: 48 at 150 %. The
// screen's DPI as this process sees it undoes that, so that a file in
// several sizes scales like any other and Size alone decides.
void standard_size(int* width, int* height) {
    HDC screen = GetDC(NULL);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(NULL, screen);
    if (dpi <= 0)
        dpi = USER_DEFAULT_SCREEN_DPI;
    *width = MulDiv(GetSystemMetrics(SM_CXCURSOR), USER_DEFAULT_SCREEN_DPI, dpi);
    *height = MulDiv(GetSystemMetrics(SM_CYCURSOR), USER_DEFAULT_SCREEN_DPI, dpi);
}

// A file's own size: for images in several sizes (`standard`) the system's
// standard cursor size at 96 DPI, else what the system builds when asked for
// none.
void own_size(CursorFile* file, const CursorFileLayout& layout, const char* path, bool standard,
              int* width, int* height) {
    if (standard) {
        standard_size(width, height);
        return;
    }
    if (HCURSOR probe = build_cursor(file, layout, path, 0, 0)) {
        probe_cursor_size(probe, width, height);
        DestroyCursor(probe);
    }
}

// Checks an open copy, loads it at its own size times the scale, and closes
// it. `path` is the file behind the copy, or null for a default's copy.
HCURSOR load_open_copy(CursorFile* file, const char* path, float scale, CursorSizes* sizes) {
    CursorSizes found = {0, 0, 0, 0};
    HCURSOR cursor = NULL;
    CursorFileLayout layout;
    if (check_private_copy(file->bytes, file->size, &layout)) {
        bool standard = layout.several_sizes && !(layout.header_width && layout.header_height);
        // At scale 0 a file in several sizes is asked for its own (standard) size.
        if (standard && !asks_a_size(scale))
            scale = 1.0f;
        if (asks_a_size(scale))
            own_size(file, layout, path, standard, &found.own_width, &found.own_height);
        asked_size(found.own_width, found.own_height, layout.frames, scale, &found.asked_width,
                   &found.asked_height);
        if (standard && !found.asked_width) {
            found.asked_width = found.own_width;
            found.asked_height = found.own_height;
        }
        cursor = build_cursor(file, layout, path, found.asked_width, found.asked_height);
    }
    close_cursor_file(file);
    if (sizes)
        *sizes = found;
    return cursor;
}

// A slot's file, loaded at scale. A missing file is first written from the
// default; where it can't be, or where Windows would redirect the write into
// the player's VirtualStore (whose copy would later hide the player's own
// file), the default loads from the module's own copy and nothing is
// written. Anything that is there (a folder, an empty or locked file, a file
// that fails to load) is the player's and is never overwritten: while the
// slot has no cursor yet (`current`), its default shows from the module's
// own copy instead, so that the pointer never vanishes; a slot that has one
// keeps it. Opening tells a missing file from one that is there.
HCURSOR load_slot_file(const char* path, int default_identifier, float scale, HCURSOR current) {
    CursorFile file;
    bool opened = open_cursor_file(path, &file);
    const BYTE* bytes;
    DWORD size;
    DWORD error = GetLastError();
    if (!opened && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) &&
        default_cursor_bytes(module_handle, default_identifier, &bytes, &size)) {
        if (!file_writes_virtualised()) {
            extract_default_cursor(module_handle, default_identifier, path);
            opened = open_cursor_file(path, &file);
        }
        if (!opened)
            current = NULL;
    }
    HCURSOR cursor = opened ? load_open_copy(&file, path, scale, NULL) : NULL;
    return cursor || current ? cursor : load_default_cursor(module_handle, default_identifier, scale);
}

// Puts a slot's new handles in the tables (a slot that failed keeps its
// old one; an animated slot without a cursor of its own shares the base
// slot's) and retires the handles it replaces.
void replace_slot(int slot, HCURSOR base, HCURSOR animated) {
    HCURSOR old_base = base_cursors[slot], old_animated = animated_cursors[slot];
    bool shared = old_animated == old_base;
    HCURSOR new_base = base ? base : old_base;
    HCURSOR new_animated = animated ? animated : (shared ? new_base : old_animated);
    if (!new_animated)
        new_animated = new_base;
    put_cursor_in_slot(base_cursors, slot, new_base);
    put_cursor_in_slot(animated_cursors, slot, new_animated);
    if (base && old_base)
        retire_cursor(old_base);
    if (animated && old_animated && !shared)
        retire_cursor(old_animated);
}

}  // namespace

float effective_scale(float scale) {
    // 0.0 and -0.0 stay (native size); NaN passes, as no comparison holds.
    if (scale < 1.0f && !(scale == 0.0f))
        return 1.0f;
    return scale;
}

int requested_side(int own, float scale) {
    double product = static_cast<double>(own) * static_cast<double>(scale);
    if (!(product >= 0.0) || product > LARGEST_SIDE)
        return 0;
    return static_cast<int>(product);  // truncates toward zero
}

void asked_size(int own_width, int own_height, DWORD frames, float scale, int* width, int* height) {
    *width = requested_side(own_width, scale);
    *height = requested_side(own_height, scale);
    // A size at which all frames would take more than any cursor may loads
    // at the file's own size instead (the check kept that one within it).
    // Width times height times frames over the limit, in 32 bits: the width
    // against the limit shared among the frames, divided by the height.
    DWORD limit = MAX_CURSOR_PIXELS / (frames ? frames : 1);
    if (!*width || !*height || static_cast<DWORD>(*width) > limit / static_cast<DWORD>(*height))
        *width = *height = 0;
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

HCURSOR load_default_cursor(HMODULE module, int identifier, float scale) {
    const BYTE* bytes;
    DWORD size;
    CursorFile file;
    if (!default_cursor_bytes(module, identifier, &bytes, &size) ||
        !open_cursor_copy(bytes, size, &file))
        return NULL;
    return load_open_copy(&file, NULL, effective_scale(scale), NULL);
}

HCURSOR load_cursor_file(const char* path, float scale, CursorSizes* sizes) {
    CursorFile file;
    if (!open_cursor_file(path, &file)) {
        if (sizes)
            memset(sizes, 0, sizeof *sizes);
        return NULL;  // missing, empty, a folder, or unreadable
    }
    return load_open_copy(&file, path, effective_scale(scale), sizes);
}

bool load_cursor_set(float scale) {
    // The file buffer and the retired list are shared: a second load while
    // one runs would tear both, so it refuses instead.
    if (__atomic_exchange_n(&loading_cursor_set, 1, __ATOMIC_ACQUIRE))
        return false;
    scale = effective_scale(scale);
    HCURSOR base[LOADED_SLOT_COUNT], animated[LOADED_SLOT_COUNT];
    char path[PATH_BUFFER_SIZE];
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        format_slot_path(path, BASE_CURSOR_PATTERN, slot);
        base[slot] = load_slot_file(path, BASE_DEFAULT_FIRST_ID + slot, scale, base_cursors[slot]);
        format_slot_path(path, ANIMATED_CURSOR_PATTERN, slot);
        animated[slot] = load_slot_file(path, ANIMATED_DEFAULT_FIRST_ID + slot, scale,
                                        animated_cursors[slot]);
    }
    // The pointer never blinks: the shown cursor goes from an old handle
    // straight to a new one, and no handle is destroyed while a table, the
    // screen or a host thread on its way to SetCursor still holds it.
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
        replace_slot(slot, base[slot], animated[slot]);
    apply_current_cursor();
    destroy_retired_cursors();
    __atomic_store_n(&loading_cursor_set, 0, __ATOMIC_RELEASE);
    return true;
}
