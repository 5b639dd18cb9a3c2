#include "tests/support/cursor_files.h"

namespace {

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>((value >> 8) & 0xff);
}

void put32(std::string& out, unsigned value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

int mask_row_bytes(int width) { return ((width + 31) / 32) * 4; }

std::string bitmap_image(int width, int height, int bits_per_pixel) {
    std::string image;
    int colour_bytes;
    std::string palette;
    if (bits_per_pixel == 1) {
        colour_bytes = mask_row_bytes(width) * height;
        put32(palette, 0x000000);
        put32(palette, 0xffffff);
    } else {
        colour_bytes = width * height * 4;
    }
    int mask_bytes = mask_row_bytes(width) * height;
    put32(image, 40);
    put32(image, static_cast<unsigned>(width));
    put32(image, static_cast<unsigned>(height * 2));
    put16(image, 1);
    put16(image, static_cast<unsigned>(bits_per_pixel));
    put32(image, 0);
    put32(image, static_cast<unsigned>(colour_bytes + mask_bytes));
    put32(image, 0);
    put32(image, 0);
    put32(image, bits_per_pixel == 1 ? 2 : 0);
    put32(image, 0);
    image += palette;
    if (bits_per_pixel == 1) {
        image.append(colour_bytes, '\x55');  // stripes
    } else {
        for (int i = 0; i < width * height; ++i)
            put32(image, 0xff3080c0u);       // opaque blue
    }
    image.append(mask_bytes, '\0');          // every pixel visible
    return image;
}

}  // namespace

std::string make_cur(int width, int height, int hotspot_x, int hotspot_y, int bits_per_pixel) {
    std::string image = bitmap_image(width, height, bits_per_pixel);
    std::string file;
    put16(file, 0);
    put16(file, 2);
    put16(file, 1);
    file += static_cast<char>(width & 0xff);
    file += static_cast<char>(height & 0xff);
    file += '\0';
    file += '\0';
    put16(file, static_cast<unsigned>(hotspot_x));
    put16(file, static_cast<unsigned>(hotspot_y));
    put32(file, static_cast<unsigned>(image.size()));
    put32(file, 22);
    return file + image;
}

std::string make_ani(int width, int height, int frames, bool size_in_header) {
    std::string list = "fram";
    for (int i = 0; i < frames; ++i) {
        std::string frame = make_cur(width, height, width / 2, height / 2);
        list += "icon";
        put32(list, static_cast<unsigned>(frame.size()));
        list += frame;
        if (frame.size() & 1)
            list += '\0';
    }
    std::string body = "ACON";
    body += "anih";
    put32(body, 36);
    put32(body, 36);
    put32(body, static_cast<unsigned>(frames));
    put32(body, static_cast<unsigned>(frames));
    put32(body, size_in_header ? static_cast<unsigned>(width) : 0);
    put32(body, size_in_header ? static_cast<unsigned>(height) : 0);
    put32(body, size_in_header ? 32 : 0);
    put32(body, size_in_header ? 1 : 0);
    put32(body, 10);
    put32(body, 1);
    body += "LIST";
    put32(body, static_cast<unsigned>(list.size()));
    body += list;
    std::string file = "RIFF";
    put32(file, static_cast<unsigned>(body.size()));
    return file + body;
}

unsigned read_u32(const std::string& bytes, size_t offset) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned>(p[3]) << 24);
}

void write_u32(std::string& bytes, size_t offset, unsigned value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}
