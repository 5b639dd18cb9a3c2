#include "tools/settings_window/preview_control.h"

#include <algorithm>

#include "tools/settings_window/control_ids.h"

namespace {

// One line of scrolling, at 96 DPI.
const int LINE_STEP = 24;

struct Shown {
    const Preview* preview;
    HFONT font;
    int dpi;
    int top;     // the scrolled-off height
    int height;  // the whole drawing's
};
// There is one preview in the settings window.
Shown shown = {};

int client_width(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    return client.right;
}

int client_height(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    return client.bottom;
}

// Draws through a bitmap of the control's size, so that nothing flickers.
void paint(HWND control, HDC target) {
    int width = client_width(control), height = client_height(control);
    if (!shown.preview || width <= 0 || height <= 0)
        return;
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    draw_preview(dc, *shown.preview, width, shown.top, shown.font, shown.dpi);
    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// The drawing's height at this width, measured by drawing into one pixel.
int measure(HWND control) {
    if (!shown.preview)
        return 0;
    HDC screen = GetDC(control);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    int height = draw_preview(dc, *shown.preview, client_width(control), 0, shown.font, shown.dpi);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(control, screen);
    return height;
}

void scroll_to(HWND control, int top) {
    int page = client_height(control);
    shown.top = std::max(0, std::min(top, shown.height - page));
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, shown.height - 1,
                       static_cast<UINT>(page), shown.top, 0};
    SetScrollInfo(control, SB_VERT, &info, TRUE);
    InvalidateRect(control, NULL, FALSE);
}

void remeasure(HWND control) {
    shown.height = measure(control);
    scroll_to(control, shown.top);
}

void on_scroll(HWND control, int request) {
    int line = MulDiv(LINE_STEP, shown.dpi ? shown.dpi : USER_DEFAULT_SCREEN_DPI,
                      USER_DEFAULT_SCREEN_DPI);
    int page = client_height(control);
    SCROLLINFO info = {sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(control, SB_VERT, &info);
    switch (request) {
        case SB_LINEUP: scroll_to(control, shown.top - line); break;
        case SB_LINEDOWN: scroll_to(control, shown.top + line); break;
        case SB_PAGEUP: scroll_to(control, shown.top - page); break;
        case SB_PAGEDOWN: scroll_to(control, shown.top + page); break;
        case SB_TOP: scroll_to(control, 0); break;
        case SB_BOTTOM: scroll_to(control, shown.height); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: scroll_to(control, info.nTrackPos); break;
        default: break;
    }
}

LRESULT CALLBACK preview_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint_info;
            HDC dc = BeginPaint(control, &paint_info);
            paint(control, dc);
            EndPaint(control, &paint_info);
            return 0;
        }
        case WM_PRINTCLIENT:
            paint(control, reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            remeasure(control);
            return 0;
        case WM_VSCROLL:
            on_scroll(control, LOWORD(wparam));
            return 0;
        case WM_MOUSEWHEEL:
            on_scroll(control, GET_WHEEL_DELTA_WPARAM(wparam) > 0 ? SB_LINEUP : SB_LINEDOWN);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN: {
            const int requests[][2] = {{VK_UP, SB_LINEUP},     {VK_DOWN, SB_LINEDOWN},
                                       {VK_PRIOR, SB_PAGEUP},  {VK_NEXT, SB_PAGEDOWN},
                                       {VK_HOME, SB_TOP},      {VK_END, SB_BOTTOM}};
            for (const auto& pair : requests)
                if (static_cast<int>(wparam) == pair[0])
                    on_scroll(control, pair[1]);
            return 0;
        }
        case WM_LBUTTONDOWN:
            SetFocus(control);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(control, message, wparam, lparam);
}

}  // namespace

bool register_preview_class(HINSTANCE instance) {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = preview_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(NULL, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window_class.lpszClassName = PREVIEW_CLASS;
    return RegisterClassW(&window_class) != 0;
}

void show_preview(HWND control, const Preview* preview, HFONT font, int dpi) {
    shown.preview = preview;
    shown.font = font;
    shown.dpi = dpi;
    remeasure(control);
}
