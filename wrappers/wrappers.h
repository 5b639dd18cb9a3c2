// The DirectDraw wrappers players put beside the game, as far as the
// cursor's size goes: which one is there, the picture it shows inside the
// game's window or screen, and whether it draws the game's cursor into the
// game's frame itself. The rules are the wrappers' own (their sources); the
// settings are read as each wrapper reads them. The module uses them at
// start-up and at every rescale, the tools for a game folder.
#pragma once

#include <windows.h>

enum WrapperKind {
    WRAPPER_NONE,         // no ddraw.dll of a wrapper
    WRAPPER_UNKNOWN,      // a ddraw.dll the plug-in does not know
    WRAPPER_CNC_DDRAW,    // cnc-ddraw: ddraw.ini beside it
    WRAPPER_DDRAWCOMPAT,  // DDrawCompat: DDrawCompat.ini / DDrawCompat-<program>.ini
    WRAPPER_DXWRAPPER,    // dxwrapper: dxwrapper.ini
    WRAPPER_DGVOODOO,     // dgVoodoo: dgVoodoo.conf
};

// How a wrapper fits the game's picture into the window or screen.
enum PictureFit {
    FIT_STRETCH,       // the whole area, whatever its shape
    FIT_ASPECT,        // the largest rectangle of the aspect ratio, centred
    FIT_WHOLE_NUMBER,  // the game's mode times the largest whole number that fits
};

// cnc-ddraw's settings that matter to the cursor, as it reads them (its
// section named after the game's program overrides [ddraw]).
struct CncDdrawSettings {
    bool windowed;
    bool fullscreen;
    bool maintas;       // keep the aspect ratio (set too by aspect_ratio)
    bool boxing;        // whole-number magnification
    bool adjmouse;      // pointer positions scaled to the picture
    bool devmode;
    bool border;
    int width;
    int height;
    int hook;
    int aspect_x;       // aspect_ratio=X:Y, 0 when not set
    int aspect_y;
    bool aspect_valid;  // aspect_ratio is empty or two positive numbers
    char renderer[16];
};

// What the wrapper beside the game does to the picture and the cursor.
struct WrapperPicture {
    WrapperKind kind;
    PictureFit fit;
    int aspect_x;       // FIT_ASPECT: the ratio, 0 for the game's own
    int aspect_y;
    bool draws_cursor;  // the wrapper draws the game's cursor into the frame it magnifies
    int cursor_side;
    bool known;         // false: a setting the plug-in can't follow (window-based sizes)
};

// The picture a wrapper shows of a game drawing at mode_width x mode_height
// in an area (client area or screen) of width x height, with the fit of
// `picture`: cnc-ddraw's viewport rule (never smaller than the mode, whole
// numbers 1 to 19, centred). False for a setting that gives no picture.
bool picture_rect(const WrapperPicture& picture, int width, int height, int mode_width,
                  int mode_height, RECT* rect);

// The scale automatic mode loads the cursors at for an area of width x
// height: the picture's magnification (the smaller factor), 1 where the
// wrapper magnifies the cursor with the frame itself, and the area's own
// scale with no wrapper or a setting the plug-in can't follow.
float wrapper_cursor_scale(const WrapperPicture& picture, int width, int height, int mode_width,
                           int mode_height);

// cnc-ddraw's settings from `ini_path`, its program section `program_name`
// (the program's file name without extension) overriding [ddraw].
void read_cnc_ddraw_settings(const char* ini_path, const char* program_name,
                             CncDdrawSettings* settings);

// The fit the settings give.
WrapperPicture cnc_ddraw_picture(const CncDdrawSettings& settings);

// The wrapper a loaded module (or one loaded as data) is, from its version
// resource's ProductName; WRAPPER_UNKNOWN when it names none of them.
// *draws_cursor: a DDrawCompat of 0.4 or later.
WrapperKind wrapper_of_module(HMODULE module, bool* draws_cursor);

// The picture of the wrapper `module` is (loaded, or loaded as data), with
// cnc-ddraw's settings read from `cnc_ini_path` for the game's program
// `program_name`. *cnc receives those settings when that is the wrapper
// (may be null).
WrapperPicture wrapper_picture_of(HMODULE module, const char* cnc_ini_path,
                                  const char* program_name, CncDdrawSettings* cnc);

// The wrapper loaded into this process as ddraw.dll, with its settings as
// they are now: read again only when the DLL or its settings file changed.
WrapperPicture loaded_wrapper_picture();

// For the tools: the wrapper in a game folder (its ddraw.dll read as data,
// its settings beside it) and the game's program name. *cnc receives
// cnc-ddraw's settings when that is the wrapper (may be null).
WrapperPicture folder_wrapper_picture(const char* game_folder, const char* program_name,
                                      CncDdrawSettings* cnc);

struct WrapperPreview {
    WrapperKind kind;
    int picture_width;   // the picture inside the area
    int picture_height;
    float cursor_scale;  // what automatic mode loads the cursors at there
};

// The one call for a settings preview: the wrapper in `game_folder` (the
// game's program `program_name`), and the picture and automatic cursor
// scale in a window or screen of width x height for a game drawing at
// mode_width x mode_height.
WrapperPreview preview_wrapper(const char* game_folder, const char* program_name, int width,
                               int height, int mode_width, int mode_height);
