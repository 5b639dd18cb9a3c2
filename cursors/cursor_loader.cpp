#include "cursors/cursor_loader.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/file_virtualisation.h"
#include "base/icon_bitmaps.h"
#include "base/module_state.h"
#include "cursors/cursor_build.h"
#include "cursors/cursor_file.h"
#include "cursors/cursor_resource.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"

EdgeStyle cursor_edges;

namespace {

const int PATH_BUFFER_SIZE = MAX_PATH;

// Set while a load_cursor_set runs.
LONG loading_cursor_set;

void format_slot_path(char* path, const char* pattern, int slot) {
    _snprintf(path, PATH_BUFFER_SIZE, pattern, slot);
    path[PATH_BUFFER_SIZE - 1] = '\0';
}

// What a load has left: for the players' files and for the defaults. Each
// cursor built spends the bytes the system holds for it; the pixel memory
// is charged as far as a cursor takes more of it than any before (it is
// committed once for the whole load).
struct LoadBudget {
    uint32_t bytes, frames;
    uint32_t pixel_memory;  // charged so far
};
struct Budgets {
    LoadBudget players, defaults;
};

Budgets whole_load() {
    Budgets budgets = {{LOAD_BYTES - DEFAULT_BYTES, LOAD_FRAMES - DEFAULT_FRAMES, 0},
                       {DEFAULT_BYTES, DEFAULT_FRAMES, 0}};
    return budgets;
}

// How often a file is planned smaller to leave room for the pixel memory
// making it takes.
const int PLAN_ATTEMPTS = 4;

// What building `plan` spends of `budget`.
uint64_t cost_of(const CursorPlan& plan, const LoadBudget& budget) {
    uint64_t memory =
        plan.arena_bytes > budget.pixel_memory ? plan.arena_bytes - budget.pixel_memory : 0;
    return system_bytes(plan.frames, plan.width, plan.height) + memory;
}

// The table and plan of the file being loaded: one at a time, in the
// module's own memory.
CursorTable table;
CursorLoad found;

// The system's standard cursor size as at 96 DPI. A DPI-aware process (a
// compatibility setting or a display wrapper makes a game one), and every
// process under Wine, gets the metric at the display's DPI: 48 at 150 %. The
// screen's DPI as this process sees it undoes that, so that a file in
// several sizes scales like any other and Size alone decides.
void standard_size(uint32_t* width, uint32_t* height) {
    HDC screen = GetDC(NULL);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(NULL, screen);
    if (dpi <= 0)
        dpi = USER_DEFAULT_SCREEN_DPI;
    int cursor_width = MulDiv(GetSystemMetrics(SM_CXCURSOR), USER_DEFAULT_SCREEN_DPI, dpi);
    int cursor_height = MulDiv(GetSystemMetrics(SM_CYCURSOR), USER_DEFAULT_SCREEN_DPI, dpi);
    *width = cursor_width > 0 ? static_cast<uint32_t>(cursor_width) : 0;
    *height = cursor_height > 0 ? static_cast<uint32_t>(cursor_height) : 0;
}

// The side every cursor of the set being loaded is asked at; 0 for a scale.
uint32_t load_side;

// The request for `table` at `scale` within `bytes` of `budget`.
PlanRequest plan_request(float scale, const LoadBudget& budget, uint32_t bytes) {
    PlanRequest request = {scale,         0,           0, pixels_within(bytes, table.frame_count),
                           budget.frames, cursor_edges, load_side};
    if (table.several_sizes && !table.header_size)
        standard_size(&request.standard_width, &request.standard_height);
    return request;
}

// Plans `table` at `scale` within what `budget` has left for what the system
// holds; where the pixel memory making it takes more than the load has
// charged (it grows with the cursor), planned again within the share of that
// which leaves room for it. False when nothing fits; `cost` is what building
// it spends.
bool plan_within(float scale, const LoadBudget& budget, CursorPlan* plan, uint64_t* cost) {
    uint32_t allowance = budget.bytes;
    for (int attempt = 0; attempt < PLAN_ATTEMPTS && allowance; ++attempt) {
        if (!plan_cursor(table, plan_request(scale, budget, allowance), plan))
            return false;
        *cost = cost_of(*plan, budget);
        if (*cost <= budget.bytes)
            return true;
        allowance = static_cast<uint32_t>(static_cast<uint64_t>(allowance) * budget.bytes / *cost);
    }
    return false;
}

// Parses an open file, plans it at scale within `budget`, builds it, charges
// the budget what it holds, and closes the file. `found` says how far it
// got.
HCURSOR load_open_file(CursorFile* file, float scale, LoadBudget* budget) {
    HCURSOR cursor = NULL;
    memset(&found, 0, sizeof found);
    found.outcome = CURSOR_NOT_PARSED;
    uint64_t cost = 0;
    if (parse_cursor_file(file->bytes, file->size, &table)) {
        found.outcome = CURSOR_NOT_PLANNED;
        if (plan_within(scale, *budget, &found.plan, &cost) &&
            found.plan.arena_bytes <= pixel_memory_size()) {
            found.outcome = CURSOR_NOT_BUILT;
            cursor = build_cursor(file->bytes, table, &found.plan);
        }
    }
    if (cursor) {
        found.outcome = CURSOR_BUILT;
        budget->bytes -= static_cast<uint32_t>(cost);
        budget->frames -= found.plan.frames;
        if (found.plan.arena_bytes > budget->pixel_memory)
            budget->pixel_memory = found.plan.arena_bytes;
    }
    close_cursor_file(file);
    return cursor;
}

// Loads `module`'s default cursor from its own copy, within the load's budget.
HCURSOR load_default_copy(HMODULE module, int identifier, float scale, Budgets* budgets) {
    CursorFile file;
    if (!open_default_cursor(module, identifier, &file))
        return NULL;
    return load_open_file(&file, scale, &budgets->defaults);
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
HCURSOR load_slot_file(const char* path, int default_identifier, float scale, HCURSOR current,
                       Budgets* budgets) {
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
    HCURSOR cursor = opened ? load_open_file(&file, scale, &budgets->players) : NULL;
    return cursor || current ? cursor
                             : load_default_copy(module_handle, default_identifier, scale, budgets);
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
    delete_icon_bitmaps(info);
    return result;
}

HCURSOR load_default_cursor(HMODULE module, int identifier, float scale, int side) {
    Budgets budgets = whole_load();
    load_side = side > 0 ? static_cast<uint32_t>(side) : 0;
    HCURSOR cursor = load_default_copy(module, identifier, effective_scale(scale), &budgets);
    load_side = 0;
    release_pixel_memory();
    return cursor;
}

HCURSOR load_cursor_file(const char* path, float scale, CursorLoad* load, int side) {
    Budgets budgets = whole_load();
    CursorFile file;
    HCURSOR cursor = NULL;
    if (open_cursor_file(path, &file)) {
        load_side = side > 0 ? static_cast<uint32_t>(side) : 0;
        cursor = load_open_file(&file, effective_scale(scale), &budgets.players);
        load_side = 0;
        release_pixel_memory();
    } else {
        memset(&found, 0, sizeof found);
        found.outcome = CURSOR_NOT_READ;  // missing, empty, a folder, or unreadable
    }
    if (load)
        *load = found;
    return cursor;
}

bool plan_loaded_file(float scale, CursorPlan* plan, int side) {
    if (found.outcome == CURSOR_NOT_READ || found.outcome == CURSOR_NOT_PARSED)
        return false;
    load_side = side > 0 ? static_cast<uint32_t>(side) : 0;
    uint64_t cost;
    bool planned = plan_within(effective_scale(scale), whole_load().players, plan, &cost);
    load_side = 0;
    return planned;
}

bool load_cursor_set(float scale, int side) {
    // The file buffer and the retired list are shared: a second load while
    // one runs would tear both, so it refuses instead.
    if (__atomic_exchange_n(&loading_cursor_set, 1, __ATOMIC_ACQUIRE))
        return false;
    scale = effective_scale(scale);
    load_side = side > 0 ? static_cast<uint32_t>(side) : 0;
    Budgets budgets = whole_load();
    HCURSOR base[LOADED_SLOT_COUNT], animated[LOADED_SLOT_COUNT];
    char path[PATH_BUFFER_SIZE];
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        format_slot_path(path, BASE_CURSOR_PATTERN, slot);
        base[slot] = load_slot_file(path, BASE_DEFAULT_FIRST_ID + slot, scale, base_cursors[slot],
                                    &budgets);
        format_slot_path(path, ANIMATED_CURSOR_PATTERN, slot);
        animated[slot] = load_slot_file(path, ANIMATED_DEFAULT_FIRST_ID + slot, scale,
                                        animated_cursors[slot], &budgets);
    }
    // The pointer never blinks: the shown cursor goes from an old handle
    // straight to a new one, and no handle is destroyed while a table, the
    // screen or a host thread on its way to SetCursor still holds it.
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
        replace_slot(slot, base[slot], animated[slot]);
    load_side = 0;
    release_pixel_memory();
    apply_current_cursor();
    destroy_retired_cursors();
    __atomic_store_n(&loading_cursor_set, 0, __ATOMIC_RELEASE);
    return true;
}
