#include "tools/cursor_check/wrapper_report.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "host/host_setup.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/findings.h"
#include "tools/cursor_check/game_folder.h"
#include "tools/cursor_check/size_report.h"
#include "wrappers/wrappers.h"

namespace {

// Side of the default arrow at its own size.
const int OWN_SIDE = 32;
// cnc-ddraw's hook mode that changes Windows' own functions in the game.
const int HOOK_INSIDE_WINDOWS = 2;

struct Area {
    int width;
    int height;
    const char* what;  // "window", "screen"
};

std::string size_text(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

Area screen() {
    Area area = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), "screen"};
    return area;
}

// Where cnc-ddraw puts the game: the screen it fills, the display mode it
// switches to, or its window (dd_SetDisplayMode).
Area cnc_ddraw_area(const CncDdrawSettings& cnc) {
    if (cnc.fullscreen)
        return screen();
    Area area = {cnc.width > 0 ? cnc.width : HOST_SCREEN_WIDTH,
                 cnc.height > 0 ? cnc.height : HOST_SCREEN_HEIGHT,
                 cnc.windowed ? "window" : "screen"};
    return area;
}

void problem(const std::string& brief, const std::string& fix) {
    print_line("             " + fix);
    add_problem(brief, brief + ": " + fix);
}

void check_cnc_ddraw(const CncDdrawSettings& cnc) {
    if (!cnc.adjmouse)
        problem("cnc-ddraw's adjmouse=false keeps the pointer off the picture",
                "the game reads the pointer unscaled, so clicks land away from it; set "
                "adjmouse=true (and lock_mouse_top_left=false) in ddraw.ini");
    if (cnc.hook == HOOK_INSIDE_WINDOWS && _stricmp(cnc.renderer, "gdi") == 0)
        problem("cnc-ddraw's hook=2 with renderer=gdi hides the window's size",
                "the plug-in then sees 640x480 and the cursors stay small; set hook=4 (the "
                "wrapper's default) in ddraw.ini, or another renderer, or a fixed Size");
}

}  // namespace

std::string game_program_name() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.exe", &found);
    std::string name;
    if (search == INVALID_HANDLE_VALUE)
        return name;
    do {
        if (_stricmp(found.cFileName, CHECK_TOOL_NAME) != 0) {
            name = found.cFileName;
            name.erase(name.rfind('.'));
            break;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return name;
}

void print_wrapper_report(const SettingsReport& settings) {
    std::string program = game_program_name();
    CncDdrawSettings cnc = {};
    WrapperPicture picture = folder_wrapper_picture(".", program.c_str(), &cnc);
    if (picture.kind == WRAPPER_NONE) {
        print_line("wrapper      none beside the game (no ddraw.dll)");
        return;
    }
    print_line(std::string("wrapper      ") + wrapper_name(picture.kind) + " (ddraw.dll" +
               (picture.kind == WRAPPER_CNC_DDRAW ? ", its settings in ddraw.ini" : "") + ")");
    Area area = picture.kind == WRAPPER_CNC_DDRAW ? cnc_ddraw_area(cnc) : screen();
    RECT rect = {0, 0, area.width, area.height};
    bool fitted = picture.kind == WRAPPER_CNC_DDRAW &&
                  picture_rect(picture, area.width, area.height, HOST_SCREEN_WIDTH,
                               HOST_SCREEN_HEIGHT, &rect);
    int side = built_side(game_size(settings.value, area.width, area.height), OWN_SIDE);
    std::string place = "a " + size_text(area.width, area.height) + " " + area.what;
    if (picture.draws_cursor) {
        // It draws the game's cursor into the 640x480 picture and magnifies
        // both: on screen, by the picture's magnification.
        int shown = side * area.height / HOST_SCREEN_HEIGHT;
        print_line("picture      the wrapper draws the cursor into the game's picture and "
                   "magnifies both: the arrow is " + std::to_string(side) + " px in the picture, "
                   "about " + std::to_string(shown) + " px on " + place);
        if (settings.mode == SCALE_FIXED && settings.value > 1.0f)
            problem("the wrapper magnifies the cursor a second time",
                    "DDrawCompat enlarges the cursor with the picture already; set Size=0 "
                    "(automatic) in plugin\\Quillmere.ini");
        return;
    }
    std::string picture_text = fitted ? size_text(rect.right - rect.left, rect.bottom - rect.top)
                                      : size_text(area.width, area.height);
    print_line("picture      " + picture_text + " in " + place + ": the arrow shows at " +
               std::to_string(side) + " px" +
               (picture.kind == WRAPPER_CNC_DDRAW ? "" : " (the plug-in follows the window)"));
    if (picture.kind == WRAPPER_CNC_DDRAW)
        check_cnc_ddraw(cnc);
}
