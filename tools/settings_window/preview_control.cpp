#include "tools/settings_window/preview_control.h"

#include <shellapi.h>

#include <algorithm>

#include "tools/settings_window/control_ids.h"

namespace {

// One line of scrolling, at 96 DPI.
const int LINE_STEP = 24;
// How often the animations are looked at: often enough for a step of a
// sixtieth of a second to show on time within a frame or two.
const UINT_PTR ANIMATION_TIMER = 1;
const UINT ANIMATION_TICK_MS = 33;

struct Shown {
    Preview* preview;
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
    draw_preview(dc, *shown.preview, width, shown.top, shown.font, shown.dpi,
                 GetFocus() == control);
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
    int height =
        draw_preview(dc, *shown.preview, client_width(control), 0, shown.font, shown.dpi, false);
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

TileGrid grid_of(HWND control) {
    HDC dc = GetDC(control);
    TileGrid grid = tile_grid(dc, *shown.preview, client_width(control), shown.font, shown.dpi);
    ReleaseDC(control, dc);
    return grid;
}

// The control's text names the tile it is on: what a screen reader says.
void name_focused(HWND control) {
    if (shown.preview)
        SetWindowTextW(control, tile_name(*shown.preview, shown.preview->focused).c_str());
}

// Moves to tile `index` and scrolls it into view.
void focus_tile(HWND control, int index) {
    if (!shown.preview || index < 0 || index >= PREVIEW_COUNT)
        return;
    shown.preview->focused = index;
    TileGrid grid = grid_of(control);
    RECT cell = tile_rect(grid, index, 0);
    int page = client_height(control);
    if (cell.top - grid.gap < shown.top)
        scroll_to(control, cell.top - grid.gap);
    else if (cell.bottom + grid.gap > shown.top + page)
        scroll_to(control, cell.bottom + grid.gap - page);
    InvalidateRect(control, NULL, FALSE);
    name_focused(control);
}

// What can be done to the focused tile, at `at` on the screen.
void offer_choices(HWND control, POINT at) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, ID_CHOOSE_FILE, L"&Choose a file...");
    AppendMenuW(menu, MF_STRING, ID_USE_DEFAULT, L"&Use the default");
    int picked =
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, control, NULL);
    DestroyMenu(menu);
    if (picked)
        SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(picked, BN_CLICKED), 0);
}

// The focused tile's middle, on the screen: where its menu opens from the
// keyboard.
POINT tile_middle(HWND control) {
    RECT cell = tile_rect(grid_of(control), shown.preview->focused, shown.top);
    POINT middle = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(control, &middle);
    return middle;
}

bool on_key(HWND control, WPARAM key) {
    if (!shown.preview)
        return false;
    int columns = grid_of(control).columns;
    int at = shown.preview->focused;
    switch (key) {
        case VK_LEFT: focus_tile(control, at - 1); return true;
        case VK_RIGHT: focus_tile(control, at + 1); return true;
        case VK_UP: focus_tile(control, at - columns); return true;
        case VK_DOWN: focus_tile(control, at + columns); return true;
        case VK_HOME: focus_tile(control, 0); return true;
        case VK_END: focus_tile(control, PREVIEW_COUNT - 1); return true;
        case VK_PRIOR: on_scroll(control, SB_PAGEUP); return true;
        case VK_NEXT: on_scroll(control, SB_PAGEDOWN); return true;
        case VK_RETURN:
        case VK_APPS: offer_choices(control, tile_middle(control)); return true;
        case VK_DELETE:
            SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(ID_USE_DEFAULT, BN_CLICKED), 0);
            return true;
        default: return false;
    }
}

LRESULT CALLBACK preview_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            DragAcceptFiles(control, TRUE);
            SetTimer(control, ANIMATION_TIMER, ANIMATION_TICK_MS, NULL);
            return 0;
        case WM_TIMER:
            if (wparam == ANIMATION_TIMER && shown.preview &&
                advance_animation(shown.preview, GetTickCount()))
                InvalidateRect(control, NULL, FALSE);
            return 0;
        case WM_DESTROY:
            KillTimer(control, ANIMATION_TIMER);
            return 0;
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
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(control, NULL, FALSE);
            name_focused(control);
            return 0;
        // Arrows and Enter move and act on the tiles; Tab and Esc stay the
        // window's.
        case WM_GETDLGCODE:
            if (lparam && reinterpret_cast<const MSG*>(lparam)->message == WM_KEYDOWN &&
                reinterpret_cast<const MSG*>(lparam)->wParam == VK_RETURN)
                return DLGC_WANTARROWS | DLGC_WANTMESSAGE;
            return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (on_key(control, wparam))
                return 0;
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {
            SetFocus(control);
            if (shown.preview)
                focus_tile(control, tile_at(grid_of(control), static_cast<short>(LOWORD(lparam)),
                                            static_cast<short>(HIWORD(lparam)), shown.top));
            return 0;
        }
        case WM_CONTEXTMENU: {
            if (!shown.preview)
                return 0;
            POINT at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
            // From the keyboard (Shift+F10) the point is -1, -1.
            if (at.x == -1 && at.y == -1)
                at = tile_middle(control);
            offer_choices(control, at);
            return 0;
        }
        case WM_DROPFILES: {
            HDROP drop = reinterpret_cast<HDROP>(wparam);
            POINT at = {};
            if (shown.preview && DragQueryPoint(drop, &at))
                focus_tile(control, tile_at(grid_of(control), at.x, at.y, shown.top));
            // The window puts the file in; it releases the drop.
            SendMessageW(GetParent(control), WM_DROPFILES, wparam, 0);
            return 0;
        }
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

void show_preview(HWND control, Preview* preview, HFONT font, int dpi) {
    shown.preview = preview;
    shown.font = font;
    shown.dpi = dpi;
    remeasure(control);
    name_focused(control);
}
