// The 23 cursors the game shows (slots 0 to 21 of the base set and the
// animated cursor 5), loaded from the game's cursor folder by the plug-in's
// own code at the scale the game would use, and drawn at their real size on
// a light and a dark ground.
#pragma once

#include <windows.h>

#include <string>

#include "scaling/size_rule.h"

// Cursors in the preview: base slots 0 to 21, then animated 5.
const int PREVIEW_COUNT = 23;
// The grounds each cursor is drawn on: white cursors are faint on white.
const COLORREF LIGHT_GROUND = RGB(255, 255, 255);
const COLORREF DARK_GROUND = RGB(40, 42, 48);

// The steps of an animated cursor the preview plays, at most: enough for
// any animation players make; longer ones play their first steps.
const int PREVIEW_STEPS = 256;

struct PreviewCursor {
    HCURSOR cursor;  // what the game shows; null when nothing loads
    bool fails;      // the player's file does not load; the built-in one shows
    bool players;    // a file of the player's (not the default) is there
    int width, height;
    int steps;                      // 1 for a still cursor
    DWORD step_ms[PREVIEW_STEPS];   // how long each step shows, its file's rates
    int step;                       // the step shown now
    DWORD step_started;             // when it was shown (GetTickCount)
};


struct Preview {
    PreviewCursor cursors[PREVIEW_COUNT];
    int focused;  // the tile the keyboard is on
};

// Moves every animated cursor to the step its rates give at `now`; true
// when one changed.
bool advance_animation(Preview* preview, DWORD now);

// Where the tiles lie in the drawing: a grid of cells, each with the
// tile's name, the cursor on light and on dark, and its size.
struct TileGrid {
    int columns, cell_width, cell_height, gap, box, text_height, height;
};

// The slot file a tile shows: the base cursor's, or animated cursor 5's.
const char* tile_pattern(int index);
int tile_slot(int index);
int tile_default_id(int index);

// The tile's name as the guide gives it, with what it shows: "cursor 12,
// pointing hand: your file, 48x48".
std::wstring tile_name(const Preview& preview, int index);

// Loads every cursor at `size` (as the game's load of the cursor folders
// does), replacing and destroying those loaded before.
void load_preview(Preview* preview, const CursorSize& size);

// Destroys the loaded cursors.
void free_preview(Preview* preview);

// The grid of the preview at `width` pixels wide with `font` at `dpi`.
TileGrid tile_grid(HDC dc, const Preview& preview, int width, HFONT font, int dpi);

// The cell of tile `index` in a drawing scrolled by `top`.
RECT tile_rect(const TileGrid& grid, int index, int top);

// The tile at (x, y) of a drawing scrolled by `top`; -1 for none.
int tile_at(const TileGrid& grid, int x, int y, int top);

// Draws the preview into `dc` at `width` pixels wide from `top` (scrolled
// content: the first row at -top), with `font` for the words and spacing
// for `dpi`, and the focused tile marked when `focus` is set; returns the
// height of the whole drawing. Cursors are drawn at their real size, those
// larger than a tile shrunk to it with their size written under them; in
// a high-contrast theme in its colours.
int draw_preview(HDC dc, const Preview& preview, int width, int top, HFONT font, int dpi,
                 bool focus);
