// The game window sizes the settings window previews automatic sizing for:
// what the wrapper beside the game sets first (its full screen, or its
// window), then the usual sizes, then the window maximised on this screen;
// and how the wrapper fits the game's picture, in words.
#pragma once

#include <string>
#include <vector>

struct ListedSize {
    int width, height;  // inside the window's frame
    std::string words;  // as the list shows it
};

struct GameWindowList {
    std::vector<ListedSize> sizes;
    std::string wrapper_rule;  // "The wrapper magnifies the picture by whole numbers (boxing)."
};

// The list for the game folder that is the current folder.
GameWindowList game_window_list();
