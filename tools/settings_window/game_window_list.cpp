#include "tools/settings_window/game_window_list.h"

#include <windows.h>

#include "tools/cursor_check/settings_report.h"
#include "tools/cursor_check/wrapper_report.h"
#include "wrappers/wrappers.h"

namespace {

struct Size {
    int width, height;
};
const Size USUAL_SIZES[] = {
    {640, 480},   {800, 600},   {1024, 768},  {1280, 720},  {1280, 960},  {1366, 768},
    {1600, 900},  {1600, 1200}, {1920, 1080}, {1920, 1440}, {2560, 1440},
};
// How each fit of the wrapper's treats the picture (PictureFit's order).
const char* const FITS[] = {"stretches the picture over the window",
                            "keeps the picture's shape (maintas or aspect_ratio)",
                            "magnifies the picture by whole numbers (boxing)"};

std::string size_words(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// The wrapper's own size first, when it sets one.
void add_wrapper_sizes(GameWindowList* list) {
    std::string program = game_program_name();
    CncDdrawSettings cnc = {};
    WrapperPicture picture = folder_wrapper_picture(".", program.c_str(), &cnc);
    if (picture.kind == WRAPPER_NONE) {
        list->wrapper_rule = "No wrapper beside the game: its picture fills the window.";
        return;
    }
    list->wrapper_rule = picture.draws_cursor
                             ? "The wrapper draws the cursor into the picture and magnifies both."
                             : std::string("The wrapper ") + FITS[picture.fit] + ".";
    if (picture.kind != WRAPPER_CNC_DDRAW)
        return;
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (cnc.fullscreen)
        list->sizes.push_back({width, height, "the whole screen, " + size_words(width, height) +
                                                  " (fullscreen in ddraw.ini)"});
    else if (cnc.windowed && cnc.width > 0 && cnc.height > 0)
        list->sizes.push_back({cnc.width, cnc.height,
                               size_words(cnc.width, cnc.height) +
                                   " (width and height in ddraw.ini)"});
}

}  // namespace

GameWindowList game_window_list() {
    GameWindowList list;
    add_wrapper_sizes(&list);
    for (const Size& size : USUAL_SIZES)
        list.sizes.push_back({size.width, size.height,
                              size_words(size.width, size.height) +
                                  (&size == USUAL_SIZES ? ", the game's own size" : "")});
    int width, height;
    maximised_client(&width, &height);
    list.sizes.push_back(
        {width, height, "maximised on this screen (" + size_words(width, height) + " inside)"});
    return list;
}
