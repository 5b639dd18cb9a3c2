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
// How often a step in play is taken again when another program's window
// took the activation meanwhile.
const int STEP_ATTEMPTS = 5;

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

// The player clicks into the window at the pointer, which makes it the
// active window.
void click_into_window(const Tour& tour) {
    return_to_game(tour);
    LPARAM at = MAKELPARAM(POINTER_AT.x, POINTER_AT.y);
    PostMessageA(tour.window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tour.window, WM_LBUTTONUP, 0, at);
    pump_messages_for(CLICK_SETTLE_MS);
}

// The pointer over the game's point the other tours use, inside the
// picture (the wrappers keep it there).
void place_pointer_in_picture(Tour& tour, const RECT& picture) {
    tour.pointer_at.x =
        picture.left + MulDiv(POINTER_AT.x, picture.right - picture.left, HOST_SCREEN_WIDTH);
    tour.pointer_at.y =
        picture.top + MulDiv(POINTER_AT.y, picture.bottom - picture.top, HOST_SCREEN_HEIGHT);
}

// In play: kinds 0 and 10 at the sizes the settings give for the picture
// the wrapper shows (the real client area where it fills it), and the
// pointer showing. Where the wrapper draws the cursor into the game's
// frame, the cursors keep their own size and the frame's magnification
// must bring them to the size automatic mode gives the client area
// without a wrapper.
void check_in_play_once(Tour& tour, const char* slug, const char* what, bool rescale) {
    SIZE client = client_size(tour.window);
    std::string line = format("%s %ldx%ld", what, client.cx, client.cy);
    RECT picture;
    bool in_frame = false;
    int wrapper_side = 0;
    if (!direct_draw_picture(&picture, &in_frame, &wrapper_side)) {
        check_after_resize(tour, slug, line, client, rescale, true);
        return;
    }
    SIZE shown = {picture.right - picture.left, picture.bottom - picture.top};
    place_pointer_in_picture(tour, picture);
    if (shown.cx != client.cx || shown.cy != client.cy)
        line += format(" (picture %ldx%ld)", shown.cx, shown.cy);
    if (!in_frame) {
        check_after_resize(tour, slug, line, shown, rescale, true);
        return;
    }
    SIZE game_screen = {HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT};
    line += ", the wrapper draws the cursor into the frame";
    // A wrapper that resamples every cursor to one side gets them all built
    // at that side.
    SIZE own = check_after_resize(tour, slug, line, game_screen, rescale, true, wrapper_side);
    if (!tour.taken_by.empty())
        return;
    double magnified = static_cast<double>(shown.cy) / HOST_SCREEN_HEIGHT;
    int on_screen = static_cast<int>(own.cx * magnified);
    int wanted = expected_side(tour.settings, client, default_cursor_side(PLAIN_KIND));
    record(tour, "on-screen",
           format("on screen, the frame magnified %.2f times: kind 0 %dx%d, as automatic mode "
                  "gives a client of %ldx%ld without a wrapper (%dx%d)",
                  magnified, on_screen, on_screen, client.cx, client.cy, wanted, wanted),
           on_screen == wanted);
}

// A step in play, `what` followed by the client's size. Where another
// program's window took the activation during it, the player clicks back
// into the game and the step is taken again.
void check_in_play(Tour& tour, const char* slug, const char* what, bool rescale) {
    for (int attempt = 1;; ++attempt) {
        check_in_play_once(tour, slug, what, rescale);
        if (tour.taken_by.empty())
            return;
        printf("tour: %s had the activation during the step: the player clicks back into the "
               "game\n",
               tour.taken_by.c_str());
        if (attempt == STEP_ATTEMPTS)
            break;
        click_into_window(tour);
    }
    record(tour, slug,
           format("%s: the game never kept the activation for a whole step", what), false);
}

// Where the game reads the pointer: the wrapper moves and scales it.
void print_game_pointer(const Tour& tour) {
    POINT game = {};
    GetCursorPos(&game);
    printf("tour: the pointer at %ld,%ld in the client area, the game reads %ld,%ld\n",
           tour.pointer_at.x, tour.pointer_at.y, game.x, game.y);
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
    // The game starts in front, whatever another program opened meanwhile.
    return_to_game(tour);
    RECT picture;
    bool in_frame;
    if (direct_draw_picture(&picture, &in_frame))
        place_pointer_in_picture(tour, picture);

    HCURSOR before = show_kind(tour, PLAIN_KIND, false);
    record(tour, "before-a-click",
           format("before a click into the window, client %ldx%ld: %s shown",
                  client_size(tour.window).cx, client_size(tour.window).cy,
                  size_text(cursor_size(before)).c_str()),
           before != NULL);

    click_into_window(tour);
    check_in_play(tour, "in-play", "in play, magnified to", false);
    print_game_pointer(tour);

    // A window the player can resize and switch to the whole screen.
    if (wrapper && has_caption(tour.window)) {
        set_client_size(tour.window, RESIZED.cx, RESIZED.cy);
        check_in_play(tour, "resized", "window resized to", true);
        PostMessageA(tour.window, WM_SYSKEYDOWN, VK_RETURN, ALT_KEY_DOWN);
        pump_messages_for(PUMP_SLICE_MS);
        check_in_play(tour, "alt-enter", "Alt+Enter, whole screen", true);
    }
    return finish_tour(tour,
                       format("Quillmere tour, DirectDraw%s", wrapper ? " with a wrapper" : ""));
}
