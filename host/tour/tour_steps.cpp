#include "host/tour/tour_steps.h"

#include <stdio.h>

#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "host/runtime/screenshot.h"
#include "host/runtime/text_format.h"

namespace {

// The plug-in rescales one second after the last resize: wait until a timer
// of our own armed after the resize has fired (the rescale's has then had its
// turn), and on a slow machine up to a few seconds more for the sizes
// expected.
const DWORD RESCALE_DELAY_MS = 1000;
const DWORD LATE_TIMER_LIMIT_MS = 5000;
const DWORD RESCALE_GRACE_MS = 3000;

bool pointer_showing() {
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING);
}

}  // namespace

SIZE client_size(HWND window) {
    SIZE size = {0, 0};
    real_client_size(window, &size);
    return size;
}

void return_to_game(const Tour& tour) {
    if (IsIconic(tour.window))
        ShowWindow(tour.window, SW_RESTORE);
    SetForegroundWindow(tour.window);
    pump_messages_for(PUMP_SLICE_MS);
}

bool game_in_front(const Tour& tour) {
    return GetForegroundWindow() == tour.window && !IsIconic(tour.window);
}

HCURSOR show_kind(const Tour& tour, int kind, bool animated) {
    set_host_cursor_kind(static_cast<uint8_t>(kind));
    set_host_animated_set(animated);
    POINT on_screen = tour.pointer_at;
    ClientToScreen(tour.window, &on_screen);
    SetCursorPos(on_screen.x, on_screen.y);
    HCURSOR shown = ask_for_client_cursor(tour.window);
    InvalidateRect(tour.window, NULL, TRUE);
    return shown;
}

SIZE cursor_size(HCURSOR cursor) {
    SIZE size = {0, 0};
    int width, height;
    if (measure_cursor(cursor, &width, &height)) {
        size.cx = width;
        size.cy = height;
    }
    return size;
}

std::string size_text(SIZE size) {
    if (size.cx == 0 && size.cy == 0)
        return "no cursor";
    return format("%ldx%ld cursor", size.cx, size.cy);
}

bool is_square(SIZE size, int side) { return size.cx == side && size.cy == side; }

void record(Tour& tour, const char* slug, const std::string& line, bool passed, UINT frame) {
    tour.steps++;
    if (!passed)
        tour.failures++;
    printf("%-4s  %s\n", passed ? "ok" : "FAIL", line.c_str());
    RgbaImage picture;
    POINT at = tour.pointer_at;
    if (!render_client(tour.window, at, frame, &picture)) {
        printf("FAIL  step %d: the window could not be drawn\n", tour.steps);
        tour.failures++;
        return;
    }
    std::string path = format("%s\\%02d-%s.png", tour.options.out_dir, tour.steps, slug);
    if (!write_png(picture, path.c_str())) {
        printf("FAIL  could not write %s\n", path.c_str());
        tour.failures++;
    }
    SheetTile tile = {crop_picture(picture, at.x - CROP_BEFORE_HOTSPOT, at.y - CROP_BEFORE_HOTSPOT,
                                   CROP_SIDE, CROP_SIDE),
                      line, passed};
    tour.tiles.push_back(tile);
    fflush(stdout);
}

SIZE check_after_resize(Tour& tour, const char* slug, const std::string& what, SIZE scaled_for,
                        bool expect_rescale, bool visible, int every_side) {
    int small_side = every_side ? every_side
                                : expected_side(tour.settings, scaled_for,
                                                default_cursor_side(PLAIN_KIND));
    int large_side = every_side ? every_side
                                : expected_side(tour.settings, scaled_for,
                                                default_cursor_side(LARGE_KIND));
    pump_through_timer(tour.window, RESCALE_DELAY_MS, LATE_TIMER_LIMIT_MS);
    SIZE large = {0, 0}, small = {0, 0};
    for (DWORD waited = 0;; waited += PUMP_SLICE_MS * 5) {
        large = cursor_size(show_kind(tour, LARGE_KIND, false));
        small = cursor_size(show_kind(tour, PLAIN_KIND, false));
        bool as_expected = is_square(small, small_side) && is_square(large, large_side);
        // A resize the system passes on late (a busy machine) arms the timer
        // after ours: a wrong size gets the grace too before it counts.
        if (as_expected || waited >= RESCALE_GRACE_MS)
            break;
        pump_messages_for(PUMP_SLICE_MS * 5);
    }
    bool showing = pointer_showing();
    tour.taken_by.clear();
    if (visible && !game_in_front(tour)) {
        HWND active = GetForegroundWindow();
        char title[128] = "";
        GetWindowTextA(active, title, sizeof title);
        tour.taken_by = active == tour.window ? "the game, minimised,"
                        : active            ? format("\"%s\"", title)
                                            : "no window";
        return small;
    }
    bool passed = is_square(small, small_side) && is_square(large, large_side) &&
                  (!visible || showing);
    bool rescaled = expect_rescale && tour.settings.mode == TOUR_AUTOMATIC;
    std::string line = format("%s, %s: kinds 0 and 10 %s %ldx%ld and %ldx%ld", what.c_str(),
                              settings_label(tour.settings, client_size(tour.window)).c_str(),
                              rescaled ? "at" : "stay", small.cx, small.cy, large.cx, large.cy);
    if (visible)
        line += showing ? ", pointer showing" : ", pointer hidden";
    if (!passed)
        line += format(", expected %dx%d and %dx%d%s", small_side, small_side, large_side,
                       large_side, visible ? ", showing" : "");
    record(tour, slug, line, passed);
    return small;
}

int finish_tour(Tour& tour, const std::string& title) {
    std::string sheet = std::string(tour.options.out_dir) + "\\contact_sheet.png";
    std::string heading = format("%s: %d steps, %d failed", title.c_str(), tour.steps,
                                 tour.failures);
    if (!write_contact_sheet(tour.tiles, heading, sheet.c_str())) {
        printf("FAIL  could not write %s\n", sheet.c_str());
        tour.failures++;
    }
    printf("tour: %d steps, %d failed; contact sheet %s\n", tour.steps, tour.failures,
           sheet.c_str());
    fflush(stdout);
    return tour.failures == 0 ? 0 : 1;
}
