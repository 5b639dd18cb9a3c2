#include "cursors/cursor_file_check.h"

#include <string.h>

namespace {

const DWORD CHUNK_HEADER_SIZE = 8;
const DWORD RIFF_HEADER_SIZE = 12;
const DWORD ANIH_SIZE = 36;
const DWORD ANIH_FLAG_SEQUENCE = 2;
const DWORD MAX_FRAMES = 1024;
const DWORD ICON_DIR_HEADER_SIZE = 6;
const DWORD ICON_DIR_ENTRY_SIZE = 16;
const DWORD CORE_HEADER_SIZE = 12;
const DWORD INFO_HEADER_SIZE = 40;
const LONG MAX_IMAGE_SIDE = 1024;
const BYTE PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G'};

DWORD u32(const BYTE* at) {
    DWORD value;
    memcpy(&value, at, sizeof value);
    return value;
}

WORD u16(const BYTE* at) {
    WORD value;
    memcpy(&value, at, sizeof value);
    return value;
}

struct Chunk {
    const BYTE* data;
    DWORD size;
};

// Walks the chunks inside `parent` for the first one named `id` (and, for a
// list, of type `list_type`). Any chunk that overruns its parent makes the
// whole walk fail: a loader would walk past it the same way.
bool find_chunk(Chunk parent, const char* id, const char* list_type, Chunk* found, bool* sound) {
    DWORD position = 0;
    while (parent.size - position >= CHUNK_HEADER_SIZE) {
        const BYTE* header = parent.data + position;
        DWORD length = u32(header + 4);
        DWORD room = parent.size - position - CHUNK_HEADER_SIZE;
        if (length > room) {
            *sound = false;
            return false;
        }
        if (memcmp(header, id, 4) == 0 &&
            (!list_type || (length >= 4 && memcmp(header + 8, list_type, 4) == 0))) {
            found->data = header + CHUNK_HEADER_SIZE;
            found->size = length;
            return true;
        }
        DWORD padded = length + (length & 1);
        if (padded > room)
            return false;
        position += CHUNK_HEADER_SIZE + padded;
    }
    return false;
}

DWORD row_bytes(LONG width, WORD bits) {
    return ((static_cast<DWORD>(width) * bits + 31) / 32) * 4;
}

// One image of an icon-format frame: a bitmap whose header, colour table,
// colour rows and mask rows fit in `size`, or a PNG.
bool image_is_sound(const BYTE* image, DWORD size) {
    if (size >= sizeof PNG_SIGNATURE && memcmp(image, PNG_SIGNATURE, sizeof PNG_SIGNATURE) == 0)
        return true;
    if (size < INFO_HEADER_SIZE || u32(image) != INFO_HEADER_SIZE)
        return size >= CORE_HEADER_SIZE && u32(image) == CORE_HEADER_SIZE &&
               u16(image + 4) > 0 && u16(image + 6) > 0 && u16(image + 4) <= MAX_IMAGE_SIDE;
    BITMAPINFOHEADER header;
    memcpy(&header, image, sizeof header);
    LONG height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (header.biWidth <= 0 || header.biWidth > MAX_IMAGE_SIDE || height <= 0 ||
        height > 2 * MAX_IMAGE_SIDE || header.biPlanes != 1 || header.biCompression != BI_RGB)
        return false;
    WORD bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    DWORD colours = header.biClrUsed ? header.biClrUsed : (bits <= 8 ? (1u << bits) : 0);
    if (colours > 256)
        return false;
    DWORD rows = static_cast<DWORD>(height) / 2;
    DWORD needed = INFO_HEADER_SIZE + colours * 4 + row_bytes(header.biWidth, bits) * rows;
    return needed <= size;  // the mask may be missing; loaders then use none
}

// One frame: a complete icon-format file whose every image lies inside it.
bool frame_is_sound(const BYTE* frame, DWORD size) {
    if (size < ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE)
        return false;
    WORD type = u16(frame + 2), count = u16(frame + 4);
    if ((type != 1 && type != 2) || count == 0 ||
        ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * static_cast<DWORD>(count) > size)
        return false;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = frame + ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * i;
        DWORD image_size = u32(entry + 8), offset = u32(entry + 12);
        if (offset > size || image_size > size - offset || !image_is_sound(frame + offset, image_size))
            return false;
    }
    return true;
}

// The frames are read one after the other, each step the chunk's length
// plus its header, with no pad byte: an odd length would misalign the next.
bool frames_are_sound(Chunk list, DWORD frames) {
    DWORD position = 4;  // after the list type
    for (DWORD i = 0; i < frames; ++i) {
        if (list.size < position || list.size - position < CHUNK_HEADER_SIZE)
            return false;
        const BYTE* header = list.data + position;
        DWORD length = u32(header + 4);
        DWORD room = list.size - position - CHUNK_HEADER_SIZE;
        if (memcmp(header, "icon", 4) != 0 || length > room || ((length & 1) && i + 1 < frames))
            return false;
        if (!frame_is_sound(header + CHUNK_HEADER_SIZE, length))
            return false;
        position += CHUNK_HEADER_SIZE + length;
    }
    return true;
}

}  // namespace

bool cursor_file_is_sound(const BYTE* bytes, DWORD size) {
    if (size < 4 || memcmp(bytes, "RIFF", 4) != 0)
        return true;
    if (size < RIFF_HEADER_SIZE || memcmp(bytes + 8, "ACON", 4) != 0)
        return false;
    DWORD declared = u32(bytes + 4);
    if (declared < 4 || declared > size - CHUNK_HEADER_SIZE)
        return false;
    Chunk body = {bytes + RIFF_HEADER_SIZE, declared - 4};

    bool sound = true;
    Chunk anih, list, steps, rates;
    if (!find_chunk(body, "anih", NULL, &anih, &sound) || anih.size < ANIH_SIZE)
        return false;
    DWORD frames = u32(anih.data + 4), step_count = u32(anih.data + 8), flags = u32(anih.data + 32);
    if (frames == 0 || frames > MAX_FRAMES || step_count == 0 || step_count > MAX_FRAMES)
        return false;
    if (!find_chunk(body, "LIST", "fram", &list, &sound) || !frames_are_sound(list, frames))
        return false;

    bool has_sequence = (flags & ANIH_FLAG_SEQUENCE) && find_chunk(body, "seq ", NULL, &steps, &sound);
    if (has_sequence) {
        if (steps.size / 4 < step_count)
            return false;
        for (DWORD i = 0; i < step_count; ++i)
            if (u32(steps.data + 4 * i) >= frames)
                return false;
    } else if (!(flags & ANIH_FLAG_SEQUENCE) && step_count > frames) {
        return false;
    }
    if (find_chunk(body, "rate", NULL, &rates, &sound) && rates.size / 4 < step_count)
        return false;
    return sound;
}
