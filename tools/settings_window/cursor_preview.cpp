#include "tools/settings_window/cursor_preview.h"

#include <stdio.h>

#include <algorithm>
#include <string>

#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"
#include "imaging/canvas.h"
#include "tools/cursor_check/console_text.h"

namespace {

const int ANIMATED_SLOT = 5;
// Spacing at 96 DPI, scaled to the window's.
const int PADDING = 6;
const int GAP = 8;
const int SMALLEST_BOX = 32;
const COLORREF BACKGROUND = RGB(236, 238, 242);
const COLORREF FRAME = RGB(170, 174, 182);
const COLORREF TEXT = RGB(30, 32, 38);
const COLORREF FAILURE = RGB(214, 40, 40);

bool file_there(const char* path) {
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
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
    }
    if (!loaded.cursor)
        loaded.cursor = load_default_cursor(module_handle, identifier, size.scale, size.side);
    if (loaded.cursor)
        probe_cursor_size(loaded.cursor, &loaded.width, &loaded.height);
    return loaded;
}

std::wstring label(int index) {
    if (index == LOADED_SLOT_COUNT)
        return std::to_wstring(ANIMATED_SLOT) + L" animated";
    return std::to_wstring(index);
}

}  // namespace

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

int draw_preview(HDC dc, const Preview& preview, int width, int top, HFONT font, int dpi) {
    int padding = MulDiv(PADDING, dpi, USER_DEFAULT_SCREEN_DPI);
    int gap = MulDiv(GAP, dpi, USER_DEFAULT_SCREEN_DPI);
    int largest = MulDiv(SMALLEST_BOX, dpi, USER_DEFAULT_SCREEN_DPI);
    for (const PreviewCursor& loaded : preview.cursors)
        largest = std::max(largest, std::max(loaded.width, loaded.height));
    int side = largest + 2 * padding;
    HGDIOBJ previous_font = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    int text_height = metrics.tmHeight;
    // Each cell: the number, then the cursor on light and on dark.
    int cell_width = std::max(2 * side, static_cast<int>(metrics.tmAveCharWidth) * 11);
    int columns = std::max(1, (width - gap) / (cell_width + gap));
    int cell_height = text_height + side + gap;
    int rows = (PREVIEW_COUNT + columns - 1) / columns;
    int height = gap + rows * cell_height;

    RECT all = {0, 0, width, height - top};
    fill(dc, all, BACKGROUND);
    SetBkMode(dc, TRANSPARENT);
    for (int index = 0; index < PREVIEW_COUNT; ++index) {
        const PreviewCursor& loaded = preview.cursors[index];
        int x = gap + (index % columns) * (cell_width + gap);
        int y = gap + (index / columns) * cell_height - top;
        SetTextColor(dc, loaded.fails ? FAILURE : TEXT);
        std::wstring words = label(index);
        TextOutW(dc, x, y, words.c_str(), static_cast<int>(words.size()));
        const COLORREF grounds[] = {LIGHT_GROUND, DARK_GROUND};
        for (int half = 0; half < 2; ++half) {
            RECT box = {x + half * side, y + text_height, x + (half + 1) * side,
                        y + text_height + side};
            fill(dc, box, grounds[half]);
            frame(dc, box, loaded.fails ? FAILURE : FRAME);
            // At the cursor's real size: no stretching by the preview.
            if (loaded.cursor)
                DrawIconEx(dc, box.left + padding, box.top + padding, loaded.cursor, 0, 0, 0, NULL,
                           DI_NORMAL);
        }
    }
    SelectObject(dc, previous_font);
    return height;
}
