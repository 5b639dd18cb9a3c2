// The private copy of an animated cursor that the module hands to the
// system's builder instead of the file: every length made to agree with the
// file, so that readers which walk it without the format's pad bytes, or
// which trust a length the file does not hold, read what the judgement read,
// and never a structure the copy cuts short. Pure byte work: the file on
// disk is never changed.
#pragma once

#include "cursors/cursor_format.h"

// Where the chunks a reader looks for lie in a prepared copy (offsets of
// their headers, 0 for none) and where the copy ends for the system.
struct AnimatedCopy {
    uint32_t end;
    uint32_t header;
    uint32_t frame_list;
    uint32_t sequence;
    uint32_t rates;
};

// Rewrites, in place, a private copy of an animated cursor file: each frame
// chunk's pad byte counted into its length, the frame list's length reaching
// its last frame, a chunk that runs past the body cut to it, the RIFF length
// ending with the last whole chunk (what follows is left out of the copy),
// a sequence flag without its sequence dropped, and frames that no step
// shows dropped from the count. One walk of the frames and two of the
// top-level chunks. False, and the bytes unchanged, when the copy is no
// animated cursor with a whole header.
bool prepare_animated_copy(uint8_t* bytes, uint32_t size, AnimatedCopy* copy);
