// The cursor size a player picks in the settings window, the size the game
// will show the cursors at for it, and saving it as Size in the settings
// file, read back the way the plug-in reads it.
#pragma once

#include <string>

#include "scaling/size_rule.h"
#include "settings/scale_policy.h"

// The fixed sizes the slider offers, in tenths: from 1.1 times up to
// largest_useful_size(), past which the largest default cursors grow no more.
const int SLIDER_FIRST_TENTH = 11;
const int SLIDER_TENTHS = 10;

struct SizeChoice {
    ScaleMode mode;  // automatic, fixed or own size
    float value;     // the fixed size; kept while another mode is picked
};

// The choice the settings file makes now, as the game reads it.
SizeChoice saved_choice();

// The defaults: automatic, and 2.0 for the fixed size.
SizeChoice default_choice();

// The Size text written for a choice: "0", "1.0", "2.0", "1.25".
std::string size_text(const SizeChoice& choice);

// A fixed size as the player typed it; false unless it is a plain number
// above 1 and at most largest_useful_size().
bool read_fixed_size(const std::wstring& text, float* value);

// How to write a fixed size, for when one is not: "Write the fixed size as
// a number above 1 and at most 7.3, ...".
std::string fixed_size_rule();

// For a saved fixed size above largest_useful_size(): what it does and what to
// do; empty for any other.
std::string oversize_advice(const SizeChoice& saved);

// The Size value the choice writes, as the game reads it.
float size_setting(const SizeChoice& choice);

// The size the game builds every cursor at for `choice` in a game window of
// width by height (inside its frame), with the reasons, on a display of
// `dpi`: the module's own rule.
CursorSize shown_size(const SizeChoice& choice, int width, int height, int dpi);

// Writes the choice as Size under [Cursor] in plugin\Quillmere.ini, keeping
// every other byte (a missing file starts as the sample's copy), reads it
// back as the game does, and says in `message` what happened and what the
// game will use, or what to do. True when the game will read the choice.
bool save_choice(const SizeChoice& choice, std::string* message);
