#include "support/png_builder.h"

#include <string.h>

namespace {

const uint32_t STORED_BLOCK_MOST = 65535;

void append_big_endian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xff);
}

uint32_t crc32(const std::string& bytes) {
    uint32_t crc = 0xffffffffu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

uint32_t adler32(const std::string& bytes) {
    uint32_t low = 1, high = 0;
    for (unsigned char byte : bytes) {
        low = (low + byte) % 65521;
        high = (high + low) % 65521;
    }
    return high << 16 | low;
}

}  // namespace

std::string png_chunk(const char* type, const std::string& data) {
    std::string out;
    append_big_endian(out, static_cast<uint32_t>(data.size()));
    std::string typed = std::string(type, 4) + data;
    out += typed;
    append_big_endian(out, crc32(typed));
    return out;
}

std::string stored_zlib(const std::string& data) {
    std::string out("\x78\x01", 2);
    size_t at = 0;
    do {
        size_t length = data.size() - at < STORED_BLOCK_MOST ? data.size() - at : STORED_BLOCK_MOST;
        bool last = at + length == data.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(length & 0xff);
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(~length & 0xff);
        out += static_cast<char>((~length >> 8) & 0xff);
        out += data.substr(at, length);
        at += length;
    } while (at < data.size());
    append_big_endian(out, adler32(data));
    return out;
}

std::string png_file(const PngParts& parts) {
    std::string header;
    append_big_endian(header, parts.width);
    append_big_endian(header, parts.height);
    header += static_cast<char>(parts.depth);
    header += static_cast<char>(parts.colour_type);
    header += std::string(2, '\0');  // compression, filter
    header += static_cast<char>(parts.interlace);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    png += png_chunk("IHDR", header);
    for (const std::string& chunk : parts.chunks)
        png += chunk;
    if (!parts.palette.empty())
        png += png_chunk("PLTE", parts.palette);
    if (!parts.transparency.empty())
        png += png_chunk("tRNS", parts.transparency);
    png += png_chunk("IDAT", stored_zlib(parts.rows));
    png += png_chunk("IEND", "");
    return png;
}
