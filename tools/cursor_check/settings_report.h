// What the check tool reports about the settings file: the text the module
// reads from it and the value and mode that text gives.
#pragma once

#include <string>

#include "scaling/size_rule.h"
#include "settings/edge_setting.h"
#include "settings/scale_policy.h"
#include "tools/cursor_check/settings_lines.h"

struct SettingsReport {
    bool file_present;    // the settings file exists as a file
    bool file_is_folder;  // a folder stands where the settings file should be
    bool value_present;   // the file has a [Cursor] Size value
    std::string text;     // that value as written (empty when there is none)
    float value;          // what the module makes of it (read_ini_float)
    ScaleMode mode;
    std::string edges_text;  // the Edges value as written (empty when there is none)
    bool edges_known;        // it is one of the two words
    EdgeStyle edges;         // what the module makes of it
    SettingsLines lines;  // the lines the game ignores
};

// Reads .\plugin\Quillmere.ini the way the module does at start-up.
SettingsReport read_settings_report();

// The size in words, for a picture's caption: "at 2.0 times their own size".
std::string scale_caption(const CursorSize& size);

// The client area of the game's window maximised on this screen.
void maximised_client(int* width, int* height);

// Prints the settings and edges lines of the report; a Size the module
// reads otherwise than written (150% reads as 150), one that can't do what
// it says (0.5), an Edges value that is neither word, and lines the game
// ignores (a Size under [Cursors]) are problems.
void print_settings_report(const SettingsReport& settings);

// Prints the settings files the game never reads: an edited sample, a
// Quillmere.ini.txt.
void print_settings_mistakes(const SettingsReport& settings);

// A fixed Size past largest_useful_size() is a problem: the largest default
// cursors stop at the largest side the game builds, whatever it says.
void note_capped_size(const SettingsReport& settings);
