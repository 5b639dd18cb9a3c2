// Copies of the game's plug-in files that Windows keeps in the player's
// VirtualStore. A game without a manifest, run without elevation from a
// folder such as Program Files, has its writes there redirected into
// %LOCALAPPDATA%\VirtualStore, and its reads prefer those copies: a file the
// player then puts into the real folder stays hidden behind the copy. This
// program carries a manifest, so it sees the real folder and can compare.
#pragma once

#include <string>
#include <vector>

struct RedirectedCopy {
    std::string file;  // the game's file it stands for, "plugin\Cursors\cursor3.ani"
    bool hides_real;   // the real file is there too, and the game never reads it
};

struct RedirectedCopies {
    // The VirtualStore's copy of the game's plugin folder; empty when the game
    // folder can have none (not on a drive, or no VirtualStore is known).
    std::string store_plugin_folder;
    std::vector<RedirectedCopy> copies;
};

// The redirected copies of the settings and cursor files of the game folder
// `game_folder` (a full path), found in the VirtualStore of %LOCALAPPDATA%.
RedirectedCopies find_redirected_copies(const std::string& game_folder);

// Prints which files the game reads from the VirtualStore instead of the
// game folder and which folder to delete; nothing when there are none.
// Returns the number of copies.
int print_redirected_copies(const RedirectedCopies& found);

// `path` with the folder of the player's profile written %USERPROFILE%, so
// that a report names no one.
std::string without_profile(const std::string& path);
