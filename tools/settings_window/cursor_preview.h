// The 23 cursors the game shows (slots 0 to 21 of the base set and the
// animated cursor 5), loaded from the game's cursor folder by the plug-in's
// own code at the scale the game would use, and drawn at their real size on
// a light and a dark ground.
#pragma once

#include <windows.h>

#include "scaling/size_rule.h"

// Cursors in the preview: base slots 0 to 21, then animated 5.
const int PREVIEW_COUNT = 23;
// The grounds each cursor is drawn on: white cursors are faint on white.
const COLORREF LIGHT_GROUND = RGB(255, 255, 255);
const COLORREF DARK_GROUND = RGB(40, 42, 48);

struct PreviewCursor {
    HCURSOR cursor;  // what the game shows; null when nothing loads
    bool fails;      // the player's file does not load; the built-in one shows
    int width, height;
};

struct Preview {
    PreviewCursor cursors[PREVIEW_COUNT];
};

// Loads every cursor at `size` (as the game's load of the cursor folders
// does), replacing and destroying those loaded before.
void load_preview(Preview* preview, const CursorSize& size);

// Destroys the loaded cursors.
void free_preview(Preview* preview);

// Draws the preview into `dc` at `width` pixels wide from `top` (scrolled
// content: the first row at -top), with `font` for the numbers and spacing
// for `dpi`; returns the height of the whole drawing.
int draw_preview(HDC dc, const Preview& preview, int width, int top, HFONT font, int dpi);
