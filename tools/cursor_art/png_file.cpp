#include "png_file.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace cursor_art {

bool write_png_rgb(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    constexpr int CHANNELS = 3;
    return stbi_write_png(path.c_str(), width, height, CHANNELS, rgb.data(), width * CHANNELS) != 0;
}

}  // namespace cursor_art
