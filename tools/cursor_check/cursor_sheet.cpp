#include "tools/cursor_check/cursor_sheet.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "base/icon_bitmaps.h"
#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"
#include "imaging/canvas.h"
#include "stb_image_write.h"
#include "tools/cursor_check/console_text.h"
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
// Each cursor twice: on a light and a dark ground, as white cursors are
// faint on white.
const COLORREF CELL = RGB(255, 255, 255);
const COLORREF DARK_CELL = RGB(40, 42, 48);
// The hotspot, the point that clicks: a small ring around it.
const COLORREF HOTSPOT = RGB(0, 170, 255);
const int HOTSPOT_RADIUS = 3;
const int BYTES_PER_PIXEL = 4;
const COLORREF FRAME = RGB(170, 174, 182);
const COLORREF TEXT = RGB(30, 32, 38);
const COLORREF STAND_IN_TEXT = RGB(150, 154, 162);
const COLORREF FAILURE = RGB(214, 40, 40);

struct SheetSlot {
    HCURSOR cursor;  // what the game shows; null when the file does not load
    bool owned;      // this slot's handle, to be destroyed with the sheet
    bool stand_in;   // an animated slot showing its base cursor
    bool fails;      // its file does not load; what the game shows instead
    int width;
    int height;
    POINT hotspot;
};

void measure(SheetSlot* slot) {
    probe_cursor_size(slot->cursor, &slot->width, &slot->height);
    ICONINFO info = {};
    if (!GetIconInfo(slot->cursor, &info))
        return;
    slot->hotspot.x = info.xHotspot;
    slot->hotspot.y = info.yHotspot;
    delete_icon_bitmaps(info);
}

SheetSlot load_slot(const char* pattern, int identifier, int slot, const CursorSize& size,
                    const SheetSlot* base) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, pattern, slot);
    SheetSlot sheet_slot = {};
    if (GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES) {
        // A file that fails shows the built-in cursor in the game: drawn
        // crossed out over it.
        sheet_slot.cursor = load_cursor_file(path, size.scale, NULL, size.side);
        sheet_slot.fails = sheet_slot.cursor == NULL;
        if (!sheet_slot.cursor && has_default_cursor(identifier))
            sheet_slot.cursor = load_default_cursor(module_handle, identifier, size.scale, size.side);
        else if (!sheet_slot.cursor && base) {
            sheet_slot.cursor = base->cursor;
            sheet_slot.width = base->width;
            sheet_slot.height = base->height;
            sheet_slot.hotspot = base->hotspot;
            return sheet_slot;
        }
    } else if (has_default_cursor(identifier))
        sheet_slot.cursor = load_default_cursor(module_handle, identifier, size.scale, size.side);
    else if (base) {
        sheet_slot = *base;
        sheet_slot.owned = false;
        sheet_slot.stand_in = true;
        return sheet_slot;
    }
    sheet_slot.owned = sheet_slot.cursor != NULL;
    if (sheet_slot.cursor)
        measure(&sheet_slot);
    return sheet_slot;
}

void text(HDC dc, int x, int y, const char* words, COLORREF colour) {
    SetTextColor(dc, colour);
    std::wstring line = wide(words);
    TextOutW(dc, x, y, line.c_str(), static_cast<int>(line.size()));
}

int write_to_file(void* file, void* bytes, int size) {
    DWORD written = 0;
    return WriteFile(static_cast<HANDLE>(file), bytes, size, &written, NULL) &&
           written == static_cast<DWORD>(size);
}

// Writes the picture through the wide API: the folder may have any name.
bool write_picture(const RgbaImage& picture, const std::string& path) {
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // stb's writer passes no result through its callback: a failed write
    // shows in the file's size.
    int written = stbi_write_png_to_func(
        [](void* context, void* bytes, int size) { write_to_file(context, bytes, size); }, file,
        picture.width, picture.height, BYTES_PER_PIXEL, picture.rgba.data(),
        picture.width * BYTES_PER_PIXEL);
    LARGE_INTEGER size = {};
    bool complete = written && GetFileSizeEx(file, &size) && size.QuadPart > 0;
    CloseHandle(file);
    if (!complete)
        DeleteFileW(wide(path).c_str());
    return complete;
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

void ring(HDC dc, int x, int y) {
    HPEN pen = CreatePen(PS_SOLID, 1, HOTSPOT);
    HGDIOBJ previous_pen = SelectObject(dc, pen);
    HGDIOBJ previous_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, x - HOTSPOT_RADIUS, y - HOTSPOT_RADIUS, x + HOTSPOT_RADIUS + 1,
            y + HOTSPOT_RADIUS + 1);
    SelectObject(dc, previous_brush);
    SelectObject(dc, previous_pen);
    DeleteObject(pen);
}

// One cell: the number on top, the cursor in a light box and a dark box
// below, its hotspot ringed in the light one; a file that fails is crossed
// out over what the game shows instead.
void draw_cell(HDC dc, int x, int y, int side, int slot, const SheetSlot& sheet_slot) {
    char number[16];
    snprintf(number, sizeof number, "%d", slot);
    bool fails = sheet_slot.fails || !sheet_slot.cursor;
    text(dc, x, y, number, fails ? FAILURE : sheet_slot.stand_in ? STAND_IN_TEXT : TEXT);
    const COLORREF grounds[] = {CELL, DARK_CELL};
    for (int half = 0; half < 2; ++half) {
        RECT box = {x + half * side, y + TEXT_HEIGHT, x + (half + 1) * side,
                    y + TEXT_HEIGHT + side};
        fill(dc, box, grounds[half]);
        frame(dc, box, fails ? FAILURE : FRAME);
        if (sheet_slot.cursor)
            DrawIconEx(dc, box.left + PADDING, box.top + PADDING, sheet_slot.cursor, 0, 0, 0, NULL,
                       DI_NORMAL);
        if (sheet_slot.cursor && half == 0)
            ring(dc, box.left + PADDING + sheet_slot.hotspot.x,
                 box.top + PADDING + sheet_slot.hotspot.y);
        if (fails)
            cross(dc, box);
    }
}

const char* const SET_TITLES[SET_COUNT] = {
    "base cursors (each on light and dark; the blue ring marks the point that clicks; red: the "
    "file fails, the default cursor shows)",
    "animated set (grey number: no file of its own, the base cursor shows)",
};

bool draw_and_write(const SheetSlot slots[SET_COUNT][LOADED_SLOT_COUNT],
                    const std::string& png_path, const std::string& caption) {
    int largest = SMALLEST_CURSOR_SIDE;
    for (int set = 0; set < SET_COUNT; ++set)
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
            largest = std::max(largest, std::max(slots[set][slot].width, slots[set][slot].height));
    int side = largest + 2 * PADDING;
    int cell_height = TEXT_HEIGHT + side + GAP;
    int set_height = TEXT_HEIGHT + ROWS_PER_SET * cell_height;
    int width = 2 * MARGIN + COLUMNS * (2 * side + GAP) - GAP;
    int height = 2 * MARGIN + TEXT_HEIGHT + GAP + SET_COUNT * set_height;

    Canvas canvas;
    if (!open_canvas(width, height, &canvas))
        return false;
    HDC dc = canvas.dc;
    HGDIOBJ previous_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    RECT all = {0, 0, width, height};
    fill(dc, all, BACKGROUND);
    text(dc, MARGIN, MARGIN, caption.c_str(), TEXT);
    int y = MARGIN + TEXT_HEIGHT + GAP;
    for (int set = 0; set < SET_COUNT; ++set, y += set_height) {
        text(dc, MARGIN, y, SET_TITLES[set], TEXT);
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
            draw_cell(dc, MARGIN + (slot % COLUMNS) * (2 * side + GAP),
                      y + TEXT_HEIGHT + (slot / COLUMNS) * cell_height, side, slot,
                      slots[set][slot]);
    }
    GdiFlush();
    RgbaImage picture;
    picture_from_bgrx(canvas.bits, width, height, &picture);
    SelectObject(dc, previous_font);
    close_canvas(&canvas);
    return write_picture(picture, png_path);
}

}  // namespace

bool write_cursor_sheet(const std::string& png_path, const CursorSize& size,
                        const std::string& caption) {
    SheetSlot slots[SET_COUNT][LOADED_SLOT_COUNT] = {};
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        slots[0][slot] =
            load_slot(BASE_CURSOR_PATTERN, BASE_DEFAULT_FIRST_ID + slot, slot, size, NULL);
        slots[1][slot] = load_slot(ANIMATED_CURSOR_PATTERN, ANIMATED_DEFAULT_FIRST_ID + slot, slot,
                                   size, &slots[0][slot]);
    }
    bool written = draw_and_write(slots, png_path, caption);
    for (int set = 0; set < SET_COUNT; ++set)
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
            if (slots[set][slot].owned)
                DestroyCursor(slots[set][slot].cursor);
    return written;
}
