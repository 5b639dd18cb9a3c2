#include "host/screenshot.h"

#include <stdlib.h>

#include "host/host_window.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"

namespace {

const int BYTES_PER_PIXEL = 4;

void draw_cursor(HDC dc, POINT at) {
    HCURSOR cursor = GetCursor();
    ICONINFO info = {};
    if (!cursor || !GetIconInfo(cursor, &info))
        return;
    DrawIconEx(dc, at.x - static_cast<int>(info.xHotspot), at.y - static_cast<int>(info.yHotspot),
               cursor, 0, 0, 0, NULL, DI_NORMAL);
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

bool save_client_png(HWND window, POINT cursor_at, const char* path) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return false;
    int width = client.right, height = client.bottom;

    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down rows, as PNG stores them
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!bitmap) {
        DeleteDC(dc);
        return false;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    paint_host_scene(dc, client);
    draw_cursor(dc, cursor_at);
    GdiFlush();

    // BGRX to opaque RGBA.
    unsigned char* pixels = static_cast<unsigned char*>(bits);
    for (int i = 0; i < width * height; ++i) {
        unsigned char* p = pixels + i * BYTES_PER_PIXEL;
        unsigned char blue = p[0];
        p[0] = p[2];
        p[2] = blue;
        p[3] = 0xff;
    }
    bool ok = stbi_write_png(path, width, height, BYTES_PER_PIXEL, pixels,
                             width * BYTES_PER_PIXEL) != 0;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ok;
}
