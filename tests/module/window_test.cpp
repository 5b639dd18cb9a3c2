// The subclass procedure of the real module on the stand-in host's window:
// which messages it answers, which reach the host, and the debounced rescale
// on real timers and a real message loop.
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "support/import_hooks.h"
#include "tests/module/module_fixture.h"
#include "window/cursor_window.h"

namespace {

class WindowProcedure : public ModuleInHost {
protected:
    void start(const char* size_setting) {
        if (size_setting)
            write_size_setting(size_setting);
        plugin = start_plugin();
        ASSERT_TRUE(plugin.initialised);
        count_module_loads(plugin.module);
    }
    LRESULT send(UINT message, WPARAM wparam, LPARAM lparam) {
        return SendMessageA(window, message, wparam, lparam);
    }
    void send_size(WPARAM kind) { send(WM_SIZE, kind, MAKELPARAM(640, 480)); }
    PluginLoad plugin = {};
};

TEST_F(WindowProcedure, AnswersClientCursorRequestsAndPassesTheRestOn) {
    start(NULL);
    HCURSOR sentinel = LoadCursorA(NULL, IDC_WAIT);
    SetCursor(sentinel);
    HostProcLog before = host_proc_log;
    EXPECT_EQ(TRUE, send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(before.setcursor_messages, host_proc_log.setcursor_messages);
    EXPECT_NE(sentinel, GetCursor());
    EXPECT_TRUE(GetCursor() != NULL);

    const int other_codes[] = {HTCAPTION, HTLEFT, HTBOTTOMRIGHT, HTNOWHERE};
    for (int code : other_codes) {
        LPARAM lparam = MAKELPARAM(code, WM_MOUSEMOVE);
        int seen = host_proc_log.setcursor_messages;
        send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), lparam);
        EXPECT_EQ(seen + 1, host_proc_log.setcursor_messages) << code;
        EXPECT_EQ(lparam, host_proc_log.last_setcursor_lparam) << code;
    }

    // The host's own timers reach it; the rescale timer does not.
    int timers = host_proc_log.timer_messages;
    send(WM_TIMER, 42, 0);
    EXPECT_EQ(timers + 1, host_proc_log.timer_messages);
    EXPECT_EQ(42u, host_proc_log.last_timer_id);
    EXPECT_EQ(0, send(WM_TIMER, RESCALE_TIMER_ID, 0));
    EXPECT_EQ(timers + 1, host_proc_log.timer_messages);
    int sizes = host_proc_log.size_messages;
    send_size(SIZE_RESTORED);
    EXPECT_EQ(sizes + 1, host_proc_log.size_messages);
}

TEST_F(WindowProcedure, ABurstOfResizesGivesOneRescaleASecondAfterTheLast) {
    start(NULL);
    DWORD last_size = 0;
    for (int i = 0; i < 3; ++i) {
        send_size(SIZE_RESTORED);
        last_size = GetTickCount();
        pump_messages_for(300);
    }
    EXPECT_EQ(0, module_loads.calls) << "no rescale before the second has passed";
    pump_until_loads(LOADS_PER_DEFAULT_SET, 4000);
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, module_loads.calls);
    DWORD delay = module_loads.first_tick - last_size;
    // Not before the second has passed; the upper bound only tells a timer
    // that fires at all from one armed anew by every message on a busy
    // two-core machine.
    EXPECT_GE(delay, 950u);
    EXPECT_LE(delay, 3000u);
    // The timer fired once and is gone.
    EXPECT_FALSE(KillTimer(window, RESCALE_TIMER_ID));
    send_size(SIZE_MAXIMIZED);
    pump_until_loads(2 * LOADS_PER_DEFAULT_SET, 4000);
    EXPECT_EQ(2 * LOADS_PER_DEFAULT_SET, module_loads.calls);
}

TEST_F(WindowProcedure, MinimisingArmsNothing) {
    start(NULL);
    send_size(SIZE_MINIMIZED);
    send_size(SIZE_MAXHIDE);
    EXPECT_FALSE(KillTimer(window, RESCALE_TIMER_ID));
    pump_past_rescale();
    EXPECT_EQ(0, module_loads.calls);
}

// Behind a DirectDraw wrapper no WM_SIZE arrives: a change of the window's
// size or of the display arms the rescale all the same, a move does not,
// nor does a change of another setting than the pointer size.
// (The host's procedure makes no WM_SIZE of these: the client is said not
// to have changed.)
// The system's own flags for a WINDOWPOS whose client area kept its size or
// place (the headers leave them out).
const UINT NO_CLIENT_SIZE = 0x0800;
const UINT NO_CLIENT_MOVE = 0x1000;

TEST_F(WindowProcedure, SizeAndDisplayChangesArmTheRescaleAMoveDoesNot) {
    start(NULL);
    struct Change {
        const char* what;
        UINT message;
        UINT flags;
        bool arms;
    } changes[] = {
        {"moved", WM_WINDOWPOSCHANGED, SWP_NOSIZE | SWP_NOZORDER | NO_CLIENT_SIZE, false},
        {"brought to the front", WM_WINDOWPOSCHANGED,
         SWP_NOSIZE | SWP_NOMOVE | NO_CLIENT_SIZE | NO_CLIENT_MOVE, false},
        {"resized", WM_WINDOWPOSCHANGED, SWP_NOMOVE | SWP_NOZORDER | NO_CLIENT_SIZE, true},
        {"borders taken off", WM_WINDOWPOSCHANGED,
         SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED | NO_CLIENT_SIZE, true},
        {"display changed", WM_DISPLAYCHANGE, 0, true},
        {"a setting changed, the pointer size kept", WM_SETTINGCHANGE, 0, false},
    };
    for (const Change& change : changes) {
        WINDOWPOS position = {window, NULL, 0, 0, 1280, 960, change.flags};
        LPARAM lparam = change.message == WM_WINDOWPOSCHANGED ? reinterpret_cast<LPARAM>(&position)
                        : change.message == WM_DISPLAYCHANGE  ? MAKELPARAM(2560, 1440)
                                                              : 0;
        send(change.message, change.message == WM_DISPLAYCHANGE ? 32 : 0, lparam);
        EXPECT_EQ(change.arms, KillTimer(window, RESCALE_TIMER_ID) != FALSE) << change.what;
    }
    // A real move of the window arms nothing either.
    SetWindowPos(window, NULL, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(KillTimer(window, RESCALE_TIMER_ID));
    EXPECT_EQ(0, module_loads.calls);
}

TEST_F(WindowProcedure, AnOpenHostDialogDropsTheRescale) {
    start(NULL);
    open_host_dialog();
    send_size(SIZE_RESTORED);
    pump_past_rescale();
    EXPECT_EQ(0, module_loads.calls);
    EXPECT_FALSE(KillTimer(window, RESCALE_TIMER_ID)) << "the timer is killed all the same";
    close_host_dialog();
    pump_past_rescale();
    EXPECT_EQ(0, module_loads.calls) << "no rescale until the next resize";
}

TEST_F(WindowProcedure, AFixedScaleKillsTheTimerAndReloadsNothing) {
    start("2.0");
    send_size(SIZE_RESTORED);
    pump_past_rescale();
    EXPECT_EQ(0, module_loads.calls);
    EXPECT_FALSE(KillTimer(window, RESCALE_TIMER_ID));
}

TEST_F(WindowProcedure, ASecondStartUpDoesNothingAndReturnsTheFirstResult) {
    start(NULL);
    WNDPROC installed = reinterpret_cast<WNDPROC>(GetWindowLongA(window, GWL_WNDPROC));
    int second = 0;
    ASSERT_TRUE(call_yrp_init(plugin.module, &second));
    EXPECT_EQ(plugin.result, second);
    EXPECT_EQ(installed, reinterpret_cast<WNDPROC>(GetWindowLongA(window, GWL_WNDPROC)));
    EXPECT_EQ(0, module_loads.calls);
    // Messages still reach the host exactly once.
    int seen = host_proc_log.setcursor_messages;
    send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCAPTION, 0));
    EXPECT_EQ(seen + 1, host_proc_log.setcursor_messages);
}

// Start-up on another thread than the window's: the first cursor the load
// builds holds it until the window has been resized, so the resize falls
// while the cursors load.
typedef HICON(WINAPI* CreateIconFn)(PBYTE, DWORD, BOOL, DWORD, int, int, UINT);
CreateIconFn real_create_icon;
HANDLE loading, resized;

HICON WINAPI create_icon_after_resize(PBYTE bytes, DWORD size, BOOL icon, DWORD version,
                                      int width, int height, UINT flags) {
    SetEvent(loading);
    WaitForSingleObject(resized, 10000);
    return real_create_icon(bytes, size, icon, version, width, height, flags);
}

DWORD WINAPI start_up(void* module) {
    int result;
    return call_yrp_init(static_cast<HMODULE>(module), &result) ? 0 : 1;
}

TEST_F(WindowProcedure, AResizeWhileStartUpLoadsOnAnotherThreadEndsAtTheWindowsScale) {
    HMODULE module = load_plugin_unstarted();
    ASSERT_TRUE(module != NULL);
    real_create_icon = reinterpret_cast<CreateIconFn>(
        replace_import(module, "user32.dll", "CreateIconFromResourceEx",
                       reinterpret_cast<void*>(create_icon_after_resize)));
    ASSERT_TRUE(real_create_icon != NULL);
    loading = CreateEventA(NULL, TRUE, FALSE, NULL);
    resized = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE thread = CreateThread(NULL, 0, start_up, module, 0, NULL);
    ASSERT_TRUE(thread != NULL);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(loading, 10000));
    set_client_size(window, 2 * HOST_SCREEN_WIDTH, 2 * HOST_SCREEN_HEIGHT);
    SetEvent(resized);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    CloseHandle(thread);
    CloseHandle(loading);
    CloseHandle(resized);
    replace_import(module, "user32.dll", "CreateIconFromResourceEx",
                   reinterpret_cast<void*>(real_create_icon));

    count_module_loads(module);
    pump_until_loads(LOADS_PER_DEFAULT_SET, 4000);
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, module_loads.calls) << "one rescale followed";
    EXPECT_EQ(64, shown_cursor_size().cx);
}

}  // namespace
