// The preview's control: the cursors drawn by draw_preview in a child
// window that scrolls (bar, wheel and arrow keys) when they don't fit.
#pragma once

#include <windows.h>

#include "tools/settings_window/cursor_preview.h"

// Registers the control's window class (PREVIEW_CLASS).
bool register_preview_class(HINSTANCE instance);

// Shows `preview` in the control, numbered in `font`, spaced for `dpi`; the
// preview and the font must outlive their showing.
void show_preview(HWND control, const Preview* preview, HFONT font, int dpi);
