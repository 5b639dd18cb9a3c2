// Off-screen pictures drawn with GDI and written as PNG files: the stand-in
// host's screenshots and tour sheets, and the check tool's cursor sheet.
#pragma once

#include <windows.h>

#include <vector>

// Top-down rows of opaque RGBA pixels, as PNG stores them (a cursor's own
// pixels are cursors/cursor_pixels.h's Picture).
struct RgbaImage {
    int width;
    int height;
    std::vector<unsigned char> rgba;
};

// An off-screen 32-bit top-down bitmap selected into a memory device context.
struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    void* bits;  // BGRX rows, top row first
};

// Creates a width by height canvas; false (nothing left open) on failure.
bool open_canvas(int width, int height, Canvas* canvas);

// Releases what open_canvas created.
void close_canvas(Canvas* canvas);

// Copies BGRX rows (a 32-bit top-down DIB) into a picture.
void picture_from_bgrx(const void* bits, int width, int height, RgbaImage* picture);

// Fills `area` with a solid colour.
void fill(HDC dc, const RECT& area, COLORREF colour);

// Draws a one-pixel frame of a solid colour around `area`.
void frame(HDC dc, const RECT& area, COLORREF colour);

// Writes a picture as a PNG file.
bool write_png(const RgbaImage& picture, const char* path);
