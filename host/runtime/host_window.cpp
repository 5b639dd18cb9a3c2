#include "host/runtime/host_window.h"

#include <stdio.h>

#include "host/runtime/direct_draw_mode.h"
#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "base/host_address_map.h"

HostProcLog host_proc_log;

namespace {

const char MAIN_CLASS[] = "QuillmereStandInHost";
const char MAIN_TITLE[] = "Quillmere stand-in host";
const int KIND_KEYS_STEP = 1;
HWND dialog_window;

void step_cursor_kind(int delta) {
    set_host_cursor_kind(static_cast<uint8_t>(host_cursor_kind() + delta));
}

// As the game does, the host passes through its two cursor routines (the
// diverted call sites) whenever its cursor kind changes.
void after_kind_change() {
    if (!host_code_installed())
        return;
    run_call_site_routine_a(host_cursor_kind());
    run_call_site_routine_b(host_cursor_kind());
}

LRESULT on_key(HWND window, WPARAM key) {
    if (key == VK_ESCAPE) {
        DestroyWindow(window);
        return 0;
    }
    if (key == 'D') {
        host_dialog_open() ? close_host_dialog() : open_host_dialog();
        return 0;
    }
    if (key >= '0' && key <= '9')
        set_host_cursor_kind(static_cast<uint8_t>(key - '0'));
    else if (key == VK_RIGHT || key == VK_UP)
        step_cursor_kind(KIND_KEYS_STEP);
    else if (key == VK_LEFT || key == VK_DOWN)
        step_cursor_kind(-KIND_KEYS_STEP);
    else if (key == 'A')
        set_host_animated_set(!(host_state_flags() & host_map::ANIMATED_SET_FLAG));
    else
        return 0;
    after_kind_change();
    InvalidateRect(window, NULL, TRUE);
    return 0;
}

LRESULT CALLBACK host_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SETCURSOR:
        host_proc_log.setcursor_messages++;
        host_proc_log.last_setcursor_lparam = lparam;
        break;
    case WM_TIMER:
        if (wparam == FRAME_TIMER_ID) {
            draw_direct_draw_frame();
            return 0;
        }
        host_proc_log.timer_messages++;
        host_proc_log.last_timer_id = wparam;
        return 0;
    case WM_SIZE:
        host_proc_log.size_messages++;
        InvalidateRect(window, NULL, TRUE);
        return 0;
    case WM_KEYDOWN:
        return on_key(window, wparam);
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        paint_host_scene(dc, client);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void register_class(const char* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleA(NULL);
    window_class.hCursor = LoadCursorA(NULL, IDC_ARROW);
    window_class.hbrBackground = background;
    window_class.lpszClassName = name;
    RegisterClassA(&window_class);  // a second registration fails harmlessly
}

SIZE window_size_for_client(int client_width, int client_height) {
    RECT rect = {0, 0, client_width, client_height};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
    return size;
}

}  // namespace

HWND create_host_window(int client_width, int client_height, bool activate) {
    register_class(MAIN_CLASS, host_wnd_proc, NULL);
    register_class(HOST_DIALOG_CLASS, DefWindowProcA,
                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    SIZE size = window_size_for_client(client_width, client_height);
    HWND window = CreateWindowExA(0, MAIN_CLASS, MAIN_TITLE, WS_OVERLAPPEDWINDOW, 20, 20,
                                  size.cx, size.cy, NULL, NULL, GetModuleHandleA(NULL), NULL);
    if (!window)
        return NULL;
    // Some window managers ignore the size asked at creation: insist.
    set_client_size(window, client_width, client_height);
    ShowWindow(window, activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    set_host_main_window(window);
    return window;
}

bool real_client_size(HWND window, SIZE* size) {
    WINDOWINFO info = {};
    info.cbSize = sizeof info;
    if (!GetWindowInfo(window, &info))
        return false;
    size->cx = info.rcClient.right - info.rcClient.left;
    size->cy = info.rcClient.bottom - info.rcClient.top;
    return true;
}

void set_client_size(HWND window, int client_width, int client_height) {
    SIZE size = window_size_for_client(client_width, client_height);
    SetWindowPos(window, NULL, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void open_host_dialog() {
    if (dialog_window)
        return;
    dialog_window = CreateWindowExA(0, HOST_DIALOG_CLASS, "Host dialog",
                                    WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 200, 240, 120,
                                    NULL, NULL, GetModuleHandleA(NULL), NULL);
}

void close_host_dialog() {
    if (dialog_window)
        DestroyWindow(dialog_window);
    dialog_window = NULL;
}

bool host_dialog_open() { return dialog_window != NULL; }

namespace {

// Pictures of the scene show where an open host dialog lies over the window:
// they are drawn by the host, not grabbed from the screen, so the dialog
// itself is not in them.
void draw_dialog_outline(HDC dc) {
    RECT dialog;
    if (!dialog_window || !GetWindowRect(dialog_window, &dialog))
        return;
    MapWindowPoints(NULL, host_main_window(), reinterpret_cast<POINT*>(&dialog), 2);
    HBRUSH face = CreateSolidBrush(RGB(0x70, 0x78, 0x90));
    FillRect(dc, &dialog, face);
    DeleteObject(face);
    FrameRect(dc, &dialog, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xff, 0xff, 0xff));
    const char caption[] = "host dialog (SDlgDialog)";
    TextOutA(dc, dialog.left + 8, dialog.top + 8, caption, sizeof caption - 1);
}

}  // namespace

void pump_messages_for(DWORD milliseconds) {
    const DWORD WAIT_SLICE_MS = 10;
    DWORD start = GetTickCount();
    MSG message;
    do {
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (milliseconds)
            MsgWaitForMultipleObjects(0, NULL, FALSE, WAIT_SLICE_MS, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

bool pump_through_timer(HWND window, DWORD delay_ms, DWORD limit_ms) {
    const UINT_PTR PROBE_TIMER_ID = 0x50524f42;
    const DWORD PROBE_SLICE_MS = 10;
    int seen = host_proc_log.timer_messages;
    SetTimer(window, PROBE_TIMER_ID, delay_ms, NULL);
    bool fired = false;
    for (DWORD start = GetTickCount(); !fired && GetTickCount() - start < limit_ms;) {
        pump_messages_for(PROBE_SLICE_MS);
        fired = host_proc_log.timer_messages != seen && host_proc_log.last_timer_id == PROBE_TIMER_ID;
    }
    KillTimer(window, PROBE_TIMER_ID);
    return fired;
}

void paint_host_scene(HDC dc, const RECT& client) {
    // A two-tone background so cursors can be judged on light and dark.
    RECT light = client, dark = client;
    light.right = client.right / 2;
    dark.left = light.right;
    HBRUSH light_brush = CreateSolidBrush(RGB(0xe8, 0xe4, 0xda));
    HBRUSH dark_brush = CreateSolidBrush(RGB(0x2a, 0x2e, 0x38));
    FillRect(dc, &light, light_brush);
    FillRect(dc, &dark, dark_brush);
    DeleteObject(light_brush);
    DeleteObject(dark_brush);

    char status[128];
    snprintf(status, sizeof status, "host cursor kind %u%s, client %ldx%ld",
             static_cast<unsigned>(host_cursor_kind()),
             (host_state_flags() & host_map::ANIMATED_SET_FLAG) ? " (animated set)" : "",
             client.right - client.left, client.bottom - client.top);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0x20, 0x20, 0x20));
    TextOutA(dc, 8, 8, status, static_cast<int>(strlen(status)));
    draw_dialog_outline(dc);
}

HCURSOR ask_for_client_cursor(HWND window) {
    SetCursor(NULL);
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}
