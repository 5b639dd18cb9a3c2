#include "tools/cursor_check/wrapper_report.h"

#include <windows.h>

#include <ctype.h>
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
const int RELEASE_PARTS = 4;
const int RELEASE_PART_BITS = 16;

struct Area {
    int width;
    int height;
    const char* what;  // "window", "screen"
};

std::string size_text(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// " 7.1.0.0" for a known release, "" otherwise.
std::string release_text(WrapperRelease release) {
    if (!release)
        return "";
    std::string text;
    for (int part = RELEASE_PARTS - 1; part >= 0; --part) {
        unsigned value = static_cast<unsigned>(release >> (part * RELEASE_PART_BITS)) & 0xFFFF;
        text += (part == RELEASE_PARTS - 1 ? " " : ".") + std::to_string(value);
    }
    return text;
}

// cnc-ddraw picks its renderer by the first letter (dd.c): g or s draws
// with GDI; o, or auto where Direct3D 9 is missing, falls back to GDI when
// OpenGL does not load.
bool certainly_gdi(const char* renderer) {
    char first = static_cast<char>(tolower(static_cast<unsigned char>(renderer[0])));
    return first == 'g' || first == 's';
}

bool maybe_gdi(const char* renderer) {
    char first = static_cast<char>(tolower(static_cast<unsigned char>(renderer[0])));
    return first != 'd';
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
    if (cnc.hook == HOOK_INSIDE_WINDOWS && certainly_gdi(cnc.renderer))
        problem("cnc-ddraw's hook=2 with renderer=gdi hides the window's size",
                "the plug-in then sees 640x480 and the cursors stay small; set hook=4 (the "
                "wrapper's default) in ddraw.ini, or another renderer, or a fixed Size");
    else if (cnc.hook == HOOK_INSIDE_WINDOWS && maybe_gdi(cnc.renderer))
        print_line("             with hook=2, if OpenGL fails to start cnc-ddraw draws with GDI "
                   "and the cursors stay small; renderer=direct3d9 or hook=4 avoids that");
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
    print_line(std::string("wrapper      ") + wrapper_name(picture.kind) +
               release_text(picture.release) + " (ddraw.dll" +
               (picture.kind == WRAPPER_CNC_DDRAW ? ", its settings in ddraw.ini" : "") + ")");
    Area area = picture.kind == WRAPPER_CNC_DDRAW ? cnc_ddraw_area(cnc) : screen();
    RECT rect = {0, 0, area.width, area.height};
    bool fitted = picture.kind == WRAPPER_CNC_DDRAW &&
                  picture_rect(picture, area.width, area.height, HOST_SCREEN_WIDTH,
                               HOST_SCREEN_HEIGHT, &rect);
    int side = built_side(game_size(settings.value, area.width, area.height), OWN_SIDE);
    std::string place = "a " + size_text(area.width, area.height) + " " + area.what;
    if (picture.draws_cursor && picture.cursor_side) {
        // It squeezes every cursor to a fixed side, draws it into the
        // 640x480 picture and magnifies both: Size changes nothing there.
        int shown = picture.cursor_side * area.height / HOST_SCREEN_HEIGHT;
        std::string square =
            std::to_string(picture.cursor_side) + "x" + std::to_string(picture.cursor_side);
        print_line(std::string("picture      ") +
                   (settings.mode == SCALE_AUTOMATIC
                        ? "the wrapper squeezes"
                        : "Size has no effect beside this wrapper: it squeezes") +
                   " every cursor to " + square +
                   ", draws it into the game's picture and magnifies both: about " +
                   std::to_string(shown) + " px on " + place);
        return;
    }
    if (picture.draws_cursor) {
        // It draws the game's cursor at its own size into the 640x480
        // picture and magnifies both: on screen, by the picture's
        // magnification.
        int shown = side * area.height / HOST_SCREEN_HEIGHT;
        print_line("picture      the wrapper draws the cursor into the game's picture and "
                   "magnifies both: the arrow is " + std::to_string(side) + " px in the picture, "
                   "about " + std::to_string(shown) + " px on " + place);
        if (settings.mode == SCALE_FIXED && settings.value > 1.0f)
            problem("the wrapper magnifies the cursor a second time",
                    "DDrawCompat 0.4 enlarges the cursor with the picture already; set Size=0 "
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
