#include "host/tour/tour_sheet.h"

#include <windows.h>

#include <string.h>

namespace {

const int COLUMNS = 8;
const int TILE_WIDTH = 200;
const int CAPTION_HEIGHT = 72;
const int MARGIN = 12;
const int TITLE_HEIGHT = 36;
const int FRAME = 2;
const int BYTES_PER_PIXEL = 4;
const COLORREF SHEET_BACKGROUND = RGB(0x1e, 0x21, 0x28);
const COLORREF CAPTION_TEXT = RGB(0xe8, 0xe4, 0xda);
const COLORREF PASSED_FRAME = RGB(0x4c, 0xb0, 0x50);
const COLORREF FAILED_FRAME = RGB(0xe0, 0x40, 0x40);

// Copies a picture's RGBA pixels into the BGRX rows of the sheet at (x, y).
void put_picture(unsigned char* sheet, int sheet_width, const RgbaImage& picture, int x, int y) {
    for (int row = 0; row < picture.height; ++row) {
        const unsigned char* from = &picture.rgba[static_cast<size_t>(row) * picture.width * BYTES_PER_PIXEL];
        unsigned char* to = sheet + (static_cast<size_t>(y + row) * sheet_width + x) * BYTES_PER_PIXEL;
        for (int column = 0; column < picture.width; ++column, from += 4, to += 4) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
}

void draw_caption(HDC dc, const std::string& text, RECT area) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, CAPTION_TEXT);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace

RgbaImage crop_picture(const RgbaImage& picture, int left, int top, int width, int height) {
    RgbaImage crop;
    crop.width = width;
    crop.height = height;
    crop.rgba.assign(static_cast<size_t>(width) * height * BYTES_PER_PIXEL, 0);
    for (int row = 0; row < height; ++row) {
        int y = top + row;
        for (int column = 0; column < width; ++column) {
            int x = left + column;
            unsigned char* to = &crop.rgba[(static_cast<size_t>(row) * width + column) * BYTES_PER_PIXEL];
            to[3] = 0xff;
            if (x < 0 || y < 0 || x >= picture.width || y >= picture.height)
                continue;
            memcpy(to, &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * BYTES_PER_PIXEL],
                   BYTES_PER_PIXEL);
        }
    }
    return crop;
}

bool write_contact_sheet(const std::vector<SheetTile>& tiles, const std::string& title,
                         const char* path) {
    int crop_height = 0;
    for (const SheetTile& tile : tiles)
        crop_height = tile.crop.height > crop_height ? tile.crop.height : crop_height;
    int tile_height = crop_height + CAPTION_HEIGHT;
    int rows = (static_cast<int>(tiles.size()) + COLUMNS - 1) / COLUMNS;
    int width = MARGIN + COLUMNS * (TILE_WIDTH + MARGIN);
    int height = TITLE_HEIGHT + rows * (tile_height + MARGIN) + MARGIN;

    Canvas canvas;
    if (!open_canvas(width, height, &canvas))
        return false;
    HDC dc = canvas.dc;
    void* bits = canvas.bits;
    HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT all = {0, 0, width, height};
    fill(dc, all, SHEET_BACKGROUND);
    RECT title_area = {MARGIN, MARGIN, width - MARGIN, TITLE_HEIGHT};
    draw_caption(dc, title, title_area);

    for (size_t i = 0; i < tiles.size(); ++i) {
        const SheetTile& tile = tiles[i];
        int x = MARGIN + static_cast<int>(i % COLUMNS) * (TILE_WIDTH + MARGIN);
        int y = TITLE_HEIGHT + static_cast<int>(i / COLUMNS) * (tile_height + MARGIN);
        int crop_x = x + (TILE_WIDTH - tile.crop.width) / 2;
        RECT frame = {crop_x - FRAME, y - FRAME, crop_x + tile.crop.width + FRAME,
                      y + tile.crop.height + FRAME};
        fill(dc, frame, tile.passed ? PASSED_FRAME : FAILED_FRAME);
        GdiFlush();
        put_picture(static_cast<unsigned char*>(bits), width, tile.crop, crop_x, y);
        RECT caption = {x, y + crop_height + FRAME * 2, x + TILE_WIDTH, y + tile_height};
        draw_caption(dc, tile.caption, caption);
    }
    GdiFlush();
    RgbaImage sheet;
    picture_from_bgrx(bits, width, height, &sheet);
    SelectObject(dc, old_font);
    close_canvas(&canvas);
    return write_png(sheet, path);
}
