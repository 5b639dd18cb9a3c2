// A stand-in for the DirectDraw wrappers players put beside the game
// (test-only, never shipped): a ddraw.dll that draws the game's 640x480x8
// screen magnified into a window, and that does to the game's process what
// such a wrapper does to the plug-in:
// - it rewrites the import tables of the game's modules (every module in
//   the game's folder, or only the game's program) when it loads, whenever a
//   module is loaded and at the first SetCooperativeLevel, so that
//   GetClientRect and GetWindowRect report the game's screen for its window,
//   GetProcAddress on user32 and kernel32 hands out these fakes, and
//   ShowCursor and SetCursor are counted and recorded, not done, until the
//   player clicks into the window;
// - it puts its own window procedure in front of the game's at the first
//   SetCooperativeLevel; a later SetWindowLongA(GWL_WNDPROC) through a
//   rewritten import only replaces its record of the game's procedure;
// - it keeps WM_SIZE and WM_DISPLAYCHANGE from the game, but passes one
//   WM_SIZE and one WM_DISPLAYCHANGE of its own when the game sets its mode;
//   WM_WINDOWPOSCHANGED passes;
// - it answers WM_SETCURSOR over the client area with the arrow until the
//   player clicks into the window, then sets the system's display count to
//   the game's count and the game's last cursor, and passes WM_SETCURSOR on;
// - Alt+Enter switches from the window to a display mode of the window's
//   size (shown as a screen of that size at the top left; with
//   toggle_upscaled, the whole screen) and back to a window of that size;
//   over the whole screen (fullscreen=true) it stays there.
// - it shows the picture as the settings fit it: stretched, keeping its
//   aspect ratio, or magnified by a whole number, inside black borders, and
//   scales the pointer positions the game reads (GetCursorPos) to it;
// - built as the stand-in for a wrapper that draws the cursor itself
//   (DRAWS_GAME_CURSOR, its version resource naming DDrawCompat), it
//   replaces the real pointer by an empty one, draws the game's cursor
//   into the 640x480 frame and magnifies the frame, keeping its shape, onto
//   the whole screen; GetCursor reports the game's cursor. As release 0.4
//   it draws the cursor at its own size; with DRAWN_CURSOR_SIDE (as 0.7.1)
//   it squeezes every cursor to that side first, as the later releases do.
// Settings: ddraw.ini beside the game's program, section [ddraw], the
// section named after the game's program overriding it:
//   windowed=true|false   fullscreen=true|false (with windowed: borderless)
//   width=, height=       the window's client size (0: the game's mode);
//                         without windowed, the display mode it switches to
//                         (a screen of that size at the top left)
//   hook=3|1              3: every module in the game's folder; 1: only the
//                         game's program
//   maintas=, aspect_ratio=X:Y, boxing=  the picture's fit
//   adjmouse=true|false   pointer positions scaled to the picture, or only
//                         moved by its corner
//   toggle_upscaled=true  Alt+Enter goes to the whole screen
#pragma once

#include <windows.h>

struct WrapperSettings {
    bool windowed;
    bool borderless;
    int width;
    int height;
    int hook;
    bool maintas;
    bool boxing;
    bool adjmouse;
    int aspect_x;  // 0: the game's own
    int aspect_y;
    bool toggle_upscaled;
};

const int HOOK_GAME_FOLDER = 3;
const int HOOK_GAME_PROGRAM = 1;

struct WrapperState {
    WrapperSettings settings;
    HMODULE self;
    HWND window;         // the game's window, from the first SetCooperativeLevel
    WNDPROC game_proc;   // the record of the game's procedure behind ours
    int mode_width;      // the game's mode, 0 until SetDisplayMode
    int mode_height;
    LONG game_cursor_count;  // the game's ShowCursor count
    HCURSOR game_cursor;     // the cursor the game last set
    bool locked;             // the player clicked into the window
    bool full_screen;        // the window covers the screen
    SIZE window_size;        // the window's client size when Alt+Enter left it
    RECT picture;            // where the picture is in the client area
    HCURSOR empty_cursor;    // shown instead of the game's when it draws it
};
extern WrapperState wrapper;

// The wrapper's own calls reach the system: its imports are never rewritten.

// Reads ddraw.ini beside the game's program.
void read_wrapper_settings();

// Rewrites the imports of the modules the settings name (not the wrapper's).
void rewrite_game_imports();

// The fake a rewritten import of user32 or kernel32 `name` leads to; null
// for functions the wrapper leaves alone.
void* fake_for(const char* name);

// At the first SetCooperativeLevel: takes the window and puts the wrapper's
// procedure in front of the game's.
void take_game_window(HWND window);

// When the game sets its mode: sizes the window as the settings say and
// sends the game the WM_SIZE and WM_DISPLAYCHANGE of its own making.
void apply_game_mode(int width, int height);

// Draws the game's 8-bit screen, through its palette, into the picture's
// place in the client area (with the game's cursor where it draws that).
void present_frame(const BYTE* pixels, const RGBQUAD* palette);

// The picture's place for the window's client area now.
RECT fit_picture(int client_width, int client_height);

// Where the pointer is in the game's screen, as the game reads it:
// GetCursorPos's position moved by the picture's corner and, with
// adjmouse, scaled from the picture to the game's mode; false before the
// game's mode is set.
bool game_pointer(POINT* at);

// The cursor the system shows for the game's: the empty one where the
// wrapper draws the game's cursor itself.
HCURSOR cursor_to_show(HCURSOR cursor);

// True in the builds that draw the game's cursor into the frame.
bool draws_game_cursor();

// The side those builds squeeze every cursor to before drawing it (the
// later release's 32), 0 where they draw it at its own size.
int drawn_cursor_side();
