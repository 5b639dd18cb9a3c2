// Pictures of the stand-in host's window. X screenshots leave the cursor out,
// so the host draws its scene and the current system cursor itself.
#pragma once

#include <windows.h>

#include <vector>

// Top-down rows of opaque RGBA pixels, as PNG stores them.
struct Picture {
    int width;
    int height;
    std::vector<unsigned char> rgba;
};

// Renders the client area with the cursor that GetCursor returns drawn with
// its hotspot at the given client point. `frame` picks the frame of an
// animated cursor (the system steps through them over time).
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

bool render_client(HWND window, POINT cursor_at, UINT frame, Picture* picture);

// Copies BGRX rows (a 32-bit top-down DIB) into a picture.
void picture_from_bgrx(const void* bits, int width, int height, Picture* picture);

// Writes a picture as a PNG file.
bool write_png(const Picture& picture, const char* path);

// render_client with the first frame, written as a PNG file.
bool save_client_png(HWND window, POINT cursor_at, const char* path);

// Width and height of a cursor's image in pixels; false for a null or
// unmeasurable handle.
bool measure_cursor(HCURSOR cursor, int* width, int* height);
