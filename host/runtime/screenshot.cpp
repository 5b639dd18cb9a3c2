#include "host/runtime/screenshot.h"

#include <stdlib.h>

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
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
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
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return ok;
}

bool render_client(HWND window, POINT cursor_at, UINT frame, Picture* picture) {
    SIZE size;
    if (!real_client_size(window, &size) || size.cx <= 0 || size.cy <= 0)
        return false;
    RECT client = {0, 0, size.cx, size.cy};
    Canvas canvas;
    if (!open_canvas(client.right, client.bottom, &canvas))
        return false;
    if (!paint_direct_draw_frame(canvas.dc, client))
        paint_host_scene(canvas.dc, client);
    draw_cursor(canvas.dc, cursor_at, frame);
    GdiFlush();
    picture_from_bgrx(canvas.bits, client.right, client.bottom, picture);
    close_canvas(&canvas);
    return true;
}

bool save_client_png(HWND window, POINT cursor_at, const char* path) {
    Picture picture;
    return render_client(window, cursor_at, 0, &picture) && write_png(picture, path);
}
