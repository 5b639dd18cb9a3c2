// The tour of the host drawing through DirectDraw. With a wrapper beside the
// host that magnifies the game into a window, the plug-in must follow the
// window's real size, however the wrapper reports it to the game, and show
// its cursor in play: after the player's click into the window, when the
// wrapper hands the pointer to the game.
#include <stdio.h>
#include <string.h>

#include "host/runtime/direct_draw_mode.h"
#include "host/runtime/host_window.h"
#include "host/runtime/text_format.h"
#include "host/tour/tour_steps.h"

namespace {

// The player's window resized, as a drag of its border would.
const SIZE RESIZED = {1600, 1200};
const DWORD CLICK_SETTLE_MS = 200;
const LPARAM ALT_KEY_DOWN = 1 << 29;

bool module_in_game_folder(const char* path) {
    char game[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, game, sizeof game);
    while (length > 0 && game[length - 1] != '\\')
        --length;
    return length > 0 && _strnicmp(path, game, length) == 0 && !strchr(path + length, '\\');
}

bool has_caption(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

// The player clicks into the window at the pointer.
void click_into_window(const Tour& tour) {
    LPARAM at = MAKELPARAM(POINTER_AT.x, POINTER_AT.y);
    PostMessageA(tour.window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tour.window, WM_LBUTTONUP, 0, at);
    pump_messages_for(CLICK_SETTLE_MS);
}

// In play: kinds 0 and 10 at the sizes the settings give for the real
// client area, and the pointer showing.
void check_in_play(Tour& tour, const char* slug, const std::string& what, bool rescale) {
    SIZE client = client_size(tour.window);
    check_after_resize(tour, slug, what, client, rescale, true);
}

}  // namespace

int run_direct_draw_tour(Tour& tour) {
    const char* module = direct_draw_module_path();
    bool wrapper = module_in_game_folder(module);
    // What the host's own GetClientRect says: a wrapper that rewrote the
    // host's imports tells it the game's screen, whatever the window's size.
    RECT told = {};
    GetClientRect(tour.window, &told);
    printf("tour: DirectDraw through %s (%s), the game told its client is %ldx%ld, %s,"
           " pictures in %s\n",
           wrapper ? "a wrapper in the game's folder" : "the system's ddraw", module, told.right,
           told.bottom, settings_label(tour.settings, client_size(tour.window)).c_str(),
           tour.options.out_dir);
    pump_messages_for(PUMP_SLICE_MS);

    HCURSOR before = show_kind(tour, PLAIN_KIND, false);
    record(tour, "before-a-click",
           format("before a click into the window, client %ldx%ld: %s shown",
                  client_size(tour.window).cx, client_size(tour.window).cy,
                  size_text(cursor_size(before)).c_str()),
           before != NULL);

    click_into_window(tour);
    SIZE client = client_size(tour.window);
    check_in_play(tour, "in-play", format("in play, magnified to %ldx%ld", client.cx, client.cy),
                  false);

    // A window the player can resize and switch to the whole screen.
    if (wrapper && has_caption(tour.window)) {
        set_client_size(tour.window, RESIZED.cx, RESIZED.cy);
        client = client_size(tour.window);
        check_in_play(tour, "resized",
                      format("window resized to %ldx%ld", client.cx, client.cy), true);
        PostMessageA(tour.window, WM_SYSKEYDOWN, VK_RETURN, ALT_KEY_DOWN);
        pump_messages_for(PUMP_SLICE_MS);
        client = client_size(tour.window);
        check_in_play(tour, "alt-enter",
                      format("Alt+Enter, whole screen %ldx%ld", client.cx, client.cy), true);
    }
    return finish_tour(tour,
                       format("Quillmere tour, DirectDraw%s", wrapper ? " with a wrapper" : ""));
}
