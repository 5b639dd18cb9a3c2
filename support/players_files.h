// Cursor files as players' packs hold them, built with the test builders:
// files the system reads whose lengths disagree with the format, files in
// several sizes, and hostile files that would make a loader read outside
// them, blow up or leak. Shared by the tests of the module's code and of the
// real module.
#pragma once

#include <string>
#include <vector>

struct PlayersFile {
    const char* name;
    std::string bytes;
    bool loads;
    int steps;              // animation steps the loaded cursor has
    int own_side;           // the size it loads at natively (square)
    int hotspot_own;        // its hotspot's x there, and at twice the size:
    int hotspot_doubled;    // which image was picked (-1: not looked at)
};

std::vector<PlayersFile> players_files();

// The file's name in letters and digits, for a test's name.
std::string test_name(const PlayersFile& file);

// GetCursorFrameInfo's step count of a cursor (user32 exports it without a
// header); 0 when the system has no such function.
int cursor_steps(void* cursor);
