#include "host/tour/screen_check.h"

#include <stdio.h>

#include "base/host_address_map.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"

namespace {

const int ANIMATED_KIND = 5;
const POINT POINTER_AT = {HOST_SCREEN_WIDTH / 4, HOST_SCREEN_HEIGHT / 2};
const DWORD SLICE_MS = 100;

}  // namespace

int hold_animated_cursor(HWND window, DWORD milliseconds) {
    set_host_cursor_kind(ANIMATED_KIND);
    set_host_animated_set(true);
    POINT on_screen = POINTER_AT;
    ClientToScreen(window, &on_screen);
    SetCursorPos(on_screen.x, on_screen.y);
    pump_messages_for(SLICE_MS);
    HCURSOR shown = ask_for_client_cursor(window);
    if (!shown) {
        printf("host: the plug-in set no animated cursor %d\n", ANIMATED_KIND);
        return 1;
    }
    printf("host: animated cursor %d on screen for %lu ms\n", ANIMATED_KIND, milliseconds);
    fflush(stdout);
    // The pointer stays put; the system steps the frames on its own.
    for (DWORD held = 0; held < milliseconds; held += SLICE_MS) {
        SetCursor(shown);
        pump_messages_for(SLICE_MS);
    }
    return 0;
}
