// The wrapper's window procedure in front of the game's, the window's size
// and place, and drawing the game's screen into it.
#include "host/wrapper/wrapper.h"

namespace {

// Messages the wrapper makes itself when the game sets its mode; the game
// receives them as WM_SIZE and WM_DISPLAYCHANGE.
const UINT WM_WRAPPER_SIZE = WM_APP + 0x2a0;
const UINT WM_WRAPPER_DISPLAYCHANGE = WM_APP + 0x2a1;
const DWORD WINDOWED_STYLE = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
const DWORD BORDERLESS_STYLE = WS_POPUP | WS_VISIBLE;

SIZE window_client_size() {
    SIZE size = {wrapper.settings.width, wrapper.settings.height};
    if (size.cx <= 0 || size.cy <= 0) {
        size.cx = wrapper.mode_width;
        size.cy = wrapper.mode_height;
    }
    return size;
}

void cover_the_screen() {
    SetWindowLongA(wrapper.window, GWL_STYLE, BORDERLESS_STYLE);
    SetWindowPos(wrapper.window, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN), SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    wrapper.full_screen = true;
}

void make_window() {
    SIZE client = window_client_size();
    RECT rect = {0, 0, client.cx, client.cy};
    AdjustWindowRect(&rect, WINDOWED_STYLE, FALSE);
    SetWindowLongA(wrapper.window, GWL_STYLE, WINDOWED_STYLE);
    SetWindowPos(wrapper.window, HWND_TOP, 20, 20, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    wrapper.full_screen = false;
}

// The player clicked into the window: the wrapper takes the pointer and
// gives the system the game's display count and cursor.
void take_pointer() {
    int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    while (count > wrapper.game_cursor_count)
        count = ShowCursor(FALSE);
    while (count < wrapper.game_cursor_count)
        count = ShowCursor(TRUE);
    SetCursor(wrapper.game_cursor);
    wrapper.locked = true;
}

// The caption, its buttons and the borders: the system's cursors there.
bool is_border(WORD hit) { return hit >= HTCAPTION && hit <= HTHELP; }

LRESULT CALLBACK wrapper_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
    case WM_DISPLAYCHANGE:
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_WRAPPER_SIZE:
        message = WM_SIZE;
        break;
    case WM_WRAPPER_DISPLAYCHANGE:
        message = WM_DISPLAYCHANGE;
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wparam) == window &&
            (HIWORD(lparam) == WM_MOUSEMOVE || HIWORD(lparam) == WM_LBUTTONDOWN)) {
            if (is_border(LOWORD(lparam)))
                return DefWindowProcA(window, message, wparam, lparam);
            if (LOWORD(lparam) == HTCLIENT && !wrapper.locked) {
                SetCursor(LoadCursorA(NULL, IDC_ARROW));
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (!wrapper.locked) {
            take_pointer();
            return 0;
        }
        break;
    case WM_SYSKEYDOWN:
        if (wparam == VK_RETURN && (lparam & (1 << 29))) {
            wrapper.full_screen ? make_window() : cover_the_screen();
            return 0;
        }
        break;
    }
    return CallWindowProcA(wrapper.game_proc, window, message, wparam, lparam);
}

}  // namespace

void take_game_window(HWND window) {
    if (wrapper.window)
        return;
    wrapper.window = window;
    rewrite_game_imports();
    wrapper.game_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(wrapper_wnd_proc)));
}

void apply_game_mode(int width, int height) {
    wrapper.mode_width = width;
    wrapper.mode_height = height;
    if (!wrapper.window)
        return;
    if (!wrapper.settings.windowed || wrapper.settings.borderless)
        cover_the_screen();
    else
        make_window();
    SendMessageA(wrapper.window, WM_WRAPPER_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    SendMessageA(wrapper.window, WM_WRAPPER_DISPLAYCHANGE, 8, MAKELPARAM(width, height));
}

void present_frame(const BYTE* pixels, const RGBQUAD* palette) {
    if (!wrapper.window || !wrapper.mode_width)
        return;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = wrapper.mode_width;
    info.header.biHeight = -wrapper.mode_height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    for (int i = 0; i < 256; ++i)
        info.colours[i] = palette[i];
    RECT client;
    GetClientRect(wrapper.window, &client);
    HDC dc = GetDC(wrapper.window);
    StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, wrapper.mode_width,
                  wrapper.mode_height, pixels, reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(wrapper.window, dc);
}
