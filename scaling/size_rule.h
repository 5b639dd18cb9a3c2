// The one rule for how large the cursors are built, with its reasons in a
// player's words. The module sizes every load with it; the check tool and
// the settings window ask it the same question and print its reasons. Pure:
// it is handed what was measured and touches neither the system nor the host.
#pragma once

#include "wrappers/wrappers.h"

// The pointer size Windows calls standard, and the side the plug-in's own
// cursors have at their own size.
const int STANDARD_POINTER_SIZE = 32;
// Room for the reasons: a handful of short steps.
const int SIZE_REASONS_LENGTH = 640;

// What is known when the size is decided.
struct SizeFacts {
    float setting;                    // the Size value as the module reads it
    int window_width, window_height;  // the game window's client area; 0 when not measured
    int shown_width, shown_height;    // that area in the screen's own pixels (the same
                                      // where the system does not stretch the window)
    int screen_width, screen_height;  // the game's own screen (its display mode)
    WrapperPicture wrapper;           // the wrapper beside the game, as it reads its settings
    int pointer_size;                 // Windows' pointer size in px, 0 when never set
    bool exact_pixels;                // the system shows cursors at the pixels built
    bool gamescope;                   // the game runs under gamescope
};

struct CursorSize {
    float scale;  // each cursor's own size times this; 0 for its own size
    int side;     // not 0: every cursor at side by side, whatever its own size
    char reasons[SIZE_REASONS_LENGTH];  // the steps that gave it, "; " between them
};

// The size every cursor is built at. Size=0 follows the picture the game
// shows (the wrapper's picture, else the window against the game's screen,
// in the screen's own pixels where the system shows cursors as built),
// never below a cursor's own size; Size above 1 is that many times; any
// other value is each cursor's own size. The pointer size multiplies all
// three (never above MAX_CURSOR_SIDE a side, applied when building). A
// wrapper that redraws every cursor at a side of its own gets that side.
// Under gamescope a 32 px cursor is built at least at the side gamescope
// redraws it at in Steam's Gaming Mode on a handheld's screen (36 px).
CursorSize decide_cursor_size(const SizeFacts& facts);

// The pointer size as Windows keeps it, limited to what Windows offers
// (32 to 256 px); 0 (never set) stays 0.
int clamp_pointer_size(int stored);

// The side at which a cursor whose own side is `own_side` is built for
// `size`: at most MAX_CURSOR_SIDE.
int built_side(const CursorSize& size, int own_side);

// The wrapper's name as players know it.
const char* wrapper_name(WrapperKind kind);
