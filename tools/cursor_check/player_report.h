// The report a player sends with a problem: what this machine and this game
// folder really do, as plain text in a file beside this program. It names no
// one: paths under the player's profile are written %USERPROFILE%.
#pragma once

#include <string>

#include "tools/cursor_check/settings_report.h"
#include "tools/cursor_check/virtual_store.h"

// The report's file name.
const char REPORT_FILE_NAME[] = "quillmere-report.txt";

// Writes the report for the game folder that is the current folder: beside
// this program, else in the player's Documents or Temp folder. Returns the
// full path written, or empty when no folder took it.
std::string write_player_report(const SettingsReport& settings, const RedirectedCopies& copies);
