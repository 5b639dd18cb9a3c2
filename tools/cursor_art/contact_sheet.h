// A PNG overview of every default cursor frame at 1x and 2x, on a light and
// on a dark background, for reviewing the artwork.
#pragma once

#include <string>
#include <vector>

#include "artwork.h"

namespace cursor_art {

// Returns false if the PNG could not be written.
bool write_contact_sheet(const std::vector<CursorFile>& files, const std::string& path);

}  // namespace cursor_art
