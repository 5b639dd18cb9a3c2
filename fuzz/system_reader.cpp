#include "fuzz/system_reader.h"

#include "cursors/cursor_format.h"

namespace {

// The sink keeps the reads from being optimised away.
volatile uint32_t sink;

void touch(const uint8_t* at, uint32_t bytes) {
    for (uint32_t i = 0; i < bytes; ++i)
        sink = sink + at[i];
}

struct Chunk {
    const uint8_t* data;
    int64_t length;
};

// Finds the first chunk `id` (with `list`, a chunk `list` of type `id`)
// inside `parent`, reading each header where the walk stands while it
// stands before the parent's end less a header.
Chunk find(const Chunk& parent, uint32_t id, uint32_t list = 0) {
    Chunk found = {nullptr, 0};
    int64_t position = 0, end = parent.length - CHUNK_HEADER_SIZE - (list ? 4 : 0);
    while (position < end) {
        const uint8_t* header = parent.data + position;
        uint32_t length = read_u32(header + 4);
        bool match = list ? read_u32(header) == list && read_u32(header + 8) == id
                          : read_u32(header) == id;
        if (match) {
            found.data = header + (list ? LIST_HEADER_SIZE : CHUNK_HEADER_SIZE);
            found.length = (static_cast<int64_t>(length) + 1) & ~int64_t(1);
            return found;
        }
        position += CHUNK_HEADER_SIZE + ((static_cast<int64_t>(length) + 1) & ~int64_t(1));
    }
    return found;
}

// An image's header, as far as its first field says it reaches.
bool read_image(const uint8_t* image, int64_t room) {
    if (room < 4)
        return false;
    uint32_t kind = read_u32(image);
    uint32_t header = kind == ID_PNG ? 33 : kind == 12 ? 12 : 40;
    if (room < header)
        return false;
    touch(image, header);
    return true;
}

uint32_t walk_animated(const uint8_t* bytes, uint32_t size) {
    Chunk root = {bytes, size};
    Chunk body = find(root, ID_ACON, ID_RIFF);
    if (!body.data)
        return 0;
    Chunk header = find(body, ID_ANIH);
    if (!header.data)
        return 0;
    touch(header.data, ANIH_SIZE);
    uint32_t frames = read_u32(header.data + ANIH_FRAMES), steps = read_u32(header.data + ANIH_STEPS);
    uint32_t flags = read_u32(header.data + ANIH_FLAGS);
    if (flags & ANIH_FLAG_SEQUENCE) {
        Chunk sequence = find(body, ID_SEQUENCE);
        if (sequence.data)
            touch(sequence.data, 4 * steps);
    }
    Chunk rates = find(body, ID_RATE);
    if (rates.data)
        touch(rates.data, 4 * steps);
    Chunk list = find(body, ID_FRAM, ID_LIST);
    if (!list.data)
        return 0;
    const uint8_t* chunk = list.data;
    for (uint32_t i = 0; i < frames; ++i) {
        touch(chunk, CHUNK_HEADER_SIZE);
        uint32_t length = read_u32(chunk + 4);
        const uint8_t* directory = chunk + CHUNK_HEADER_SIZE;
        int64_t room = bytes + size - directory;
        if (room < static_cast<int64_t>(ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE))
            return 0;
        touch(directory, ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE);
        uint32_t offset = read_u32(directory + ICON_DIR_HEADER_SIZE + ENTRY_IMAGE_OFFSET);
        if (offset >= room || !read_image(directory + offset, room - offset))
            return 0;
        chunk = directory + length;
    }
    return frames;
}

}  // namespace

uint32_t walk_as_the_system_reads(const uint8_t* bytes, uint32_t size) {
    if (size >= RIFF_HEADER_SIZE && read_u32(bytes) == ID_RIFF)
        return walk_animated(bytes, size);
    if (size < 4)
        return 0;
    touch(bytes, 4);  // the hotspot
    return read_image(bytes + 4, size - 4) ? 1 : 0;
}
