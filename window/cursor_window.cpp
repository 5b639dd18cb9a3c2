#include "window/cursor_window.h"

#include "cursors/cursor_table.h"
#include "base/host_address_map.h"
#include "scaling/cursor_scaling.h"

namespace {

const UINT RESCALE_DELAY_MS = 1000;
// A new pointer size is one change, not a drag: it shows at once.
const UINT POINTER_RESCALE_DELAY_MS = 100;

// The host's own procedure, as the subclassing returned it.
WNDPROC prev_wnd_proc;

// The host's dialogs are top-level windows of this class.
const char HOST_DIALOG_CLASS[] = "SDlgDialog";

// (Re)arms the rescale: restarting the second makes a drag-resize, and the
// several messages one change sends, yield one rescale.
void arm_rescale(UINT delay = RESCALE_DELAY_MS) {
    SetTimer(host_main_window(), RESCALE_TIMER_ID, delay, NULL);
}

LRESULT on_rescale_timer() {
    KillTimer(host_main_window(), RESCALE_TIMER_ID);  // fires once per arming
    // Reloading under an open dialog is dropped until the next resize.
    if (FindWindowExA(NULL, NULL, HOST_DIALOG_CLASS, NULL))
        return 0;
    // A load running on another thread refused this one: try again later
    // rather than keep the old size.
    if (!auto_rescale())
        arm_rescale();
    return 0;
}

LRESULT CALLBACK cursor_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lparam) == HTCLIENT) {
            apply_current_cursor();
            return TRUE;
        }
        break;
    case WM_SIZE:
        if (wparam == SIZE_RESTORED || wparam == SIZE_MAXIMIZED)
            arm_rescale();
        break;
    // A DirectDraw wrapper in front of the game's procedure passes no WM_SIZE
    // on when it resizes or switches the window; these still come through.
    // A new frame (borders taken off) changes the client area at one size.
    // A move alone rescales only when it took the window to a monitor of
    // another display scaling: a window unaware of it gets no WM_DPICHANGED.
    case WM_WINDOWPOSCHANGED:
        if (lparam && (reinterpret_cast<const WINDOWPOS*>(lparam)->flags &
                       (SWP_NOSIZE | SWP_FRAMECHANGED)) != SWP_NOSIZE)
            arm_rescale();
        else if (screen_pixels_changed())
            arm_rescale();
        break;
    case WM_DISPLAYCHANGE:
        arm_rescale();
        break;
    // Windows tells every top-level window when the player changes the
    // pointer size or the display's scaling (among other settings).
    case WM_SETTINGCHANGE:
        if (pointer_size_changed())
            arm_rescale(POINTER_RESCALE_DELAY_MS);
        else if (screen_pixels_changed())
            arm_rescale();
        break;
    case WM_TIMER:
        if (wparam == RESCALE_TIMER_ID)
            return on_rescale_timer();
        break;
    }
    return CallWindowProcA(prev_wnd_proc, window, message, wparam, lparam);
}

}  // namespace

void subclass_host_window() {
    prev_wnd_proc = reinterpret_cast<WNDPROC>(SetWindowLongA(
        host_main_window(), GWL_WNDPROC, reinterpret_cast<LONG>(cursor_wnd_proc)));
    // Started on another thread than the window's, the cursors loaded while
    // the window could still be resized, and no procedure of ours saw it:
    // rescale now, on the window's thread (a timer can only be set there).
    if (prev_wnd_proc && window_scale_changed())
        PostMessageA(host_main_window(), WM_TIMER, RESCALE_TIMER_ID, 0);
}
