// The stand-in host: plays the game's part for the plug-in. It owns the host
// memory at its real addresses, creates the main window, loads
// .\plugin\Quillmere.yrp, calls yrp_init once and runs its message loop.
// Its code at the patched addresses is written before the plug-in loads, and
// storm.dll is loaded from the host's own folder unless --no-storm is given.
//
// With --tour it runs the scripted tour (host/tour.h) instead of the loop.
// With --ddraw it draws as the game does, through the ddraw.dll of its folder
// or the system's (host/runtime/direct_draw_mode.h), and the tour is the
// DirectDraw one.
//
//   quillmere_host [--screenshot FILE] [--exit-after-init] [--no-storm]
//                  [--ddraw] [--tour OUTDIR [--tour-expect-wrong]] [--hold-animated MS]
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host/runtime/direct_draw_mode.h"
#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "host/runtime/plugin_loader.h"
#include "host/runtime/screenshot.h"
#include "host/runtime/storm_library.h"
#include "host/tour/screen_check.h"
#include "host/tour/tour.h"

namespace {

struct Options {
    const char* screenshot;
    bool exit_after_init;
    bool no_storm;
    TourOptions tour;
    DWORD hold_animated_ms;
};

bool parse_options(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            options->screenshot = argv[++i];
        else if (strcmp(argv[i], "--exit-after-init") == 0)
            options->exit_after_init = true;
        else if (strcmp(argv[i], "--no-storm") == 0)
            options->no_storm = true;
        else if (strcmp(argv[i], "--tour") == 0 && i + 1 < argc)
            options->tour.out_dir = argv[++i];
        else if (strcmp(argv[i], "--tour-expect-wrong") == 0)
            options->tour.expect_wrong = true;
        else if (strcmp(argv[i], "--ddraw") == 0)
            options->tour.direct_draw = true;
        else if (strcmp(argv[i], "--hold-animated") == 0 && i + 1 < argc)
            options->hold_animated_ms = strtoul(argv[++i], NULL, 10);
        else {
            fprintf(stderr, "usage: quillmere_host [--screenshot FILE] [--exit-after-init]"
                            " [--no-storm] [--ddraw] [--tour OUTDIR [--tour-expect-wrong]]"
                            " [--hold-animated MS]\n");
            return false;
        }
    }
    return true;
}


}  // namespace

int main(int argc, char** argv) {
    Options options = {};
    if (!parse_options(argc, argv, &options))
        return 2;

    install_host_code();
    if (!options.no_storm && !load_storm_beside_program())
        fprintf(stderr, "host: no storm.dll beside the host (error %lu)\n", GetLastError());
    set_host_screen_size(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    HWND window = create_host_window(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT, true);
    if (!window) {
        fprintf(stderr, "host: could not create the main window\n");
        return 1;
    }
    // As the game does, DirectDraw takes the window before anything else.
    if (options.tour.direct_draw && !start_direct_draw(window))
        return 1;
    // The real host hides its own cursor once before the plug-in shows it.
    ShowCursor(FALSE);

    PluginLoad plugin = load_plugin(PLUGIN_MODULE_PATH);
    if (!plugin.module) {
        fprintf(stderr, "host: could not load %s (error %lu)\n", PLUGIN_MODULE_PATH,
                GetLastError());
        return 1;
    }
    if (!plugin.initialised) {
        fprintf(stderr, "host: %s has no yrp_init export\n", PLUGIN_MODULE_PATH);
        return 1;
    }
    printf("host: yrp_init returned %d\n", plugin.result);
    if (options.tour.out_dir)
        return run_tour(window, plugin.module, options.tour);
    if (options.hold_animated_ms)
        return hold_animated_cursor(window, options.hold_animated_ms);
    tour_host_code();
    pump_messages_for(0);

    if (options.screenshot) {
        POINT centre = {HOST_SCREEN_WIDTH / 4, HOST_SCREEN_HEIGHT / 2};
        if (!save_client_png(window, centre, options.screenshot)) {
            fprintf(stderr, "host: could not write %s\n", options.screenshot);
            return 1;
        }
        printf("host: screenshot written to %s\n", options.screenshot);
    }
    if (options.exit_after_init || options.screenshot)
        return 0;

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
