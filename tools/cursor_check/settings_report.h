// What the check tool reports about the settings file: the text the module
// reads from it, the value and mode that text gives, and the scale the cursors
// would load at.
#pragma once

#include <string>

#include "settings/scale_policy.h"
#include "tools/cursor_check/settings_lines.h"

struct SettingsReport {
    bool file_present;    // the settings file exists as a file
    bool file_is_folder;  // a folder stands where the settings file should be
    bool value_present;   // the file has a [Cursor] Size value
    std::string text;     // that value as written (empty when there is none)
    float value;          // what the module makes of it (read_ini_float)
    ScaleMode mode;
    SettingsLines lines;  // the lines the game ignores
};

// Reads .\plugin\Quillmere.ini the way the module does at start-up.
SettingsReport read_settings_report();

// The scale every cursor file loads at, as load_cursor_set would use it, for
// the settings read and (in automatic mode) the given client size.
float load_scale(const SettingsReport& settings, int client_width, int client_height);

// The scale in words, for a picture's caption: "at 2.0 times their own size".
std::string scale_caption(float scale);

// The client area of the game's window maximised on this screen.
void maximised_client(int* width, int* height);

// Prints the settings and scale lines of the report; a Size the module
// reads otherwise than written (150% reads as 150), one that can't do what
// it says (0.5), and lines the game ignores (a Size under [Cursors]) are
// problems.
void print_settings_report(const SettingsReport& settings, int client_width, int client_height);

// Prints the settings files the game never reads: an edited sample, a
// Quillmere.ini.txt.
void print_settings_mistakes(const SettingsReport& settings);

// A fixed Size past largest_useful_size() is a problem: the largest default
// cursors stop at the largest side the game builds, whatever it says.
void note_capped_size(const SettingsReport& settings);
