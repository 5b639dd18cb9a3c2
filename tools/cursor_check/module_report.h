// The lines of the check tool's report about the plug-in file and the cursor
// folders.
#pragma once

#include "tools/cursor_check/game_folder.h"

// The version numbers in the version resource of the file at `path`, or
// false when it has none (the file is then no build of this plug-in, or a
// damaged one).
bool file_version(const std::wstring& path, unsigned* major, unsigned* minor, unsigned* patch);

// Prints whether plugin\Quillmere.yrp is there and the version it carries;
// notes a problem when it is missing or damaged. True when it
// is there.
bool print_module_report();

// Prints, under `label`, whether a cursor folder is there and can take the
// default cursors, or what to do about it; returns what it found.
FolderState print_folder_report(const char* label, const char* folder);

// When the cursor folder is still missing although the game has run since
// the plug-in was put in place, the game did not load it: says so.
void print_plugin_not_loaded(FolderState cursor_folder);
