// The check tool's output: every line fits a standard console's 79 columns,
// and text reaches the console in the characters it shows. Text inside the
// tool is UTF-8, so that folder and file names of any language pass through.
#pragma once

#include <string>

// A Windows console is 80 columns wide; a line of 80 would wrap the cursor.
const int LINE_WIDTH = 79;
// Where the text of a labelled header line starts ("game folder  C:\...").
const int LABEL_WIDTH = 13;

// UTF-8 from UTF-16 and back, for names from and to the wide Windows calls.
std::string utf8(const std::wstring& wide);
std::wstring wide(const std::string& utf8);

// Prints one line of text on standard output, wrapped at spaces to
// LINE_WIDTH; continuation lines start `hanging` spaces in.
void print_line(const std::string& text, int hanging = LABEL_WIDTH);

// print_line of a printf-style text.
void say(const char* format, ...) __attribute__((format(printf, 1, 2)));

// From hold_lines on, printed lines wait; stop_holding prints straight
// again and print_held_lines prints the waiting ones. The result, found
// last, is printed before the details.
void hold_lines();
void stop_holding();
void print_held_lines();

// Everything print_line printed since start_transcript, unwrapped, a line
// each: the check's own words for its report.
void start_transcript();
const std::string& transcript();

// Prints one wrapped line on standard error.
void print_error_line(const std::string& text);

// True when the console was made for this program alone (it was
// double-clicked, or a file was dropped on it), shows a window, and both
// shows the output and reads a keyboard. A command prompt's console, a Unix
// terminal under Wine, a pipe or a file are not.
bool runs_in_own_console();

// True under Wine (and so Proton).
bool is_wine();

// In its own console: shows the report from its first line, where the result
// stands (a report longer than the window would otherwise show its end),
// then asks for Enter and waits for it.
void wait_if_own_console();

// Shows the report from its first line and waits for Enter (or Escape):
// false; with `report_key`, R gives true.
bool wait_for_key(bool report_key);
