// Cursor files dropped onto the program (or named on its command line),
// checked on their own: does each load, at what size, with which hotspot,
// and which cursor numbers it can be used for.
#pragma once

#include <string>
#include <vector>

// Prints a few lines for each file (UTF-8 paths); true when every one loads.
bool check_dropped_files(const std::vector<std::string>& files);
