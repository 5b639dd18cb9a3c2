// What the tour expects to see, worked out from the rules the player reads in
// the settings file's comments, not from the plug-in's code: the tour is the
// plug-in's examiner.
#pragma once

#include <windows.h>

#include <string>

enum TourMode { TOUR_AUTOMATIC, TOUR_FIXED, TOUR_NATIVE };

struct TourSettings {
    TourMode mode;
    double size;        // the Size value as a number (0 when there is none)
    std::string text;   // the Size value as written
    std::string edges;  // the Edges value as written (empty: the default)
};

// Reads [Cursor] Size from .\plugin\Quillmere.ini: 0 or no number means
// automatic, above 1 a fixed scale, anything else native size; and Edges,
// which the pictures' lines name.
TourSettings read_tour_settings();

// How a step names the settings: "Size=2.0", "Size=1.0 (native)", or
// "automatic, client 1280x960".
std::string settings_label(const TourSettings& settings, SIZE client);

// Side in pixels of the default cursor of a slot, at its own size: 32, and 35
// for the magnifier (10) and the pointing hand (12).
int default_cursor_side(int slot);

// Side a cursor of native side `native` is shown at with these settings in a
// client area of this size: native × Size when fixed; native × the smaller
// of client/640 and client/480 in automatic mode, never below native; the
// product truncated.
int expected_side(const TourSettings& settings, SIZE client, int native);
