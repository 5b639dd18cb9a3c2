#include "host/tour/tour.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "host/runtime/text_format.h"
#include "host/runtime/screenshot.h"
#include "host/tour/tour_expect.h"
#include "host/tour/tour_sheet.h"
#include "host/tour/tour_steps.h"
#include "base/host_address_map.h"
#include "host/host_setup.h"

namespace {

const int LOADED_KINDS = 22;
const int UNLOADED_KINDS[] = {22, 255};
const int ANIMATED_KIND = 5;
const UINT SECOND_FRAME = 1;
const int CALL_KIND = 3;
const int CALL_ARGUMENT = 7;

// Client sizes the window is resized to: twice the host screen, a wider
// shape whose height decides (1.875), one under a host dialog, one after it.
const SIZE TWICE_THE_SCREEN = {1280, 960};
const SIZE WIDE = {1600, 900};
const SIZE UNDER_DIALOG = {800, 600};
const SIZE AFTER_DIALOG = {960, 720};


bool inside_plugin(const Tour& tour, uintptr_t address) {
    HMODULE module = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(address), &module);
    return module != NULL && module == tour.plugin;
}

void visit_kinds(Tour& tour) {
    SIZE client = client_size(tour.window);
    std::string label = settings_label(tour.settings, client);
    for (int kind = 0; kind < LOADED_KINDS; ++kind) {
        SIZE seen = cursor_size(show_kind(tour, kind, false));
        int side = expected_side(tour.settings, client, default_cursor_side(kind));
        if (kind == PLAIN_KIND && tour.options.expect_wrong)
            side += 1;
        bool passed = is_square(seen, side);
        std::string line = format("kind %d, %s: %s", kind, label.c_str(), size_text(seen).c_str());
        if (!passed)
            line += format(", expected %dx%d", side, side);
        record(tour, format("kind-%d", kind).c_str(), line, passed);
    }
    for (int kind : UNLOADED_KINDS) {
        HCURSOR cursor = show_kind(tour, kind, false);
        record(tour, format("kind-%d", kind).c_str(),
               format("kind %d, %s: %s (kinds above 21 have none)", kind, label.c_str(),
                      size_text(cursor_size(cursor)).c_str()),
               cursor == NULL);
    }
}

// Two frames of a cursor differ if their pictures around the pointer do.
bool frames_differ(const Tour& tour) {
    RgbaImage first, second;
    if (!render_client(tour.window, POINTER_AT, 0, &first) ||
        !render_client(tour.window, POINTER_AT, SECOND_FRAME, &second))
        return false;
    int left = POINTER_AT.x - CROP_BEFORE_HOTSPOT, top = POINTER_AT.y - CROP_BEFORE_HOTSPOT;
    return crop_picture(first, left, top, CROP_SIDE, CROP_SIDE).rgba !=
           crop_picture(second, left, top, CROP_SIDE, CROP_SIDE).rgba;
}

void visit_animated_set(Tour& tour) {
    SIZE client = client_size(tour.window);
    std::string label = settings_label(tour.settings, client);
    HCURSOR base = show_kind(tour, ANIMATED_KIND, false);
    HCURSOR animated = show_kind(tour, ANIMATED_KIND, true);
    SIZE seen = cursor_size(animated);
    int side = expected_side(tour.settings, client, default_cursor_side(ANIMATED_KIND));
    bool passed = animated != NULL && animated != base && is_square(seen, side);
    std::string line = format("animated set, kind %d, frame 0, %s: %s of its own", ANIMATED_KIND,
                              label.c_str(), size_text(seen).c_str());
    if (!passed)
        line += format(", expected a %dx%d cursor other than the base one", side, side);
    record(tour, "animated-kind-5-frame-0", line, passed, 0);

    bool differ = frames_differ(tour);
    record(tour, "animated-kind-5-frame-1",
           format("animated set, kind %d, frame 1, %s: %s", ANIMATED_KIND, label.c_str(),
                  differ ? "differs from frame 0" : "same picture as frame 0, expected another"),
           differ, SECOND_FRAME);

    HCURSOR plain_base = show_kind(tour, PLAIN_KIND, false);
    HCURSOR plain_animated = show_kind(tour, PLAIN_KIND, true);
    bool shared = plain_animated != NULL && plain_animated == plain_base;
    record(tour, "animated-kind-0",
           format("animated set, kind %d (no animated file), %s: %s", PLAIN_KIND, label.c_str(),
                  shared ? "base cursor 0 shown" : "expected base cursor 0"),
           shared);
    show_kind(tour, PLAIN_KIND, false);
}

void resize_to(const Tour& tour, SIZE client) {
    set_client_size(tour.window, client.cx, client.cy);
}

std::string resized(const char* how, SIZE client) {
    return format("%s %ldx%ld", how, client.cx, client.cy);
}

void visit_resizes(Tour& tour) {
    resize_to(tour, TWICE_THE_SCREEN);
    check_after_resize(tour, "enlarged-1280x960", resized("enlarged to", TWICE_THE_SCREEN),
                       client_size(tour.window), true);
    resize_to(tour, WIDE);
    check_after_resize(tour, "enlarged-1600x900", resized("enlarged to", WIDE),
                       client_size(tour.window), true);
    ShowWindow(tour.window, SW_MAXIMIZE);
    SIZE maximised = client_size(tour.window);
    check_after_resize(tour, "maximised", "maximised", maximised, true);

    // The rescale timer fires while the dialog is open and is dropped: the
    // sizes stay those for the maximised window.
    open_host_dialog();
    ShowWindow(tour.window, SW_RESTORE);
    resize_to(tour, UNDER_DIALOG);
    check_after_resize(tour, "dialog-open-800x600",
                       resized("host dialog open, resized to", UNDER_DIALOG), maximised, false);
    close_host_dialog();

    resize_to(tour, AFTER_DIALOG);
    check_after_resize(tour, "dialog-closed-960x720",
                       resized("dialog closed, resized to", AFTER_DIALOG),
                       client_size(tour.window), true);
    SIZE screen = {HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT};
    resize_to(tour, screen);
    check_after_resize(tour, "back-to-640x480", resized("back to", screen),
                       client_size(tour.window), true);
}

// One diverted call site: the host routine holding it runs with the cursor
// hidden; the plug-in's hook must have set the cursor of the current kind
// before the host function ran, and pass its argument and result through.
void visit_call_site(Tour& tour, char name, uintptr_t site, int (*run)(int),
                     const HostCallLog& log, int expected_result) {
    HCURSOR wanted = show_kind(tour, CALL_KIND, false);
    SetCursor(NULL);
    int runs = log.runs;
    int result = run(CALL_ARGUMENT);
    bool diverted = inside_plugin(tour, call_destination(site));
    bool passed = diverted && log.runs == runs + 1 && result == expected_result &&
                  wanted != NULL && log.cursor_seen == wanted && GetCursor() == wanted;
    std::string line =
        format("call site %c at 0x%06lx, kind %d: %s; host routine(%d) = %d%s", name,
               static_cast<unsigned long>(site), CALL_KIND,
               diverted ? "leads into the plug-in" : "does not lead into the plug-in",
               CALL_ARGUMENT, result,
               log.cursor_seen == wanted && wanted ? ", cursor of kind 3 set before it ran"
                                                   : ", expected the cursor of kind 3 set first");
    if (result != expected_result)
        line += format(", expected %d", expected_result);
    record(tour, format("call-site-%c", name + ('a' - 'A')).c_str(), line, passed);
}

// One replaced routine pointer: the host stub calling through it must come
// back with the stack balanced, without running the host's own routine.
void visit_pointer(Tour& tour, char name, uintptr_t slot, int (*run)(), const int& host_runs) {
    uint32_t target;
    memcpy(&target, reinterpret_cast<const void*>(slot), sizeof target);
    int runs = host_runs;
    int moved = run();
    bool into_plugin = inside_plugin(tour, target);
    bool passed = into_plugin && moved == 0 && host_runs == runs;
    record(tour, format("routine-pointer-%c", name + ('a' - 'A')).c_str(),
           format("routine pointer %c at 0x%06lx: %s, stack moved %d, host routine %s", name,
                  static_cast<unsigned long>(slot),
                  into_plugin ? "leads into the plug-in" : "does not lead into the plug-in",
                  moved, host_runs == runs ? "skipped" : "ran"),
           passed);
}

void visit_host_code(Tour& tour) {
    visit_call_site(tour, 'A', host_map::CALL_SITE_A, run_call_site_routine_a, host_call_log_a,
                    host_call_result_a(CALL_ARGUMENT));
    visit_call_site(tour, 'B', host_map::CALL_SITE_B, run_call_site_routine_b, host_call_log_b,
                    host_call_result_b(CALL_ARGUMENT));
    visit_pointer(tour, 'A', host_map::ROUTINE_POINTER_A, run_pointer_stub_a,
                  pointer_routine_runs_a);
    visit_pointer(tour, 'B', host_map::ROUTINE_POINTER_B, run_pointer_stub_b,
                  pointer_routine_runs_b);
}

}  // namespace

int run_tour(HWND window, HMODULE plugin, const TourOptions& options) {
    Tour tour = {};
    tour.window = window;
    tour.plugin = plugin;
    tour.options = options;
    tour.settings = read_tour_settings();
    if (options.direct_draw)
        return run_direct_draw_tour(tour);
    std::string settings = settings_label(tour.settings, client_size(window));
    printf("tour: %s, host screen %dx%d, pictures in %s\n", settings.c_str(), HOST_SCREEN_WIDTH,
           HOST_SCREEN_HEIGHT, options.out_dir);
    pump_messages_for(PUMP_SLICE_MS);

    visit_kinds(tour);
    visit_animated_set(tour);
    visit_resizes(tour);
    visit_host_code(tour);

    return finish_tour(tour, format("Quillmere tour, %s",
                                    tour.settings.mode == TOUR_AUTOMATIC ? "automatic"
                                                                         : settings.c_str()));
}
