// What each default cursor looks like, in a player's words: drawn under it
// on the cursor chart, and the name of its tile in the settings window.
// Base cursors 0 to 21, then animated cursor 5.
#pragma once

constexpr int CURSOR_LOOKS_COUNT = 23;
constexpr const char* CURSOR_LOOKS[CURSOR_LOOKS_COUNT] = {
    "arrow, white",      "arrow, gold",         "arrow, green",      "arrow, red",
    "crosshair",         "ring sight",          "scope sight",       "diamond sight",
    "broken-ring sight", "corner sight",        "magnifier",         "magic wand",
    "pointing hand",     "selection corner",    "scroll up",         "scroll up-right",
    "scroll right",      "scroll down-right",   "scroll down",       "scroll down-left",
    "scroll left",       "scroll up-left",      "ring sight, pulsing",
};
