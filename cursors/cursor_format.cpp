#include "cursors/cursor_format.h"

bool is_riff_acon(const BYTE* bytes, DWORD size) {
    return size >= RIFF_HEADER_SIZE && read_u32(bytes) == ID_RIFF &&
           read_u32(bytes + 8) == ID_ACON;
}

void walk_top_chunks(const BYTE* bytes, DWORD body_end, TopChunks* top) {
    memset(top, 0, sizeof *top);
    DWORD position = RIFF_HEADER_SIZE;
    while (body_end > position && body_end - position >= CHUNK_HEADER_SIZE) {
        const BYTE* header = bytes + position;
        DWORD length = read_u32(header + 4);
        DWORD room = body_end - position - CHUNK_HEADER_SIZE;
        RiffChunk chunk = {true, position, length};
        if (length > room)
            top->overrun = chunk;
        if (read_u32(header) == ID_LIST) {
            if (body_end - position < LIST_HEADER_SIZE)
                top->short_list = true;
            else if (!top->frames.present && read_u32(header + 8) == ID_FRAM)
                top->frames = chunk;
        } else if (!top->anih.present && read_u32(header) == ID_ANIH) {
            top->anih = chunk;
        } else if (!top->sequence.present && read_u32(header) == ID_SEQUENCE) {
            top->sequence = chunk;
        } else if (!top->rates.present && read_u32(header) == ID_RATE) {
            top->rates = chunk;
        }
        if (length > room || room - length < (length & 1))
            break;  // the last chunk: nothing follows it inside the body
        position += CHUNK_HEADER_SIZE + length + (length & 1);
    }
}
