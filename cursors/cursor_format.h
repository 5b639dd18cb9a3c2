// The layout of cursor files and reading their little-endian fields: the
// byte work shared by the judgement of a file and the private copy. Fixed-
// width types only, so that it builds the same for the module and natively
// for fuzzing. Callers know that every byte they read is inside the file
// before they read it.
#pragma once

#include <stdint.h>
#include <string.h>

// A four-character code (a chunk's id, a list's or form's type, a PNG
// image's first bytes) as the little-endian value it reads as: one compare
// instead of a string in the module's data and a call.
constexpr uint32_t four_cc(const char (&code)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

const uint32_t ID_RIFF = four_cc("RIFF");
const uint32_t ID_ACON = four_cc("ACON");
const uint32_t ID_LIST = four_cc("LIST");
const uint32_t ID_FRAM = four_cc("fram");
const uint32_t ID_ANIH = four_cc("anih");
const uint32_t ID_SEQUENCE = four_cc("seq ");
const uint32_t ID_RATE = four_cc("rate");
const uint32_t ID_ICON = four_cc("icon");
const uint32_t ID_PNG = four_cc("\x89PNG");

// An icon-format directory (a .cur or .ico file, or an animated cursor's
// frame): reserved, type, count, then the entries: width, height, colours,
// reserved, hotspot x and y, image length, image offset.
const uint32_t ICON_DIR_HEADER_SIZE = 6;
const uint32_t ICON_DIR_TYPE_ICON = 1;
const uint32_t ICON_DIR_TYPE_CURSOR = 2;
const uint32_t ICON_DIR_COUNT = 4;
const uint32_t ICON_DIR_ENTRY_SIZE = 16;
const uint32_t ENTRY_HOTSPOT = 4;
const uint32_t ENTRY_IMAGE_OFFSET = 12;

const uint32_t RIFF_HEADER_SIZE = 12;   // "RIFF", length, form type "ACON"
const uint32_t CHUNK_HEADER_SIZE = 8;   // chunk id, length
const uint32_t LIST_HEADER_SIZE = 12;   // "LIST", length, list type
const uint32_t ANIH_SIZE = 36;          // the animation header's fields
const uint32_t ANIH_FRAMES = 4;         // offsets inside the header
const uint32_t ANIH_STEPS = 8;
const uint32_t ANIH_WIDTH = 12;
const uint32_t ANIH_HEIGHT = 16;
const uint32_t ANIH_FLAGS = 32;
const uint32_t ANIH_FLAG_SEQUENCE = 2;

inline uint32_t read_u32(const uint8_t* at) {
    uint32_t value;
    memcpy(&value, at, sizeof value);
    return value;
}

inline uint16_t read_u16(const uint8_t* at) {
    uint16_t value;
    memcpy(&value, at, sizeof value);
    return value;
}

inline void write_u32(uint8_t* at, uint32_t value) { memcpy(at, &value, sizeof value); }
inline void write_u16(uint8_t* at, uint16_t value) { memcpy(at, &value, sizeof value); }

// Whether the file starts as an animated cursor: "RIFF", length, "ACON".
inline bool is_riff_acon(const uint8_t* bytes, uint32_t size) {
    return size >= RIFF_HEADER_SIZE && read_u32(bytes) == ID_RIFF && read_u32(bytes + 8) == ID_ACON;
}
