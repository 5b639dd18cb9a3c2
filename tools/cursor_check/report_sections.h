// The parts of the players' problem report that say what the check found
// and what the player has put into the game folder: each a few lines of
// plain text ending in a line feed.
#pragma once

#include <string>

// "written: 2026-12-08 16:40:12 (this computer's time)".
std::string written_line();

// The check's result line, then every problem and note it found.
std::string findings_lines();

// The settings file as the player wrote it, each line behind "  | ".
std::string settings_text_lines();

// The wrapper beside the game: its ddraw.dll with the name and version its
// file gives, and the settings that change the picture.
std::string wrapper_lines();

// The player's own files in the game folder: the settings file and every
// cursor file that is not a default.
std::string players_files_line();

// The check's whole output, each line indented.
std::string check_output_lines();
