// The preview's control: the cursors drawn by draw_preview in a child
// window that scrolls (bar, wheel, Page Up and Page Down) when they don't
// fit. Each cursor is a tile the arrow keys and the mouse move to; the
// control's text names the tile it is on, for screen readers. Enter, the
// menu key or a right click offer "Choose a file..." and "Use the default"
// for that tile (sent to the parent as WM_COMMAND with ID_CHOOSE_FILE or
// ID_USE_DEFAULT), and a file dropped onto a tile goes to the parent as
// WM_DROPFILES with that tile focused.
#pragma once

#include <windows.h>

#include "tools/settings_window/cursor_preview.h"

// Registers the control's window class (PREVIEW_CLASS).
bool register_preview_class(HINSTANCE instance);

// Shows `preview` in the control, its words in `font`, spaced for `dpi`;
// the preview and the font must outlive their showing. The control moves
// preview->focused.
void show_preview(HWND control, Preview* preview, HFONT font, int dpi);
