// Small pieces the fuzz targets and the seed makers share.
#pragma once

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

// An input in a heap buffer of exactly its size (one byte for an empty one),
// so that AddressSanitizer sees any read past its end.
struct Buffer {
    explicit Buffer(uint32_t size) : bytes(new uint8_t[size ? size : 1]) {}
    ~Buffer() { delete[] bytes; }
    uint8_t* bytes;
};

// Stops the run at once where a property does not hold: libFuzzer keeps the
// input as a finding.
inline void require(bool holds) {
    if (!holds)
        abort();
}

// Writes `bytes` to `path`; false when the file can't be written whole.
inline bool write_file(const std::string& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}
