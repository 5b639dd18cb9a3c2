// One cursor file checked the way the module loads it, read once: is it
// there, does it load, its own size and the size the module builds it at,
// from the module's own plan.
// Every file is the player's and untrusted; each outcome is a row, never a
// crash.
#pragma once

#include <string>

enum FilePresence {
    FILE_MISSING,     // nothing at the path
    FILE_PRESENT,     // a file
    FILE_FOLDER,      // a folder stands in place of the file
    FILE_RESTORED,    // was missing; its default has just been written
    FILE_ABSENT,      // nothing at the path and no default for it: normal for
                      // most animated slots, which then show the base cursor
    FILE_UNWRITABLE,  // missing, and its default can't be written there
};

struct SlotCheck {
    FilePresence presence;
    bool loads;        // the module would load it (at the scale asked)
    int native_width;  // its own size; 0 when it has none
    int native_height;
    int width;  // the size it loads at; 0 when it does not load
    int height;
    bool capped;       // shown smaller than asked: the side or pixel limits
    int hot_x, hot_y;  // its hotspot at that size (the first step's frame)
    std::string note;  // why it fails, what replaces it, or what was asked
};

// Checks the file at `path` at `scale`, a scale as load_cursor_set uses it
// (0 for the file's own size), or at `side` by side when that is not 0: one
// load through the module's loader.
SlotCheck check_cursor_file(const char* path, float scale, int side = 0);

// The size the file check_cursor_file checked last loads at `scale` (or at
// `side` by side), from the module's plan of the same parsed file; false
// when it does not load there.
bool size_at_scale(float scale, int side, int* width, int* height);

// True when the module carries a default file under this resource identifier.
bool has_default_cursor(int identifier);

// True when the file at `path` holds exactly that default.
bool is_default_cursor(const char* path, int identifier);
