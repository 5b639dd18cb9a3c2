// The size the game will build its cursors at, asked of the module's own
// rule for the game in the current folder, and the check tool's lines on it:
// the rule's reasons, the player's pointer size, gamescope, and what the
// system reports for a cursor built at that size.
#pragma once

#include <string>

#include "scaling/size_rule.h"
#include "tools/cursor_check/settings_report.h"

// What the module would know of the game in the current folder with Size
// `setting` and a game window whose client area is width x height as the
// game sees it: the wrapper beside the game with its settings, the player's
// pointer size, and, where the system shows cursors as built, that area in
// the screen's own pixels at `display_dpi` (96 at 100 %).
SizeFacts game_facts(float setting, int width, int height, int display_dpi);

// The rule's answer for that, at this machine's display scaling.
CursorSize game_size(float setting, int width, int height);

// The built-in arrow (cursor 0) built at `size` as the game builds it,
// beside the size the system reports for it and for the cursor on screen
// now, in words.
std::string built_arrow_words(const CursorSize& size);

// Prints the size lines: the rule's reasons for the window given and for
// the window maximised, the pointer size, gamescope, and the arrow built at
// that size beside the size the system reports for it and for the cursor on
// screen now.
void print_size_report(const SettingsReport& settings, int client_width, int client_height);
