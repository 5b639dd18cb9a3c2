// A structural check of cursor files before any system loader sees them.
// Players drop any file into the cursor folders, and the system's loaders
// (Wine's among them) trust what a file declares: read past the file or an
// image when lengths lie, build frames at sizes the file merely claims, and
// leak the frames no step shows. The check walks every read a loader makes
// and refuses a file that would take one outside the file, past the pixel
// limit, or cost handles on every reload. Where a length disagrees with the
// file but every read stays inside it, the file is accepted as a tolerant
// reader takes it (to the file's end, never further).
#pragma once

#include <windows.h>

// The most pixels one cursor may take, all its frames together: as many as
// the largest single image has (1024 by 1024, some 8 MB as the system keeps
// it). A small animated file can declare a thousand frames of a thousand
// pixels square, and a large scale asks for huge cursors: the system would
// spend seconds and gigabytes of the host's memory building them.
const DWORD MAX_CURSOR_PIXELS = 1u << 20;

// What the check learnt of a sound file.
struct CursorFileLayout {
    bool animated;
    DWORD frames;          // 1 for a single-image file
    // The images (an animated cursor's first frame's) come in more than one
    // size; such a file has no own size of its own choosing.
    bool several_sizes;
    DWORD header_width;    // an animated cursor's header size, 0 when unset
    DWORD header_height;
};

// True when `bytes` is a cursor or icon file, or an animated cursor, that
// every loader reads inside the file and within MAX_CURSOR_PIXELS, and that
// costs nothing on reload. `layout` (may be null) is filled when true.
bool check_cursor_file(const BYTE* bytes, DWORD size, CursorFileLayout* layout);

// check_cursor_file without the layout.
bool cursor_file_is_sound(const BYTE* bytes, DWORD size);
