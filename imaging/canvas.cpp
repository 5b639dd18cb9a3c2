#include "imaging/canvas.h"

#include "stb_image_write.h"

namespace {

const int BYTES_PER_PIXEL = 4;

}  // namespace

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
    if (!canvas->dc)
        return false;
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

void picture_from_bgrx(const void* bits, int width, int height, RgbaImage* picture) {
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

bool write_png(const RgbaImage& picture, const char* path) {
    return stbi_write_png(path, picture.width, picture.height, BYTES_PER_PIXEL,
                          picture.rgba.data(), picture.width * BYTES_PER_PIXEL) != 0;
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
