#include "tools/cursor_check/cursor_sheet.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"
#include "imaging/canvas.h"
#include "tools/cursor_check/slot_check.h"

namespace {

const int COLUMNS = 11;
const int ROWS_PER_SET = (LOADED_SLOT_COUNT + COLUMNS - 1) / COLUMNS;
const int SET_COUNT = 2;
const int MARGIN = 12;
const int GAP = 6;
const int PADDING = 6;
const int TEXT_HEIGHT = 18;
const int SMALLEST_CURSOR_SIDE = 32;
const int CROSS_WIDTH = 3;

const COLORREF BACKGROUND = RGB(236, 238, 242);
const COLORREF CELL = RGB(255, 255, 255);
const COLORREF FRAME = RGB(170, 174, 182);
const COLORREF TEXT = RGB(30, 32, 38);
const COLORREF STAND_IN_TEXT = RGB(150, 154, 162);
const COLORREF FAILURE = RGB(214, 40, 40);

struct SheetSlot {
    HCURSOR cursor;   // what the game shows; null when the file does not load
    bool owned;       // this slot's handle, to be destroyed with the sheet
    bool stand_in;    // an animated slot showing its base cursor
    int width;
    int height;
};


SheetSlot load_slot(const char* pattern, int identifier, int slot, float scale,
                    const SheetSlot* base) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, pattern, slot);
    SheetSlot sheet_slot = {};
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        sheet_slot.cursor = load_cursor_file(path, scale);
    else if (has_default_cursor(identifier))
        sheet_slot.cursor = load_default_cursor(module_handle, identifier, scale);
    else if (base) {
        sheet_slot = *base;
        sheet_slot.owned = false;
        sheet_slot.stand_in = true;
        return sheet_slot;
    }
    sheet_slot.owned = sheet_slot.cursor != NULL;
    if (sheet_slot.cursor)
        probe_cursor_size(sheet_slot.cursor, &sheet_slot.width, &sheet_slot.height);
    return sheet_slot;
}

void fill(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

void frame(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &area, brush);
    DeleteObject(brush);
}

void text(HDC dc, int x, int y, const char* words, COLORREF colour) {
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, words, static_cast<int>(strlen(words)));
}

void cross(HDC dc, const RECT& area) {
    HPEN pen = CreatePen(PS_SOLID, CROSS_WIDTH, FAILURE);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, area.left + PADDING, area.top + PADDING, NULL);
    LineTo(dc, area.right - PADDING, area.bottom - PADDING);
    MoveToEx(dc, area.right - PADDING, area.top + PADDING, NULL);
    LineTo(dc, area.left + PADDING, area.bottom - PADDING);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

// One cell: the number on top, the cursor (hotspot ignored) in a box below.
void draw_cell(HDC dc, int x, int y, int side, int slot, const SheetSlot& sheet_slot) {
    char number[16];
    snprintf(number, sizeof number, "%d", slot);
    bool fails = !sheet_slot.cursor;
    text(dc, x, y, number, fails ? FAILURE : sheet_slot.stand_in ? STAND_IN_TEXT : TEXT);
    RECT box = {x, y + TEXT_HEIGHT, x + side, y + TEXT_HEIGHT + side};
    fill(dc, box, CELL);
    frame(dc, box, fails ? FAILURE : FRAME);
    if (fails)
        cross(dc, box);
    else
        DrawIconEx(dc, box.left + PADDING, box.top + PADDING, sheet_slot.cursor, 0, 0, 0, NULL,
                   DI_NORMAL);
}

const char* const SET_TITLES[SET_COUNT] = {
    "base cursors",
    "animated set (grey number: no file of its own, the base cursor shows)",
};

bool draw_and_write(const SheetSlot slots[SET_COUNT][LOADED_SLOT_COUNT], const char* png_path,
                    const char* caption) {
    int largest = SMALLEST_CURSOR_SIDE;
    for (int set = 0; set < SET_COUNT; ++set)
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
            largest = std::max(largest, std::max(slots[set][slot].width, slots[set][slot].height));
    int side = largest + 2 * PADDING;
    int cell_height = TEXT_HEIGHT + side + GAP;
    int set_height = TEXT_HEIGHT + ROWS_PER_SET * cell_height;
    int width = 2 * MARGIN + COLUMNS * (side + GAP) - GAP;
    int height = 2 * MARGIN + TEXT_HEIGHT + GAP + SET_COUNT * set_height;

    Canvas canvas;
    if (!open_canvas(width, height, &canvas))
        return false;
    HDC dc = canvas.dc;
    HGDIOBJ previous_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    RECT all = {0, 0, width, height};
    fill(dc, all, BACKGROUND);
    text(dc, MARGIN, MARGIN, caption, TEXT);
    int y = MARGIN + TEXT_HEIGHT + GAP;
    for (int set = 0; set < SET_COUNT; ++set, y += set_height) {
        text(dc, MARGIN, y, SET_TITLES[set], TEXT);
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
            draw_cell(dc, MARGIN + (slot % COLUMNS) * (side + GAP),
                      y + TEXT_HEIGHT + (slot / COLUMNS) * cell_height, side, slot,
                      slots[set][slot]);
    }
    GdiFlush();
    Picture picture;
    picture_from_bgrx(canvas.bits, width, height, &picture);
    SelectObject(dc, previous_font);
    close_canvas(&canvas);
    return write_png(picture, png_path);
}

}  // namespace

bool write_cursor_sheet(const char* png_path, float scale, const char* caption) {
    SheetSlot slots[SET_COUNT][LOADED_SLOT_COUNT] = {};
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        slots[0][slot] = load_slot(BASE_CURSOR_PATTERN, BASE_DEFAULT_FIRST_ID + slot, slot, scale,
                                   NULL);
        slots[1][slot] = load_slot(ANIMATED_CURSOR_PATTERN, ANIMATED_DEFAULT_FIRST_ID + slot, slot,
                                   scale, &slots[0][slot]);
    }
    bool written = draw_and_write(slots, png_path, caption);
    for (int set = 0; set < SET_COUNT; ++set)
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
            if (slots[set][slot].owned)
                DestroyCursor(slots[set][slot].cursor);
    return written;
}
