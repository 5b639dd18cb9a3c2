#include "tests/support/cursor_files.h"

#include "tests/support/cursor_builders.h"

std::string make_cur(int width, int height, int hotspot_x, int hotspot_y, int bits_per_pixel) {
    return icon_file(2, {{width, height, dib_image(width, height, bits_per_pixel), hotspot_x,
                          hotspot_y}});
}

std::string make_ani(int width, int height, int frames, bool size_in_header) {
    AniLayout layout;
    layout.frames.assign(static_cast<size_t>(frames), cursor_file(width, height));
    if (size_in_header) {
        layout.width = static_cast<uint32_t>(width);
        layout.height = static_cast<uint32_t>(height);
    }
    return ani_file(layout);
}

unsigned read_u32(const std::string& bytes, size_t offset) { return get32(bytes, offset); }

void write_u32(std::string& bytes, size_t offset, unsigned value) { set32(bytes, offset, value); }
