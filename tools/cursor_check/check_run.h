// The whole check of the game folder, as quillmere_check runs it: the
// players' settings window runs the same one, so that both find the same
// problems in the same words.
#pragma once

#include <string>

#include "tools/cursor_check/options.h"
#include "tools/cursor_check/settings_report.h"
#include "tools/cursor_check/virtual_store.h"

// Exit codes of the check tool.
const int EXIT_ALL_FINE = 0;
const int EXIT_PROBLEMS = 1;
const int EXIT_USAGE = 2;
const int EXIT_NOT_A_GAME_FOLDER = 3;

// What a report written after the check needs: the game folder checked
// (it is the current folder), its settings and the redirected copies.
// `ready` when the check ran without writing one.
struct ReportInputs {
    bool ready;
    SettingsReport settings;
    RedirectedCopies copies;
};

// Checks the game folder (or the dropped files) as `options` ask, printing
// the report with the result first; returns the exit code. `report` (may
// be null) receives what a report written afterwards needs.
int run_check(const Options& options, ReportInputs* report = NULL);

// Says where the report went, or that it can't be written; true when written.
bool report_written(const std::string& path);

// "result: ..." naming every problem found so far briefly, or that all is
// fine.
std::string result_line();
