// The settings window's controls: created in the order Tab goes through
// them, placed for the window's size and display scaling, in the system's
// message font at that scaling.
#pragma once

#include <windows.h>

// The window's size at 96 DPI when it opens (all 23 cursors at their own
// size in view), and the smallest it may get.
const int WINDOW_WIDTH = 800;
const int WINDOW_HEIGHT = 790;
const int SMALLEST_WIDTH = 640;
const int SMALLEST_HEIGHT = 520;

// Creates every control of `window`, in tab order, with its words.
void create_controls(HWND window);

// Places the controls for the window's client area at `dpi`.
void lay_out(HWND window, int dpi);

// The DPI the window is shown at (its monitor's where Windows tells it).
int window_dpi(HWND window);

// The system's message font at `dpi`; the caller deletes it.
HFONT message_font(int dpi);

// Sets `font` on every control of `window`.
void use_font(HWND window, HFONT font);
