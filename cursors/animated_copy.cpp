#include "cursors/animated_copy.h"

namespace {

// The most sequence entries looked at; the judgement refuses longer
// animations.
const uint32_t MAX_STEPS_READ = 1024;
// Readers comparing a list's type read 4 bytes past a chunk's header: the
// last chunk the copy keeps holds at least that much.
const uint32_t LIST_TYPE_SIZE = 4;

// Readers step over a top-level chunk by its length rounded up to even.
uint32_t padded(uint32_t length) { return length + (length & 1); }

// The first of each chunk a reader looks for among the top-level chunks of
// [RIFF_HEADER_SIZE, limit), as they are. A chunk running past the limit is
// the last walked.
AnimatedCopy find_chunks(const uint8_t* bytes, uint32_t limit) {
    AnimatedCopy found = {0, 0, 0, 0, 0};
    uint32_t position = RIFF_HEADER_SIZE;
    while (limit > position && limit - position >= CHUNK_HEADER_SIZE) {
        const uint8_t* header = bytes + position;
        uint32_t id = read_u32(header), length = read_u32(header + 4);
        uint32_t room = limit - position - CHUNK_HEADER_SIZE;
        if (id == ID_LIST) {
            if (!found.frame_list && room >= LIST_TYPE_SIZE && read_u32(header + 8) == ID_FRAM)
                found.frame_list = position;
        } else if (id == ID_ANIH && !found.header) {
            found.header = position;
        } else if (id == ID_SEQUENCE && !found.sequence) {
            found.sequence = position;
        } else if (id == ID_RATE && !found.rates) {
            found.rates = position;
        }
        if (length >= room)
            break;  // nothing whole follows it
        position += CHUNK_HEADER_SIZE + padded(length);
    }
    return found;
}

// Walks `frames` frame chunks from `position`. Each odd length that has its
// pad byte after it counts the pad byte in, as some readers step from frame
// to frame by the length alone; a length past the limit is cut to it.
// Returns where the last frame walked ends.
uint32_t even_out_frames(uint8_t* bytes, uint32_t limit, uint32_t position, uint32_t frames) {
    for (uint32_t i = 0; i < frames && limit - position >= CHUNK_HEADER_SIZE; ++i) {
        uint8_t* header = bytes + position;
        uint32_t length = read_u32(header + 4);
        uint32_t room = limit - position - CHUNK_HEADER_SIZE;
        if (length > room)
            length = room;
        else if ((length & 1) && length < room)
            ++length;
        write_u32(header + 4, length);
        position += CHUNK_HEADER_SIZE + length;
    }
    return position;
}

// Cuts the chunk that runs past the limit to end with it, and returns where
// the last chunk a reader meets whole ends. A run of chunks too short to hold
// a list's type at the end (a reader looking for a list reads past them) is
// left out: the copy ends before it.
uint32_t close_chunks(uint8_t* bytes, uint32_t limit) {
    uint32_t position = RIFF_HEADER_SIZE, end = RIFF_HEADER_SIZE;
    while (limit > position && limit - position >= CHUNK_HEADER_SIZE) {
        uint32_t length = read_u32(bytes + position + 4);
        uint32_t room = limit - position - CHUNK_HEADER_SIZE;
        if (length > room) {
            length = room;
            write_u32(bytes + position + 4, length);
        }
        if (length >= LIST_TYPE_SIZE)
            end = position + CHUNK_HEADER_SIZE + length;
        if (length >= room)
            break;
        position += CHUNK_HEADER_SIZE + padded(length);
    }
    return end;
}

// How many frames the steps show: with a sequence, up to the highest frame
// it names; without, one frame a step. 0 when it can't be told.
uint32_t frames_shown(const uint8_t* bytes, uint32_t sequence, uint32_t end, uint32_t steps) {
    if (!sequence)
        return steps;
    uint32_t length = read_u32(bytes + sequence + 4);
    if (steps > MAX_STEPS_READ || length / 4 < steps ||
        end - sequence - CHUNK_HEADER_SIZE < 4 * steps)
        return 0;
    const uint8_t* entries = bytes + sequence + CHUNK_HEADER_SIZE;
    uint32_t highest = 0;
    for (uint32_t i = 0; i < steps; ++i)
        if (read_u32(entries + 4 * i) > highest)
            highest = read_u32(entries + 4 * i);
    return highest + 1;
}

}  // namespace

bool prepare_animated_copy(uint8_t* bytes, uint32_t size, AnimatedCopy* copy) {
    if (!is_riff_acon(bytes, size))
        return false;
    // A length past the file is taken to the file's end; some writers count
    // the RIFF header into it.
    uint32_t riff_length = read_u32(bytes + 4);
    if (riff_length > size - CHUNK_HEADER_SIZE)
        riff_length = size - CHUNK_HEADER_SIZE;
    uint32_t limit = CHUNK_HEADER_SIZE + riff_length;
    AnimatedCopy found = find_chunks(bytes, limit);
    // A header, cut to the body if it runs past it, must hold every field;
    // otherwise nothing is written.
    if (!found.header || limit - found.header - CHUNK_HEADER_SIZE < ANIH_SIZE ||
        read_u32(bytes + found.header + 4) < ANIH_SIZE)
        return false;

    // The frame list first: a walk past a list too short for its frames
    // runs through frame data, where nothing may be cut. Only a list that
    // follows the header is made longer, so that it never swallows it.
    if (found.frame_list > found.header && limit - found.frame_list >= LIST_HEADER_SIZE) {
        uint32_t frames = read_u32(bytes + found.header + CHUNK_HEADER_SIZE + ANIH_FRAMES);
        uint32_t end = even_out_frames(bytes, limit, found.frame_list + LIST_HEADER_SIZE, frames);
        uint32_t held = end - found.frame_list - CHUNK_HEADER_SIZE;
        if (held > read_u32(bytes + found.frame_list + 4))
            write_u32(bytes + found.frame_list + 4, held);
    }
    // Then every chunk is made whole inside the body, the RIFF length ends
    // with the last one, and the chunks are looked up again (the list may now
    // hold some that followed it).
    uint32_t end = close_chunks(bytes, limit);
    write_u32(bytes + 4, end - CHUNK_HEADER_SIZE);
    found = find_chunks(bytes, end);
    found.end = end;

    uint8_t* anih = bytes + found.header + CHUNK_HEADER_SIZE;
    uint32_t flags = read_u32(anih + ANIH_FLAGS);
    if ((flags & ANIH_FLAG_SEQUENCE) && !found.sequence) {
        // Readers disagree on a sequence flag without its sequence (one takes
        // a step a frame and reads that many rates): every reader takes the
        // header's steps once the flag is gone.
        flags &= ~ANIH_FLAG_SEQUENCE;
        write_u32(anih + ANIH_FLAGS, flags);
    }
    if (!(flags & ANIH_FLAG_SEQUENCE))
        found.sequence = 0;
    // Frames after the last one any step shows cost the system a frame's
    // bitmaps on every load, which nothing ever frees.
    uint32_t shown = frames_shown(bytes, found.sequence, end, read_u32(anih + ANIH_STEPS));
    if (shown > 0 && shown < read_u32(anih + ANIH_FRAMES))
        write_u32(anih + ANIH_FRAMES, shown);
    *copy = found;
    return true;
}
