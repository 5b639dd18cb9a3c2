// Where the structure of a cursor file lies: the offsets at which its chunks,
// icon directories and images begin and end, and the fields that declare
// lengths, counts and sizes. The corpus cuts and rewrites files there.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct LengthField {
    size_t offset;  // of the 32-bit length
    size_t room;    // bytes the enclosing chunk leaves for this one's data
};

struct FileStructure {
    std::vector<size_t> boundaries;      // sorted, unique, inside the file
    std::vector<LengthField> lengths;    // RIFF, LIST and chunk lengths
    std::vector<size_t> anih;            // data offsets of "anih" chunks
    std::vector<size_t> icon_dirs;       // offsets of icon-format directories
    std::vector<size_t> dir_entries;     // offsets of their 16-byte entries
    std::vector<size_t> bitmap_headers;  // offsets of bitmap info headers
};

// Reads the structure as far as it holds; never reads outside `bytes`.
FileStructure describe_file_structure(const std::string& bytes);
