// The whole check of the game folder, as quillmere_check runs it: the
// players' settings window runs the same one, so that both find the same
// problems in the same words.
#pragma once

#include <string>

#include "tools/cursor_check/options.h"

// Exit codes of the check tool.
const int EXIT_ALL_FINE = 0;
const int EXIT_PROBLEMS = 1;
const int EXIT_USAGE = 2;
const int EXIT_NOT_A_GAME_FOLDER = 3;

// Checks the game folder (or the dropped files) as `options` ask, printing
// the report with the result first; returns the exit code.
int run_check(const Options& options);

// "result: ..." naming every problem found so far briefly, or that all is
// fine.
std::string result_line();
