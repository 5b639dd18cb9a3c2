// Thin wrapper over the stb PNG encoder, kept in its own file so the
// third-party code's warning exemptions stop at that file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cursor_art {

// Writes 8-bit RGB rows, top to bottom. Returns false if writing failed.
bool write_png_rgb(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace cursor_art
