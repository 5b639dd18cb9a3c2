// The check tool's command line.
#pragma once

#include <string>
#include <vector>

struct Options {
    int client_width;  // client area for automatic mode
    int client_height;
    bool restore_defaults;           // write the missing defaults now
    bool help;                       // print the usage and stop
    bool report;                     // also write the problem report file
    std::string sheet;               // PNG file to draw the cursors into; empty: none
    std::vector<std::string> files;  // cursor files to check on their own
                                     // (dropped onto the program)
};

// Reads the program's command line (wide, so that any name passes) into
// `options`; false with `error` naming what is wrong (an unknown option, a
// missing or bad value). Text is UTF-8.
bool parse_command_line(Options* options, std::string* error);

// Prints how to run the tool.
void print_usage();
