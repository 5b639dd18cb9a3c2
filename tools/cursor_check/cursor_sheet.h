// A picture of the player's cursors as the game shows them at one scale.
#pragma once

#include <string>

#include "scaling/size_rule.h"

// Draws every slot 0 to 21, base and animated, at the size it loads at
// `size` (the size rule's, as load_cursor_set uses it), on a light and a dark ground, its
// hotspot ringed, its number above it, under `caption`; writes it to
// `png_path` (UTF-8). A missing file with a default is drawn from the
// default (the game writes it), an animated slot with neither shows its base
// cursor; a file that does not load is crossed out in red over what the game
// shows instead. False when the picture can't be made or written.
bool write_cursor_sheet(const std::string& png_path, const CursorSize& size,
                        const std::string& caption);
