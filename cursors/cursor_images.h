// The images of an icon-format directory (a .cur or .ico file, or one frame
// of an animated cursor) as the system decodes them, and the one image the
// module has it build for a size. Pure byte work.
#pragma once

#include "cursors/cursor_format.h"

// The largest side of an image the system is given to decode.
const uint32_t MAX_IMAGE_SIDE = 1024;

// One entry whose image the system can decode, where `entry` is the entry's
// offset from the directory's start.
struct ImageChoice {
    uint32_t entry;
    uint32_t width, height;                // what it counts as when choosing and building
    uint32_t image_width, image_height;    // what the system decodes
    uint32_t depth;                        // bits per pixel
};

// What a directory holds: its first entry with a sound image, and whether
// the sound images come in more than one size.
struct DirectoryFacts {
    ImageChoice first;
    bool several_sizes;
};

// True when the `length` bytes at `directory` hold a directory whose entries
// fit (with room for a smallest image each) and at least one of which
// points at an image lying whole inside those bytes. Entries are looked at
// once each.
bool read_directory(const uint8_t* directory, uint32_t length, DirectoryFacts* facts);

// The sound entry the module builds at `width` by `height` (0 by 0: at the
// first sound entry's size): the closest in size, then the deepest, then the
// first. Only for a directory read_directory accepted.
ImageChoice choose_image(const uint8_t* directory, uint32_t length, uint32_t width, uint32_t height);
