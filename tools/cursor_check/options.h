// The check tool's command line.
#pragma once

#include <string>

struct Options {
    int client_width;       // client area for automatic mode
    int client_height;
    bool restore_defaults;  // write the missing defaults now
    bool help;              // print the usage and stop
    bool report;            // also write the problem report file
    std::string sheet;      // PNG file to draw the cursors into; empty: none
};

// Reads the arguments into `options`; false with `error` naming what is
// wrong (an unknown option, a missing or bad value).
bool parse_options(int argc, char** argv, Options* options, std::string* error);

// Prints how to run the tool.
void print_usage();
