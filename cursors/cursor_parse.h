// The structure of a player's cursor file, read in one pass into a small
// fixed table: its frames, the images each frame's directory points at (only
// those whose header says an image the module can decode), its steps,
// rates and hotspots. Every later step works from the table and the image
// bytes it names, never from the file's structure again. Pure byte work with
// fixed-width types, so that it builds the same for the module and natively
// for fuzzing.
#pragma once

#include "cursors/cursor_format.h"

// The most frames and the most steps one animated cursor may have.
const uint32_t MAX_FRAMES = 1024;
// The most images one file may hold, all frames together: 1,024 frames of
// four sizes each.
const uint32_t MAX_IMAGES = 4096;
// The largest side of an image the module decodes.
const uint32_t MAX_IMAGE_SIDE = 1024;

// One image a directory entry points at. It lies after its directory's
// entries and inside its own frame (or file); `length` runs to that frame's
// end.
struct CursorImage {
    uint32_t offset;  // from the file's start
    uint32_t length;
    uint16_t width, height;              // what it counts as when choosing: the entry's
    uint16_t image_width, image_height;  // its header's (a PNG's IHDR)
    uint16_t depth;                      // bits per pixel (32 for PNG)
    uint16_t hot_x, hot_y;               // the entry's hotspot, as written
    // From an icon's directory (type 1), whose entries hold planes and bit
    // count where a cursor's hold the hotspot: the system centres an icon's
    // hotspot, and so does the module.
    bool centred;
};

// A frame: its images are images[first_image] onwards.
struct CursorFrame {
    uint32_t first_image;
    uint32_t image_count;
};

struct CursorTable {
    bool animated;
    // The first frame's images come in more than one size: the file has no
    // size of its own choosing.
    bool several_sizes;
    // An animated cursor's header sets the size (then own_width and
    // own_height are that size).
    bool header_size;
    // Its own size: the header's, else the image the first step shows (an
    // animated frame's by its entry, a single image's by its header).
    uint32_t own_width, own_height;
    uint32_t frame_count, step_count, image_count;
    CursorFrame frames[MAX_FRAMES];
    uint16_t frame_of_step[MAX_FRAMES];
    uint32_t rate_of_step[MAX_FRAMES];  // sixtieths of a second
    CursorImage images[MAX_IMAGES];
};

// Reads the `size` bytes of a cursor file (an icon-format directory or an
// animated cursor) into `table`, each byte's field read once. False when it
// is no cursor: no frame, a frame with no image, a step naming no frame,
// more than MAX_FRAMES frames or steps or MAX_IMAGES images.
bool parse_cursor_file(const uint8_t* bytes, uint32_t size, CursorTable* table);
