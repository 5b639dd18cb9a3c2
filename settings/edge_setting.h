// How the cursors' pixel art is enlarged: the Edges value under [Cursor] in
// the settings file, "smooth" (along its edges, the default) or "square"
// (square blocks of its pixels). Read once at start-up, like Size.
#pragma once

#include "cursors/cursor_pixels.h"

const char SETTINGS_EDGES_KEY[] = "Edges";
const char EDGES_SMOOTH_WORD[] = "smooth";
const char EDGES_SQUARE_WORD[] = "square";

// What an Edges value selects: "square" (in any case) square blocks,
// anything else smooth. `known` (may be null) says whether the value was one
// of the two words.
EdgeStyle edges_of(const char* value, bool* known);

// The Edges value of the settings file; smooth when there is none.
EdgeStyle read_edges_setting();

// The word the settings file uses for `edges`.
const char* edges_word(EdgeStyle edges);
