// The private copy of an animated cursor that the module hands to the
// system's builder instead of the file: every length made to agree with the
// file, so that readers which walk it without the format's pad bytes, or
// which trust a length the file does not hold, read what the check read.
// Pure byte work: the file on disk is never changed.
#pragma once

#include <windows.h>

#include "cursors/cursor_file_check.h"

// Rewrites, in place, a private copy of an animated cursor file before it
// is checked or built: the RIFF length cut to the file, each frame chunk's
// pad byte counted into its length, the frame list's length reaching its
// last frame, each frame's entries led to the deepest image of their size,
// frames that no step shows dropped from the count, and the header's size
// set to `width` by `height` (left as it is when both are 0). False, and the
// bytes unchanged, when the copy is no animated cursor with a header.
bool prepare_animated_copy(BYTE* bytes, DWORD size, DWORD width, DWORD height);

// The module's judgement of a private copy of a player's file: an animated
// cursor's copy is prepared at its own size (the lengths made to agree with
// the file, as a tolerant reader takes them), then the copy is checked. True
// when it may be built; `layout` (may be null) is then filled.
bool check_private_copy(BYTE* bytes, DWORD size, CursorFileLayout* layout);
