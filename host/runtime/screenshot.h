// Pictures of the stand-in host's window. X screenshots leave the cursor out,
// so the host draws its scene and the current system cursor itself.
#pragma once

#include <windows.h>

#include "imaging/canvas.h"

// Renders the client area (the host's scene, or in DirectDraw mode its last
// frame magnified to the client area) with the cursor that GetCursor returns drawn with
// its hotspot at the given client point. `frame` picks the frame of an
// animated cursor (the system steps through them over time).
bool render_client(HWND window, POINT cursor_at, UINT frame, RgbaImage* picture);

// render_client with the first frame, written as a PNG file.
bool save_client_png(HWND window, POINT cursor_at, const char* path);

// Width and height of a cursor's image in pixels; false for a null or
// unmeasurable handle.
bool measure_cursor(HCURSOR cursor, int* width, int* height);
