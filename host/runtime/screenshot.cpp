#include "host/runtime/screenshot.h"

#include <stdlib.h>

#include "base/icon_bitmaps.h"
#include "host/host_setup.h"
#include "host/runtime/direct_draw_mode.h"
#include "host/runtime/host_window.h"

namespace {

void draw_cursor(HDC dc, POINT at, UINT frame) {
    HCURSOR cursor = GetCursor();
    ICONINFO info = {};
    if (!cursor || !GetIconInfo(cursor, &info))
        return;
    DrawIconEx(dc, at.x - static_cast<int>(info.xHotspot), at.y - static_cast<int>(info.yHotspot),
               cursor, 0, 0, frame, NULL, DI_NORMAL);
    delete_icon_bitmaps(info);
}

// The picture as the stand-in wrapper shows it: inside black borders, with
// the cursor on top, or drawn into the game's frame before it is magnified
// where the wrapper does that.
void paint_wrapper_picture(HDC dc, const RECT& client, const RECT& picture, bool in_frame,
                           POINT cursor_at, UINT frame) {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!in_frame) {
        paint_direct_draw_frame(dc, picture);
        draw_cursor(dc, cursor_at, frame);
        return;
    }
    Canvas game;
    if (!open_canvas(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT, &game))
        return;
    RECT screen = {0, 0, HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT};
    paint_direct_draw_frame(game.dc, screen);
    int width = picture.right - picture.left, height = picture.bottom - picture.top;
    POINT in_game = {MulDiv(cursor_at.x - picture.left, HOST_SCREEN_WIDTH, width),
                     MulDiv(cursor_at.y - picture.top, HOST_SCREEN_HEIGHT, height)};
    draw_cursor(game.dc, in_game, frame);
    StretchBlt(dc, picture.left, picture.top, width, height, game.dc, 0, 0, HOST_SCREEN_WIDTH,
               HOST_SCREEN_HEIGHT, SRCCOPY);
    close_canvas(&game);
}

}  // namespace

bool measure_cursor(HCURSOR cursor, int* width, int* height) {
    ICONINFO info = {};
    if (!cursor || !GetIconInfo(cursor, &info))
        return false;
    BITMAP bitmap = {};
    bool ok = GetObjectA(info.hbmMask, sizeof bitmap, &bitmap) != 0;
    if (ok) {
        *width = bitmap.bmWidth;
        *height = abs(bitmap.bmHeight) / (info.hbmColor ? 1 : 2);
    }
    delete_icon_bitmaps(info);
    return ok;
}

bool render_client(HWND window, POINT cursor_at, UINT frame, RgbaImage* picture) {
    SIZE size;
    if (!real_client_size(window, &size) || size.cx <= 0 || size.cy <= 0)
        return false;
    RECT client = {0, 0, size.cx, size.cy};
    Canvas canvas;
    if (!open_canvas(client.right, client.bottom, &canvas))
        return false;
    RECT shown;
    bool in_frame = false;
    if (direct_draw_picture(&shown, &in_frame))
        paint_wrapper_picture(canvas.dc, client, shown, in_frame, cursor_at, frame);
    else if (paint_direct_draw_frame(canvas.dc, client))
        draw_cursor(canvas.dc, cursor_at, frame);
    else {
        paint_host_scene(canvas.dc, client);
        draw_cursor(canvas.dc, cursor_at, frame);
    }
    GdiFlush();
    picture_from_bgrx(canvas.bits, client.right, client.bottom, picture);
    close_canvas(&canvas);
    return true;
}

bool save_client_png(HWND window, POINT cursor_at, const char* path) {
    RgbaImage picture;
    return render_client(window, cursor_at, 0, &picture) && write_png(picture, path);
}
