// PNG images of any kind built byte by byte, their rows stored uncompressed
// in the zlib stream: every colour type, depth and interlace, extra chunks,
// and compressed data holding more than the image's rows.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// A chunk: big-endian length, type, data, and its checksum.
std::string png_chunk(const char* type, const std::string& data);
// A zlib stream holding `data` in stored blocks.
std::string stored_zlib(const std::string& data);

struct PngParts {
    uint32_t width, height;
    uint8_t depth, colour_type, interlace;
    std::string rows;                 // the inflated rows, filter bytes included
    std::string palette;              // a PLTE chunk when not empty
    std::string transparency;         // a tRNS chunk when not empty
    std::vector<std::string> chunks;  // whole chunks put before the image data
};
// Signature, IHDR, the chunks, PLTE, tRNS, one IDAT and IEND.
std::string png_file(const PngParts& parts);
