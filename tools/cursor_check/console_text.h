// The check tool's output: every line fits a standard console's 79 columns,
// and text reaches the console in the characters it shows.
#pragma once

#include <string>

// A Windows console is 80 columns wide; a line of 80 would wrap the cursor.
const int LINE_WIDTH = 79;
// Where the text of a labelled header line starts ("game folder  C:\...").
const int LABEL_WIDTH = 13;

// Prints one line of ANSI text on standard output, wrapped at spaces to
// LINE_WIDTH; continuation lines start `hanging` spaces in.
void print_line(const std::string& text, int hanging = LABEL_WIDTH);

// print_line of a printf-style text.
void say(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Prints one wrapped line on standard error.
void print_error_line(const std::string& text);

// When the console was made for this program alone (it was double-clicked)
// and both shows the output and reads a keyboard, asks for Enter and waits
// for it, so that the report stays on screen.
void wait_if_own_console();
