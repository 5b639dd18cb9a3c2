#include "host/runtime/screenshot.h"

#include <stdlib.h>

#include "host/runtime/host_window.h"

#include "stb_image_write.h"

namespace {

const int BYTES_PER_PIXEL = 4;

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

void picture_from_bgrx(const void* bits, int width, int height, Picture* picture) {
    picture->width = width;
    picture->height = height;
    picture->rgba.resize(static_cast<size_t>(width) * height * BYTES_PER_PIXEL);
    const unsigned char* from = static_cast<const unsigned char*>(bits);
    unsigned char* to = picture->rgba.data();
    for (size_t i = 0; i < picture->rgba.size(); i += BYTES_PER_PIXEL) {
        to[i] = from[i + 2];
        to[i + 1] = from[i + 1];
        to[i + 2] = from[i];
        to[i + 3] = 0xff;
    }
}

bool open_canvas(int width, int height, Canvas* canvas) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down rows, as PNG stores them
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    canvas->bits = NULL;
    canvas->dc = CreateCompatibleDC(NULL);
    canvas->bitmap = CreateDIBSection(canvas->dc, &format, DIB_RGB_COLORS, &canvas->bits, NULL, 0);
    if (!canvas->bitmap) {
        DeleteDC(canvas->dc);
        return false;
    }
    canvas->previous = SelectObject(canvas->dc, canvas->bitmap);
    return true;
}

void close_canvas(Canvas* canvas) {
    SelectObject(canvas->dc, canvas->previous);
    DeleteObject(canvas->bitmap);
    DeleteDC(canvas->dc);
}

bool render_client(HWND window, POINT cursor_at, UINT frame, Picture* picture) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return false;
    Canvas canvas;
    if (!open_canvas(client.right, client.bottom, &canvas))
        return false;
    paint_host_scene(canvas.dc, client);
    draw_cursor(canvas.dc, cursor_at, frame);
    GdiFlush();
    picture_from_bgrx(canvas.bits, client.right, client.bottom, picture);
    close_canvas(&canvas);
    return true;
}

bool write_png(const Picture& picture, const char* path) {
    return stbi_write_png(path, picture.width, picture.height, BYTES_PER_PIXEL,
                          picture.rgba.data(), picture.width * BYTES_PER_PIXEL) != 0;
}

bool save_client_png(HWND window, POINT cursor_at, const char* path) {
    Picture picture;
    return render_client(window, cursor_at, 0, &picture) && write_png(picture, path);
}
