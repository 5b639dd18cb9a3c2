// Reading little-endian fields and the top-level chunks of an animated
// cursor's RIFF file, shared by the check and the private copy. Callers know
// that every byte they read is inside the file before they read it.
#pragma once

#include <windows.h>
#include <string.h>

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
inline bool is_riff_acon(const BYTE* bytes, DWORD size) {
    return size >= RIFF_HEADER_SIZE && memcmp(bytes, "RIFF", 4) == 0 &&
           memcmp(bytes + 8, "ACON", 4) == 0;
}

// Where a chunk lies in the file: its header's offset and its data's length.
struct RiffChunk {
    bool present;
    DWORD offset;
    DWORD length;
};

// The first top-level chunks a reader looks for, found in one walk over the
// body [RIFF_HEADER_SIZE, body_end). Each chunk is skipped with its pad byte
// after odd data, as every reader does at this level. `overrun` is set when
// a chunk's data runs past the body, and `short_list` when a list's type
// would lie past it (a reader looking for a list reads the type anyway).
struct TopChunks {
    RiffChunk anih, sequence, rates, frames;
    bool overrun;
    bool short_list;
};

inline void walk_top_chunks(const BYTE* bytes, DWORD body_end, TopChunks* top) {
    memset(top, 0, sizeof *top);
    DWORD position = RIFF_HEADER_SIZE;
    while (body_end > position && body_end - position >= CHUNK_HEADER_SIZE) {
        const BYTE* header = bytes + position;
        DWORD length = read_u32(header + 4);
        DWORD room = body_end - position - CHUNK_HEADER_SIZE;
        RiffChunk chunk = {true, position, length};
        if (length > room)
            top->overrun = true;
        if (memcmp(header, "LIST", 4) == 0) {
            if (body_end - position < LIST_HEADER_SIZE)
                top->short_list = true;
            else if (!top->frames.present && memcmp(header + 8, "fram", 4) == 0)
                top->frames = chunk;
        } else if (!top->anih.present && memcmp(header, "anih", 4) == 0) {
            top->anih = chunk;
        } else if (!top->sequence.present && memcmp(header, "seq ", 4) == 0) {
            top->sequence = chunk;
        } else if (!top->rates.present && memcmp(header, "rate", 4) == 0) {
            top->rates = chunk;
        }
        if (length > room || room - length < (length & 1))
            break;  // the last chunk: nothing follows it inside the body
        position += CHUNK_HEADER_SIZE + length + (length & 1);
    }
}
