// A picture of the player's cursors as the game shows them at one scale.
#pragma once

// Draws every slot 0 to 21, base and animated, at the size it loads at
// `scale` (as load_cursor_set uses it), its number above it and a red cross
// where it does not load, under `caption`; writes it to `png_path`. A missing
// file with a default is drawn from the default (the game writes it), an
// animated slot with neither shows its base cursor. False when the picture
// can't be made or written.
bool write_cursor_sheet(const char* png_path, float scale, const char* caption);
