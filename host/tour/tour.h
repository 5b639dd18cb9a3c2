// The stand-in host's scripted tour: with the plug-in loaded, it walks
// through what a player would see (every cursor kind, the animated set, the
// scale under the settings read, window resizes with and without a host
// dialog open, and the diverted host code), checks each step against what
// the settings promise, and keeps pictures of every step.
#pragma once

#include <windows.h>

struct TourOptions {
    const char* out_dir;  // folder for the step pictures and the contact sheet
    bool expect_wrong;    // expect kind 0 one pixel too large, so that step fails
    bool direct_draw;     // the host draws through DirectDraw: its own tour
};

// Runs the tour on the host's main window with the loaded plug-in. Prints one
// line per step, writes NN-step.png per step and contact_sheet.png into
// out_dir (which must exist). Returns 0 when every step saw what it expected,
// 1 otherwise.
int run_tour(HWND window, HMODULE plugin, const TourOptions& options);
