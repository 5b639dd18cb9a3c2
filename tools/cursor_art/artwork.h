// The 23 default cursor images: what each slot looks like and which file
// carries it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"

namespace cursor_art {

struct CursorFrame {
    Image image;
    int hotspot_x = 0;
    int hotspot_y = 0;
};

struct CursorFile {
    std::uint32_t resource_id = 0;
    int slot = 0;
    std::string relative_path;  // below the cursor folder, '/' separated
    std::string looks;          // what the picture shows, in a player's words
    bool header_has_size = false;  // anih carries width/height/bpp/planes
    std::uint32_t rate = 0;        // sixtieths of a second per frame
    std::vector<CursorFrame> frames;
};

// Draws every default cursor, in resource identifier order.
std::vector<CursorFile> build_default_cursors();

}  // namespace cursor_art
