// A PNG overview of every default cursor frame at 1x and 2x (as the game
// shows it), on a light and on a dark background, each with its number and
// in words what it shows, then each at 2x and 3x with square and smooth
// edges, under a legend saying what the marks mean: the players' chart of
// cursor numbers (Quillmere-cursor-numbers.png in the zip) and the
// artwork's review.
#pragma once

#include <string>
#include <vector>

#include "artwork.h"

namespace cursor_art {

// Returns false if the PNG could not be written.
bool write_contact_sheet(const std::vector<CursorFile>& files, const std::string& path);

}  // namespace cursor_art
