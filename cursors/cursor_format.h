// The layout of cursor files, reading their little-endian fields, and the
// top-level chunks of an animated cursor's RIFF file, shared by the check and
// the private copy. Callers know that every byte they read is inside the file
// before they read it.
#pragma once

#include <windows.h>
#include <string.h>

// A four-character code (a chunk's id, a list's or form's type, a PNG
// image's first bytes) as the little-endian value it reads as: one compare
// instead of a string in the module's data and a call.
constexpr DWORD four_cc(const char (&code)[5]) {
    return static_cast<DWORD>(static_cast<BYTE>(code[0])) |
           static_cast<DWORD>(static_cast<BYTE>(code[1])) << 8 |
           static_cast<DWORD>(static_cast<BYTE>(code[2])) << 16 |
           static_cast<DWORD>(static_cast<BYTE>(code[3])) << 24;
}

const DWORD ID_RIFF = four_cc("RIFF");
const DWORD ID_ACON = four_cc("ACON");
const DWORD ID_LIST = four_cc("LIST");
const DWORD ID_FRAM = four_cc("fram");
const DWORD ID_ANIH = four_cc("anih");
const DWORD ID_SEQUENCE = four_cc("seq ");
const DWORD ID_RATE = four_cc("rate");
const DWORD ID_ICON = four_cc("icon");
const DWORD ID_PNG = four_cc("\x89PNG");

// An icon-format directory (a .cur or .ico file, or an animated cursor's
// frame): reserved, type, count, then the entries.
const DWORD ICON_DIR_HEADER_SIZE = 6;
const DWORD ICON_DIR_ENTRY_SIZE = 16;

const DWORD RIFF_HEADER_SIZE = 12;   // "RIFF", length, form type "ACON"
const DWORD CHUNK_HEADER_SIZE = 8;   // chunk id, length
const DWORD LIST_HEADER_SIZE = 12;   // "LIST", length, list type
const DWORD ANIH_SIZE = 36;          // the animation header's fields
const DWORD ANIH_FRAMES = 4;         // offsets inside the header
const DWORD ANIH_STEPS = 8;
const DWORD ANIH_WIDTH = 12;
const DWORD ANIH_HEIGHT = 16;
const DWORD ANIH_FLAGS = 32;
const DWORD ANIH_FLAG_SEQUENCE = 2;

inline DWORD read_u32(const BYTE* at) {
    DWORD value;
    memcpy(&value, at, sizeof value);
    return value;
}

inline WORD read_u16(const BYTE* at) {
    WORD value;
    memcpy(&value, at, sizeof value);
    return value;
}

inline void write_u32(BYTE* at, DWORD value) { memcpy(at, &value, sizeof value); }

// Whether the file starts as an animated cursor: "RIFF", length, "ACON".
bool is_riff_acon(const BYTE* bytes, DWORD size);

// Where a chunk lies in the file: its header's offset and its data's length.
struct RiffChunk {
    bool present;
    DWORD offset;
    DWORD length;
};

// The first top-level chunks a reader looks for, found in one walk over the
// body [RIFF_HEADER_SIZE, body_end). Each chunk is skipped with its pad byte
// after odd data, as every reader does at this level. `overrun` is the chunk
// whose data runs past the body (the last one walked), and `short_list` is
// set when a list's type would lie past it (a reader looking for a list
// reads the type anyway).
struct TopChunks {
    RiffChunk anih, sequence, rates, frames, overrun;
    bool short_list;
};

// Walks the body once and notes the chunks above.
void walk_top_chunks(const BYTE* bytes, DWORD body_end, TopChunks* top);
