// What the check tool says about the DirectDraw wrapper beside the game: its
// name, the picture it shows and the cursor size the game will show there,
// read through the module's own wrapper rules. Settings that break the
// pointer are problems, with what to change.
#pragma once

#include <string>

#include "tools/cursor_check/settings_report.h"

// Prints the wrapper lines of the report for the game folder (the current
// folder) and notes its problems.
void print_wrapper_report(const SettingsReport& settings);

// The game's program in the game folder (the current folder), without its
// extension: cnc-ddraw names its section for it. Empty when there is none.
std::string game_program_name();
