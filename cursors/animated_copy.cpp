#include "cursors/animated_copy.h"

#include "cursors/cursor_format.h"

namespace {

// The most sequence entries looked at; the check refuses longer animations.
const DWORD MAX_STEPS_READ = 1024;

// Cuts the top-level chunk that runs past the body to end with it. Only the
// last chunk of the walk can; a reader skipping it would land outside.
void cut_overrunning_chunk(BYTE* bytes, DWORD body_end) {
    TopChunks top;
    walk_top_chunks(bytes, body_end, &top);
    if (top.overrun.present)
        write_u32(bytes + top.overrun.offset + 4,
                  body_end - top.overrun.offset - CHUNK_HEADER_SIZE);
}

const DWORD ENTRY_IMAGE_FIELDS = 8;  // image size, then image offset
const DWORD BITMAP_HEADER_READ = 16; // enough for either header's bit count

// The bits per pixel of the image an entry points at, inside the frame; 0
// when it can't be told.
DWORD entry_depth(const BYTE* frame, DWORD length, const BYTE* entry) {
    DWORD offset = read_u32(entry + 12);
    if (offset > length || length - offset < BITMAP_HEADER_READ)
        return 0;
    const BYTE* image = frame + offset;
    if (read_u32(image) == ID_PNG)
        return 32;
    return read_u32(image) == 12 ? read_u16(image + 10) : read_u16(image + 14);
}

// Readers given no colour depth (building from memory) take the image of
// fewest colours among those of the size they want, where the file's own
// loader takes the deepest: each entry is pointed at the deepest image of
// its size, so that any reader shows the colours the player made.
void deepest_images_first(BYTE* frame, DWORD length) {
    if (length < ICON_DIR_HEADER_SIZE)
        return;
    DWORD count = read_u16(frame + 4);
    if (count > (length - ICON_DIR_HEADER_SIZE) / ICON_DIR_ENTRY_SIZE)
        return;
    for (DWORD i = 0; i < count; ++i) {
        BYTE* entry = frame + ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * i;
        DWORD depth = entry_depth(frame, length, entry);
        for (DWORD j = 0; j < count && depth; ++j) {
            const BYTE* other = frame + ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * j;
            DWORD other_depth = entry_depth(frame, length, other);
            if (other[0] == entry[0] && other[1] == entry[1] && other_depth > depth) {
                memcpy(entry + 8, other + 8, ENTRY_IMAGE_FIELDS);
                depth = other_depth;
            }
        }
    }
}

// Walks `frames` frame chunks from the list's first one. Each odd length that
// has its pad byte after it counts the pad byte in, as some readers step
// from frame to frame by the length alone; a length past the body is cut to
// it; each frame's entries lead to its deepest images. Returns where the
// last frame walked ends.
DWORD even_out_frames(BYTE* bytes, DWORD body_end, DWORD position, DWORD frames) {
    for (DWORD i = 0; i < frames && body_end - position >= CHUNK_HEADER_SIZE; ++i) {
        BYTE* header = bytes + position;
        DWORD length = read_u32(header + 4);
        DWORD room = body_end - position - CHUNK_HEADER_SIZE;
        if (length > room)
            length = room;
        else if ((length & 1) && length < room)
            ++length;
        write_u32(header + 4, length);
        deepest_images_first(header + CHUNK_HEADER_SIZE, length);
        position += CHUNK_HEADER_SIZE + length;
    }
    return position;
}

// How many frames the steps show: with a sequence, up to the highest frame
// it names; without, one frame a step. 0 when it can't be told.
DWORD frames_shown(const BYTE* bytes, const TopChunks& top, DWORD steps) {
    if (!top.sequence.present)
        return steps;
    if (steps > MAX_STEPS_READ || top.sequence.length / 4 < steps)
        return 0;
    const BYTE* entries = bytes + top.sequence.offset + CHUNK_HEADER_SIZE;
    DWORD highest = 0;
    for (DWORD i = 0; i < steps; ++i)
        if (read_u32(entries + 4 * i) > highest)
            highest = read_u32(entries + 4 * i);
    return highest + 1;
}

}  // namespace

bool prepare_animated_copy(BYTE* bytes, DWORD size, DWORD width, DWORD height) {
    if (!is_riff_acon(bytes, size))
        return false;
    // A length past the file is taken to the file's end; some writers count
    // the RIFF header into it.
    DWORD riff_length = read_u32(bytes + 4);
    if (riff_length > size - CHUNK_HEADER_SIZE)
        riff_length = size - CHUNK_HEADER_SIZE;
    DWORD body_end = CHUNK_HEADER_SIZE + riff_length;
    TopChunks top;
    walk_top_chunks(bytes, body_end, &top);
    // A header, cut to the body if it runs past it, must hold every field;
    // otherwise nothing is written.
    if (!top.anih.present || top.anih.length < ANIH_SIZE ||
        body_end - top.anih.offset - CHUNK_HEADER_SIZE < ANIH_SIZE)
        return false;
    write_u32(bytes + 4, riff_length);

    // The frame list first: a walk past a list too short for its frames
    // runs through frame data, where nothing may be cut. Only a list that
    // follows the header is made longer, so that it never swallows it.
    if (top.frames.present && top.frames.offset > top.anih.offset &&
        body_end - top.frames.offset >= LIST_HEADER_SIZE) {
        // Frames may run past a list that is too short for them, as long as
        // they stay inside the body: the list is made to hold them.
        DWORD frames = read_u32(bytes + top.anih.offset + CHUNK_HEADER_SIZE + ANIH_FRAMES);
        DWORD end = even_out_frames(bytes, body_end, top.frames.offset + LIST_HEADER_SIZE, frames);
        DWORD held = end - top.frames.offset - CHUNK_HEADER_SIZE;
        if (held > top.frames.length)
            write_u32(bytes + top.frames.offset + 4, held);
    }
    // Then the chunk that runs past the body is cut to it, and the chunks
    // are looked up again (the list may now hold some that followed it).
    cut_overrunning_chunk(bytes, body_end);
    walk_top_chunks(bytes, body_end, &top);

    BYTE* anih = bytes + top.anih.offset + CHUNK_HEADER_SIZE;
    DWORD flags = read_u32(anih + ANIH_FLAGS);
    if ((flags & ANIH_FLAG_SEQUENCE) && !top.sequence.present) {
        // Readers disagree on a sequence flag without its sequence (one takes
        // a step a frame and reads that many rates): every reader takes the
        // header's steps once the flag is gone.
        flags &= ~ANIH_FLAG_SEQUENCE;
        write_u32(anih + ANIH_FLAGS, flags);
    }
    if (!(flags & ANIH_FLAG_SEQUENCE))
        top.sequence.present = false;
    // Frames after the last one any step shows cost the system a frame's
    // bitmaps on every load, which nothing ever frees.
    DWORD shown = frames_shown(bytes, top, read_u32(anih + ANIH_STEPS));
    if (shown > 0 && shown < read_u32(anih + ANIH_FRAMES))
        write_u32(anih + ANIH_FRAMES, shown);
    if (width || height) {
        write_u32(anih + ANIH_WIDTH, width);
        write_u32(anih + ANIH_HEIGHT, height);
    }
    return true;
}

bool check_private_copy(BYTE* bytes, DWORD size, CursorFileLayout* layout) {
    prepare_animated_copy(bytes, size, 0, 0);  // changes nothing unless animated
    return check_cursor_file(bytes, size, layout);
}
