// What both tours are made of: the tour's record, a step's line and picture,
// showing a cursor kind as Windows asks for it, and the check after a
// resize.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/host_address_map.h"
#include "host/host_setup.h"
#include "host/tour/tour.h"
#include "host/tour/tour_expect.h"
#include "host/tour/tour_sheet.h"

// The pointer rests on the light half of the scene, as in the host's screenshot.
const POINT POINTER_AT = {HOST_SCREEN_WIDTH / 4, HOST_SCREEN_HEIGHT / 2};
// A crop of the picture around the pointer for the contact sheet, with room
// for cursors whose hotspot is in their middle.
const int CROP_SIDE = 144;
const int CROP_BEFORE_HOTSPOT = 48;
const int PLAIN_KIND = 0;
const int LARGE_KIND = 10;  // one of the two 35x35 defaults
const DWORD PUMP_SLICE_MS = 20;

struct Tour {
    HWND window;
    HMODULE plugin;
    TourOptions options;
    TourSettings settings;
    int steps;
    int failures;
    std::vector<SheetTile> tiles;
    POINT pointer_at = POINTER_AT;  // where steps put the pointer in the client area
    // The title of the window that had the activation when a step read the
    // pointer, when it was not the game's (the step was not recorded); empty
    // otherwise.
    std::string taken_by;
};

// The client area's real size (not what a wrapper reports to the host).
SIZE client_size(HWND window);

// Sets the host's cursor kind and set, puts the pointer over the client area
// and asks for the cursor as Windows does on a mouse move; returns the
// cursor set then (null if none was).
HCURSOR show_kind(const Tour& tour, int kind, bool animated);

// A cursor's size, 0 by 0 for none; "WxH cursor" or "no cursor".
SIZE cursor_size(HCURSOR cursor);
std::string size_text(SIZE size);
bool is_square(SIZE size, int side);

// Prints the step's line, keeps its picture (with the current cursor's
// animation frame `frame`) and its tile for the contact sheet.
void record(Tour& tour, const char* slug, const std::string& line, bool passed, UINT frame = 0);

// Brings the game's window back in front and active, restored where the
// system minimised it (a full-screen game that loses the activation is), as
// the player's click on it does. Another program may open a window at any
// moment and take the activation.
void return_to_game(const Tour& tour);

// Whether the game's window is active and not minimised.
bool game_in_front(const Tour& tour);

// After a resize, checks kinds 0 and 10 against the sizes the settings give
// for a client area of `scaled_for`. A rescale that is expected gets some
// more time on a slow machine; a rescale that must not happen gets none.
// With `visible`, the pointer must also be showing: the pointer shown is the
// active window's, so a step during which another window had the
// activation (or the game's window was minimised) is not recorded and
// names that window in tour.taken_by.
// `every_side`, when not 0, is the side every cursor must have instead (a
// wrapper that resamples them all to it). Returns kind 0's size.
SIZE check_after_resize(Tour& tour, const char* slug, const std::string& what, SIZE scaled_for,
                        bool expect_rescale, bool visible = false, int every_side = 0);

// Writes the contact sheet, prints the closing line; 0 when every step passed.
int finish_tour(Tour& tour, const std::string& title);

// The DirectDraw tour: the host drawing through ddraw.dll, the game's own or
// a wrapper's, in play after a click into the window, and the wrapper's
// window resized and switched to the whole screen.
int run_direct_draw_tour(Tour& tour);
