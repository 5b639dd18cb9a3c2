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
// An image's height counts its colour rows and its mask rows: at least one of
// each. Wine's animated-cursor reader divides by the number of rows.
const LONG MIN_IMAGE_HEIGHT = 2;
const BYTE PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G'};
// What every PNG image starts with: the full signature, then the length (13)
// and name of its header chunk. Wine's animated-cursor reader follows a null
// pointer when a frame's PNG image starts otherwise.
const BYTE PNG_START[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                          0,    0,   0,   13,  'I',  'H',  'D',  'R'};
const DWORD PNG_HEADER_SIZE = sizeof PNG_START + 13 + 4;  // then its data and checksum

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
// whole walk fail: a loader would walk past it the same way. A loader reads
// a list's type right after its header whatever the list's length, so a list
// too short to hold the type it shows makes the walk fail too.
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
            (!list_type || (room >= 4 && memcmp(header + 8, list_type, 4) == 0))) {
            if (list_type && length < 4) {
                *sound = false;
                return false;
            }
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

DWORD big_endian_u32(const BYTE* at) {
    return (static_cast<DWORD>(at[0]) << 24) | (at[1] << 16) | (at[2] << 8) | at[3];
}

DWORD row_bytes(LONG width, WORD bits) {
    return ((static_cast<DWORD>(width) * bits + 31) / 32) * 4;
}

bool side_fits(DWORD side) { return side > 0 && side <= static_cast<DWORD>(MAX_IMAGE_SIDE); }

// A PNG image whose header chunk lies in `size` and gives a size that fits.
bool png_is_sound(const BYTE* image, DWORD size, DWORD* pixels) {
    if (size < PNG_HEADER_SIZE || memcmp(image, PNG_START, sizeof PNG_START) != 0)
        return false;
    DWORD width = big_endian_u32(image + sizeof PNG_START);
    DWORD height = big_endian_u32(image + sizeof PNG_START + 4);
    *pixels = width * height;
    return side_fits(width) && side_fits(height);
}

// One image of an icon-format frame: a bitmap whose header, colour table,
// colour rows and mask rows fit in `size`, or a PNG whose header chunk does.
// `pixels` receives its number of pixels.
bool image_is_sound(const BYTE* image, DWORD size, DWORD* pixels) {
    if (size >= sizeof PNG_SIGNATURE && memcmp(image, PNG_SIGNATURE, sizeof PNG_SIGNATURE) == 0)
        return png_is_sound(image, size, pixels);
    if (size < INFO_HEADER_SIZE || u32(image) != INFO_HEADER_SIZE) {
        *pixels = static_cast<DWORD>(u16(image + 4)) * (u16(image + 6) / 2);
        return size >= CORE_HEADER_SIZE && u32(image) == CORE_HEADER_SIZE &&
               u16(image + 4) > 0 && u16(image + 6) >= MIN_IMAGE_HEIGHT &&
               u16(image + 4) <= MAX_IMAGE_SIDE;
    }
    BITMAPINFOHEADER header;
    memcpy(&header, image, sizeof header);
    LONG height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (header.biWidth <= 0 || header.biWidth > MAX_IMAGE_SIDE || height < MIN_IMAGE_HEIGHT ||
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
    *pixels = static_cast<DWORD>(header.biWidth) * rows;
    return needed <= size;  // the mask may be missing; loaders then use none
}

// One frame: a complete icon-format file whose every image lies inside it.
// `largest` receives the number of pixels of its largest image.
bool frame_is_sound(const BYTE* frame, DWORD size, DWORD* largest) {
    *largest = 0;
    if (size < ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE)
        return false;
    WORD type = u16(frame + 2), count = u16(frame + 4);
    if ((type != 1 && type != 2) || count == 0 ||
        ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * static_cast<DWORD>(count) > size)
        return false;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = frame + ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * i;
        DWORD image_size = u32(entry + 8), offset = u32(entry + 12), pixels = 0;
        if (offset > size || image_size > size - offset ||
            !image_is_sound(frame + offset, image_size, &pixels))
            return false;
        if (pixels > *largest)
            *largest = pixels;
    }
    return true;
}

// The frames are read one after the other, each step the chunk's length
// plus its header, with no pad byte: an odd length would misalign the next.
// Loaders build every frame at the header's size when it gives one
// (`header_pixels`), else at its image's: all frames together must stay
// within MAX_CURSOR_PIXELS.
bool frames_are_sound(Chunk list, DWORD frames, DWORD64 header_pixels) {
    DWORD position = 4;  // after the list type
    DWORD64 total = 0;
    for (DWORD i = 0; i < frames; ++i) {
        if (list.size < position || list.size - position < CHUNK_HEADER_SIZE)
            return false;
        const BYTE* header = list.data + position;
        DWORD length = u32(header + 4);
        DWORD room = list.size - position - CHUNK_HEADER_SIZE;
        if (memcmp(header, "icon", 4) != 0 || length > room || ((length & 1) && i + 1 < frames))
            return false;
        DWORD largest;
        if (!frame_is_sound(header + CHUNK_HEADER_SIZE, length, &largest))
            return false;
        total += header_pixels > largest ? header_pixels : largest;
        if (total > MAX_CURSOR_PIXELS)
            return false;
        position += CHUNK_HEADER_SIZE + length;
    }
    return true;
}

}  // namespace

bool cursor_file_is_sound(const BYTE* bytes, DWORD size) {
    DWORD largest;
    if (size < 4 || memcmp(bytes, "RIFF", 4) != 0)
        return frame_is_sound(bytes, size, &largest);  // a .cur or .ico file, as one frame
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
    DWORD64 header_pixels = static_cast<DWORD64>(u32(anih.data + 12)) * u32(anih.data + 16);
    if (!find_chunk(body, "LIST", "fram", &list, &sound) ||
        !frames_are_sound(list, frames, header_pixels))
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
