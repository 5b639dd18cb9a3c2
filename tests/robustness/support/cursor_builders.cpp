#include "tests/robustness/support/cursor_builders.h"

namespace {

void append_be32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xff);
}

uint32_t crc32(const std::string& bytes) {
    uint32_t crc = 0xffffffffu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

uint32_t adler32(const std::string& bytes) {
    uint32_t a = 1, b = 0;
    for (unsigned char byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::string png_chunk(const char* type, const std::string& data) {
    std::string out;
    append_be32(out, static_cast<uint32_t>(data.size()));
    std::string typed = std::string(type, 4) + data;
    out += typed;
    append_be32(out, crc32(typed));
    return out;
}

// A zlib stream of stored (uncompressed) blocks.
std::string zlib_stored(const std::string& raw) {
    std::string out = "\x78\x01";
    size_t position = 0;
    do {
        size_t length = raw.size() - position;
        if (length > 65535)
            length = 65535;
        bool last = position + length == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        append16(out, static_cast<unsigned>(length));
        append16(out, static_cast<unsigned>(~length & 0xffff));
        out += raw.substr(position, length);
        position += length;
    } while (position < raw.size());
    append_be32(out, adler32(raw));
    return out;
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

std::string png_image(int width, int height) {
    std::string header;
    append_be32(header, static_cast<uint32_t>(width));
    append_be32(header, static_cast<uint32_t>(height));
    header += "\x08\x06";     // 8 bits per sample, RGBA
    header += std::string(3, '\0');
    std::string raw;
    for (int row = 0; row < height; ++row) {
        raw += '\0';          // no filter
        for (int column = 0; column < width; ++column) {
            raw += static_cast<char>(row * 8);
            raw += static_cast<char>(column * 8);
            raw += '\x80';
            raw += '\xff';
        }
    }
    return std::string("\x89PNG\r\n\x1a\n", 8) + png_chunk("IHDR", header) +
           png_chunk("IDAT", zlib_stored(raw)) + png_chunk("IEND", std::string());
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
        // Loaders step from frame to frame without pad bytes: keep each even.
        std::string data = frame;
        if (data.size() & 1)
            data += '\0';
        frames += "icon";
        append32(frames, static_cast<uint32_t>(data.size()));
        frames += data;
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
