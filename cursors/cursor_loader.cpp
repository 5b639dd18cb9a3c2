#include "cursors/cursor_loader.h"

#include <float.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/file_virtualisation.h"
#include "base/module_state.h"
#include "cursors/cursor_file.h"
#include "cursors/cursor_layout.h"
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

// A scale of 0, an infinite one or a NaN asks every file for its own size.
bool asks_a_size(float scale) { return scale > 0.0f && scale <= FLT_MAX; }

// What one load of both tables may take of the system, the old set still
// alive beside it during a reload: pixels (each frame's decoded image and
// built bitmap; 16 Mi are some 64 MB as 32-bit bitmaps) and USER objects (a
// frame each; Windows allows a process 10,000 by default). The largest file
// (1,024 frames) fits, and so does a whole pack of 44 animations of 24
// frames; old and new set together stay within some 128 MB, a sixteenth of
// a 32-bit process's memory, and 2,200 objects, well inside the quota. Wine
// builds the 1,100 frames in under half a second.
const DWORD LOAD_PIXELS = 16u << 20;
const DWORD LOAD_OBJECTS = 1100;

struct LoadBudget {
    DWORD pixels;
    DWORD objects;
};

LoadBudget load_budget;

void start_load_budget() {
    load_budget.pixels = LOAD_PIXELS;
    load_budget.objects = LOAD_OBJECTS;
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

// A file's own size: for images in several sizes the system's standard
// cursor size at 96 DPI, else what its bytes say.
void own_size(const CursorLayout& layout, int* width, int* height) {
    if (layout.several_sizes && !layout.header_size) {
        standard_size(width, height);
        return;
    }
    *width = static_cast<int>(layout.own_width);
    *height = static_cast<int>(layout.own_height);
}

// Judges an open copy, builds it at its own size times the scale (or the
// largest size within the limits and what the load has left), and closes
// it.
HCURSOR load_open_copy(CursorFile* file, float scale, CursorSizes* sizes) {
    CursorSizes found = {0, 0, 0, 0, false};
    HCURSOR cursor = NULL;
    CursorLayout layout;
    if (judge_cursor_file(file->bytes, file->size, &layout) && layout.frames <= load_budget.objects) {
        own_size(layout, &found.own_width, &found.own_height);
        // A file in several sizes is asked for its own (standard) size at
        // scale 0 too.
        if (layout.several_sizes && !layout.header_size && !asks_a_size(scale))
            scale = 1.0f;
        if (asks_a_size(scale))
            asked_size(found.own_width, found.own_height, scale, &found.asked_width,
                       &found.asked_height);
        uint32_t width = static_cast<uint32_t>(found.asked_width);
        uint32_t height = static_cast<uint32_t>(found.asked_height);
        if (fit_cursor_size(file->bytes, layout, load_budget.pixels, &width, &height, &found.reduced)) {
            uint32_t pixels = cursor_cost(file->bytes, layout, width, height, load_budget.pixels).pixels;
            found.asked_width = static_cast<int>(width);
            found.asked_height = static_cast<int>(height);
            cursor = build_cursor(file, layout, width, height);
            if (cursor) {
                load_budget.pixels -= pixels;
                load_budget.objects -= layout.frames;
            }
        }
    }
    close_cursor_file(file);
    if (sizes)
        *sizes = found;
    return cursor;
}

// Loads `module`'s default cursor from its own copy, within the load's budget.
HCURSOR load_default_copy(HMODULE module, int identifier, float scale) {
    CursorFile file;
    if (!open_default_cursor(module, identifier, &file))
        return NULL;
    return load_open_copy(&file, scale, NULL);
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
    HCURSOR cursor = opened ? load_open_copy(&file, scale, NULL) : NULL;
    return cursor || current ? cursor : load_default_copy(module_handle, default_identifier, scale);
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

void asked_size(int own_width, int own_height, float scale, int* width, int* height) {
    *width = requested_side(own_width, scale);
    *height = requested_side(own_height, scale);
    if (!*width || !*height)
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
    start_load_budget();
    return load_default_copy(module, identifier, effective_scale(scale));
}

HCURSOR load_cursor_file(const char* path, float scale, CursorSizes* sizes) {
    start_load_budget();
    CursorFile file;
    if (!open_cursor_file(path, &file)) {
        if (sizes)
            memset(sizes, 0, sizeof *sizes);
        return NULL;  // missing, empty, a folder, or unreadable
    }
    return load_open_copy(&file, effective_scale(scale), sizes);
}

bool load_cursor_set(float scale) {
    // The file buffer and the retired list are shared: a second load while
    // one runs would tear both, so it refuses instead.
    if (__atomic_exchange_n(&loading_cursor_set, 1, __ATOMIC_ACQUIRE))
        return false;
    scale = effective_scale(scale);
    start_load_budget();
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
