#include "tools/settings_window/cursor_preview.h"

#include <stdio.h>

#include <algorithm>
#include <string>

#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_parse.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"
#include "imaging/canvas.h"
#include "tools/cursor_art/cursor_looks.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/slot_check.h"
#include "tools/settings_window/settings_file.h"

namespace {

const int ANIMATED_SLOT = 5;
// Spacing at 96 DPI, scaled to the window's.
const int PADDING = 6;
const int GAP = 8;
const int SMALLEST_BOX = 32;
// The largest a cursor is drawn in its tile; larger ones are shrunk to it.
const int LARGEST_BOX = 128;
const int NAME_CHARACTERS = 16;  // the width of a tile's name, in average characters
const COLORREF BACKGROUND = RGB(236, 238, 242);
const COLORREF FRAME = RGB(170, 174, 182);
const COLORREF TEXT = RGB(30, 32, 38);
const COLORREF FAILURE = RGB(214, 40, 40);

struct Colours {
    COLORREF background, frame, text, failure;
};

// The preview's colours; a high-contrast theme's own when one is on.
Colours colours() {
    HIGHCONTRASTW contrast = {sizeof contrast, 0, NULL};
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON))
        return {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
                GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_HIGHLIGHT)};
    return {BACKGROUND, FRAME, TEXT, FAILURE};
}

bool file_there(const char* path) {
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

const DWORD MS_PER_JIFFY_NUMERATOR = 1000, JIFFIES_PER_SECOND = 60;

// The steps and rates of the file's animation, read by the plug-in's own
// parser: the bytes of the player's file, else of the default.
void read_steps(const char* path, bool from_file, int identifier, PreviewCursor* loaded) {
    loaded->steps = 1;
    std::string file;
    const BYTE* bytes = NULL;
    DWORD size = 0, error = 0;
    if (from_file && read_whole_file(wide(path), &file, &error)) {
        bytes = reinterpret_cast<const BYTE*>(file.data());
        size = static_cast<DWORD>(file.size());
    } else if (!from_file && !default_cursor_bytes(module_handle, identifier, &bytes, &size)) {
        return;
    }
    // A table is large: one, kept.
    static CursorTable* table = new CursorTable;
    if (!bytes || !parse_cursor_file(bytes, size, table) || !table->animated)
        return;
    loaded->steps = static_cast<int>(std::min<uint32_t>(table->step_count, PREVIEW_STEPS));
    for (int step = 0; step < loaded->steps; ++step)
        loaded->step_ms[step] = std::max<DWORD>(1, table->rate_of_step[step]) *
                                MS_PER_JIFFY_NUMERATOR / JIFFIES_PER_SECOND;
    loaded->step_started = GetTickCount();
}

// As the game loads a slot: the player's file, else (missing, or failing)
// the built-in default.
PreviewCursor load_one(const char* pattern, int identifier, int slot, const CursorSize& size) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, pattern, slot);
    PreviewCursor loaded = {};
    if (file_there(path)) {
        loaded.cursor = load_cursor_file(path, size.scale, NULL, size.side);
        loaded.fails = loaded.cursor == NULL;
        loaded.players = !is_default_cursor(path, identifier);
    }
    bool from_file = loaded.cursor != NULL;
    if (!loaded.cursor)
        loaded.cursor = load_default_cursor(module_handle, identifier, size.scale, size.side);
    if (loaded.cursor)
        probe_cursor_size(loaded.cursor, &loaded.width, &loaded.height);
    read_steps(path, from_file, identifier, &loaded);
    return loaded;
}

std::wstring label(int index) {
    std::wstring number = std::to_wstring(tile_slot(index));
    return number + L" " + wide(CURSOR_LOOKS[index]);
}

std::wstring size_words(const PreviewCursor& loaded) {
    if (loaded.fails)
        return L"does not load";
    return std::to_wstring(loaded.width) + L"x" + std::to_wstring(loaded.height);
}

void text_in(HDC dc, const std::wstring& words, RECT area) {
    DrawTextW(dc, words.c_str(), static_cast<int>(words.size()), &area,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT | DT_TOP);
}

}  // namespace

const char* tile_pattern(int index) {
    return index == LOADED_SLOT_COUNT ? ANIMATED_CURSOR_PATTERN : BASE_CURSOR_PATTERN;
}

int tile_slot(int index) {
    return index == LOADED_SLOT_COUNT ? ANIMATED_SLOT : index;
}

int tile_default_id(int index) {
    return index == LOADED_SLOT_COUNT ? ANIMATED_DEFAULT_FIRST_ID + ANIMATED_SLOT
                                      : BASE_DEFAULT_FIRST_ID + index;
}

std::wstring tile_name(const Preview& preview, int index) {
    const PreviewCursor& loaded = preview.cursors[index];
    std::wstring name =
        std::wstring(index == LOADED_SLOT_COUNT ? L"animated cursor " : L"cursor ") +
                        std::to_wstring(tile_slot(index)) + L", " + wide(CURSOR_LOOKS[index]);
    if (loaded.fails)
        return name + L": your file does not load, the default shows";
    return name + (loaded.players ? L": your file, " : L": the default, ") + size_words(loaded) +
           (loaded.steps > 1 ? L", animated in " + std::to_wstring(loaded.steps) + L" steps" : L"");
}

void load_preview(Preview* preview, const CursorSize& size) {
    free_preview(preview);
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
        preview->cursors[slot] =
            load_one(BASE_CURSOR_PATTERN, BASE_DEFAULT_FIRST_ID + slot, slot, size);
    preview->cursors[LOADED_SLOT_COUNT] = load_one(
        ANIMATED_CURSOR_PATTERN, ANIMATED_DEFAULT_FIRST_ID + ANIMATED_SLOT, ANIMATED_SLOT, size);
}

void free_preview(Preview* preview) {
    for (PreviewCursor& loaded : preview->cursors) {
        if (loaded.cursor)
            DestroyCursor(loaded.cursor);
        loaded = PreviewCursor();
    }
}

bool advance_animation(Preview* preview, DWORD now) {
    bool changed = false;
    for (PreviewCursor& loaded : preview->cursors) {
        if (loaded.steps < 2)
            continue;
        while (now - loaded.step_started >= loaded.step_ms[loaded.step]) {
            loaded.step_started += loaded.step_ms[loaded.step];
            loaded.step = (loaded.step + 1) % loaded.steps;
            changed = true;
        }
    }
    return changed;
}

TileGrid tile_grid(HDC dc, const Preview& preview, int width, HFONT font, int dpi) {
    TileGrid grid = {};
    int padding = MulDiv(PADDING, dpi, USER_DEFAULT_SCREEN_DPI);
    int cap = MulDiv(LARGEST_BOX, dpi, USER_DEFAULT_SCREEN_DPI);
    grid.gap = MulDiv(GAP, dpi, USER_DEFAULT_SCREEN_DPI);
    int largest = MulDiv(SMALLEST_BOX, dpi, USER_DEFAULT_SCREEN_DPI);
    for (const PreviewCursor& loaded : preview.cursors)
        largest = std::max(largest, std::min(cap, std::max(loaded.width, loaded.height)));
    grid.box = largest + 2 * padding;
    HGDIOBJ previous_font = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous_font);
    grid.text_height = metrics.tmHeight;
    // Each cell: the name, the cursor on light and on dark, its size.
    grid.cell_width =
        std::max(2 * grid.box, static_cast<int>(metrics.tmAveCharWidth) * NAME_CHARACTERS);
    grid.columns = std::max(1, (width - grid.gap) / (grid.cell_width + grid.gap));
    grid.cell_height = 2 * grid.text_height + grid.box + grid.gap;
    int rows = (PREVIEW_COUNT + grid.columns - 1) / grid.columns;
    grid.height = grid.gap + rows * grid.cell_height;
    return grid;
}

RECT tile_rect(const TileGrid& grid, int index, int top) {
    int x = grid.gap + (index % grid.columns) * (grid.cell_width + grid.gap);
    int y = grid.gap + (index / grid.columns) * grid.cell_height - top;
    RECT cell = {x, y, x + grid.cell_width, y + grid.cell_height - grid.gap};
    return cell;
}

int tile_at(const TileGrid& grid, int x, int y, int top) {
    for (int index = 0; index < PREVIEW_COUNT; ++index) {
        RECT cell = tile_rect(grid, index, top);
        POINT point = {x, y};
        if (PtInRect(&cell, point))
            return index;
    }
    return -1;
}

int draw_preview(HDC dc, const Preview& preview, int width, int top, HFONT font, int dpi,
                 bool focus) {
    int padding = MulDiv(PADDING, dpi, USER_DEFAULT_SCREEN_DPI);
    TileGrid grid = tile_grid(dc, preview, width, font, dpi);
    Colours colour = colours();
    HGDIOBJ previous_font = SelectObject(dc, font);
    RECT all = {0, 0, width, grid.height - top};
    fill(dc, all, colour.background);
    SetBkMode(dc, TRANSPARENT);
    int inside = grid.box - 2 * padding;
    for (int index = 0; index < PREVIEW_COUNT; ++index) {
        const PreviewCursor& loaded = preview.cursors[index];
        RECT cell = tile_rect(grid, index, top);
        SetTextColor(dc, loaded.fails ? colour.failure : colour.text);
        RECT name = {cell.left, cell.top, cell.right, cell.top + grid.text_height};
        text_in(dc, label(index), name);
        const COLORREF grounds[] = {LIGHT_GROUND, DARK_GROUND};
        int box_top = cell.top + grid.text_height;
        for (int half = 0; half < 2; ++half) {
            RECT box = {cell.left + half * grid.box, box_top, cell.left + (half + 1) * grid.box,
                        box_top + grid.box};
            fill(dc, box, grounds[half]);
            frame(dc, box, loaded.fails ? colour.failure : colour.frame);
            // At the cursor's real size: no stretching by the preview, but
            // one larger than a tile shrunk to it, its shape kept.
            int side = std::max(loaded.width, loaded.height);
            int drawn_width = 0, drawn_height = 0;
            if (side > inside) {
                drawn_width = MulDiv(loaded.width, inside, side);
                drawn_height = MulDiv(loaded.height, inside, side);
            }
            if (loaded.cursor)
                DrawIconEx(dc, box.left + padding, box.top + padding, loaded.cursor, drawn_width,
                           drawn_height, loaded.step, NULL, DI_NORMAL);
        }
        RECT size = {cell.left, box_top + grid.box, cell.right,
                     box_top + grid.box + grid.text_height};
        std::wstring words = size_words(loaded);
        if (std::max(loaded.width, loaded.height) > inside && !loaded.fails)
            words += L", shown smaller here";
        text_in(dc, words, size);
        if (focus && index == preview.focused) {
            RECT ring = cell;
            InflateRect(&ring, grid.gap / 2, grid.gap / 2);
            SetTextColor(dc, colour.text);
            DrawFocusRect(dc, &ring);
        }
    }
    SelectObject(dc, previous_font);
    return grid.height;
}
