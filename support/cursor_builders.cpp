#include "support/cursor_builders.h"

#include "stb_image_write.h"

namespace {

// stb's PNG writer hands its output over in pieces.
void append_to_string(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<size_t>(size));
}

int row_bytes(int width, int bits_per_pixel) { return ((width * bits_per_pixel + 31) / 32) * 4; }

}  // namespace

void append16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>((value >> 8) & 0xff);
}

void append32(std::string& out, uint32_t value) {
    append16(out, value & 0xffff);
    append16(out, value >> 16);
}

uint32_t get32(const std::string& bytes, size_t offset) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void set32(std::string& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

void set16(std::string& bytes, size_t offset, unsigned value) {
    bytes[offset] = static_cast<char>(value & 0xff);
    bytes[offset + 1] = static_cast<char>((value >> 8) & 0xff);
}

std::string riff_chunk(const char* id, const std::string& data) {
    std::string out(id, 4);
    append32(out, static_cast<uint32_t>(data.size()));
    out += data;
    if (data.size() & 1)
        out += '\0';
    return out;
}

std::string riff_u32_chunk(const char* id, const std::vector<uint32_t>& values) {
    std::string data;
    for (uint32_t value : values)
        append32(data, value);
    return riff_chunk(id, data);
}

std::string riff_list(const char* type, const std::string& chunks) {
    return riff_chunk("LIST", std::string(type, 4) + chunks);
}

std::string dib_image(int width, int height, int bits_per_pixel) {
    int colours = bits_per_pixel <= 8 ? (1 << bits_per_pixel) : 0;
    int colour_bytes = row_bytes(width, bits_per_pixel) * height;
    int mask_bytes = row_bytes(width, 1) * height;
    std::string image;
    append32(image, 40);
    append32(image, static_cast<uint32_t>(width));
    append32(image, static_cast<uint32_t>(height * 2));
    append16(image, 1);
    append16(image, static_cast<unsigned>(bits_per_pixel));
    append32(image, 0);  // BI_RGB
    append32(image, static_cast<uint32_t>(colour_bytes + mask_bytes));
    append32(image, 0);
    append32(image, 0);
    append32(image, static_cast<uint32_t>(colours));
    append32(image, 0);
    for (int i = 0; i < colours; ++i)
        append32(image, i == 0 ? 0 : 0x00ffffffu / static_cast<uint32_t>(colours) * i);
    for (int i = 0; i < colour_bytes; ++i)
        image += static_cast<char>(bits_per_pixel == 32 && i % 4 == 3 ? 0xff : (i * 37) & 0xff);
    for (int row = 0; row < height; ++row)
        for (int i = 0; i < row_bytes(width, 1); ++i)
            image += static_cast<char>(row < height / 4 ? 0xff : 0x00);  // top rows clear
    return image;
}

std::string core_dib_image(int width, int height, int bits_per_pixel) {
    int colours = bits_per_pixel <= 8 ? (1 << bits_per_pixel) : 0;
    std::string image;
    append32(image, 12);
    append16(image, static_cast<unsigned>(width));
    append16(image, static_cast<unsigned>(height * 2));
    append16(image, 1);
    append16(image, static_cast<unsigned>(bits_per_pixel));
    for (int i = 0; i < colours; ++i)
        for (int channel = 0; channel < 3; ++channel)
            image += static_cast<char>(i == 0 ? 0 : (255 * i / colours + channel * 40) & 0xff);
    int colour_bytes = row_bytes(width, bits_per_pixel) * height;
    for (int i = 0; i < colour_bytes; ++i)
        image += static_cast<char>((i * 53) & 0xff);
    for (int row = 0; row < height; ++row)
        for (int i = 0; i < row_bytes(width, 1); ++i)
            image += static_cast<char>(row < height / 4 ? 0xff : 0x00);
    return image;
}

std::string png_image(int width, int height) {
    std::vector<unsigned char> pixels;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            pixels.push_back(static_cast<unsigned char>(row * 8));
            pixels.push_back(static_cast<unsigned char>(column * 8));
            pixels.push_back(0x80);
            pixels.push_back(0xff);
        }
    std::string png;
    stbi_write_png_to_func(append_to_string, &png, width, height, 4, pixels.data(), width * 4);
    return png;
}

std::string icon_file(int type, const std::vector<IconImage>& images) {
    std::string out;
    append16(out, 0);
    append16(out, static_cast<unsigned>(type));
    append16(out, static_cast<unsigned>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const IconImage& image : images) {
        out += static_cast<char>(image.width >= 256 ? 0 : image.width);
        out += static_cast<char>(image.height >= 256 ? 0 : image.height);
        out += '\0';
        out += '\0';
        append16(out, type == 2 ? static_cast<unsigned>(image.hotspot_x) : 1);
        append16(out, type == 2 ? static_cast<unsigned>(image.hotspot_y) : 32);
        append32(out, static_cast<uint32_t>(image.data.size()));
        append32(out, offset);
        offset += static_cast<uint32_t>(image.data.size());
    }
    for (const IconImage& image : images)
        out += image.data;
    return out;
}

std::string cursor_file(int width, int height, int bits_per_pixel) {
    return icon_file(2, {{width, height, dib_image(width, height, bits_per_pixel), width / 2,
                          height / 2}});
}

std::string ani_file(const AniLayout& layout) {
    std::string frames = "fram";
    for (const std::string& frame : layout.frames) {
        // Some loaders step from frame to frame without pad bytes.
        std::string data = frame;
        if ((data.size() & 1) && !layout.pad_odd_frames)
            data += '\0';
        frames += riff_chunk("icon", data);
    }
    uint32_t frame_count = layout.declared_frames ? layout.declared_frames
                                                : static_cast<uint32_t>(layout.frames.size());
    uint32_t steps = layout.declared_steps ? layout.declared_steps
                     : layout.sequence.empty() ? frame_count
                                             : static_cast<uint32_t>(layout.sequence.size());
    std::string header;
    for (uint32_t value : {36u, frame_count, steps, layout.width, layout.height, 32u, 1u,
                           layout.display_rate, layout.flags})
        append32(header, value);

    std::string body = "ACON";
    if (layout.info_list)
        body += riff_list("INFO", riff_chunk("INAM", std::string("robust\0", 7)));
    body += riff_chunk("anih", header);
    if (!layout.rates.empty()) {
        std::string rates;
        for (uint32_t rate : layout.rates)
            append32(rates, rate);
        body += riff_chunk("rate", rates);
    }
    if (!layout.sequence.empty()) {
        std::string sequence;
        for (uint32_t step : layout.sequence)
            append32(sequence, step);
        body += riff_chunk("seq ", sequence);
    }
    body += riff_chunk("LIST", frames);
    return riff_chunk("RIFF", body).substr(0, 8 + body.size());
}

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
