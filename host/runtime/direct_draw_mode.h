// The host's DirectDraw mode, as the game draws: the DirectDraw module of the
// game's folder or the system's, exclusive full-screen at 640x480 in 8 bits,
// and a frame drawn into the primary surface every 50 ms. A DirectDraw
// wrapper beside the host magnifies those frames into its window.
#pragma once

#include <windows.h>

// The host's timer that draws a frame.
const UINT_PTR FRAME_TIMER_ID = 0x46524d;
const UINT FRAME_INTERVAL_MS = 50;

// Loads ddraw.dll, takes the window exclusively, sets the game's mode and
// starts the frames. Prints what failed and returns false when no frame can
// be drawn (a mode the system refuses is only reported).
bool start_direct_draw(HWND window);

// Draws the next frame into the primary surface (on the frame timer).
void draw_direct_draw_frame();

// Paints the last frame, magnified to the rectangle `client` (the picture's
// place), as a wrapper shows it; false when the host does not draw through
// DirectDraw.
bool paint_direct_draw_frame(HDC dc, const RECT& client);

// Where the stand-in wrapper shows the picture in the client area now,
// whether it draws the game's cursor into the frame, and the side it
// resamples that cursor to first (0: its own size; `cursor_side` may be
// null); false with any other DirectDraw module.
bool direct_draw_picture(RECT* picture, bool* draws_cursor, int* cursor_side = NULL);

// The file the DirectDraw module was loaded from ("" before it is).
const char* direct_draw_module_path();
