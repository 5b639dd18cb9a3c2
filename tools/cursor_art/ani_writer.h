// Byte layout of the animated cursor files (RIFF form "ACON").
#pragma once

#include <cstdint>
#include <vector>

#include "artwork.h"

namespace cursor_art {

// Encodes one complete file: RIFF header, "anih", then a "LIST" "fram" with
// one "icon" chunk per frame, each frame a one-image cursor-format file.
// Aborts with a message if any length differs from the fixed sizes the
// module's loader and resources are laid out for.
std::vector<std::uint8_t> encode_ani(const CursorFile& file);

}  // namespace cursor_art
