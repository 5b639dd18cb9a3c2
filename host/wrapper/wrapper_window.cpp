// The wrapper's window procedure in front of the game's, the window's size
// and place, and drawing the game's screen into it.
#include "host/wrapper/wrapper.h"

#include "base/icon_bitmaps.h"

namespace {

// Messages the wrapper makes itself when the game sets its mode; the game
// receives them as WM_SIZE and WM_DISPLAYCHANGE.
const UINT WM_WRAPPER_SIZE = WM_APP + 0x2a0;
const UINT WM_WRAPPER_DISPLAYCHANGE = WM_APP + 0x2a1;
const DWORD WINDOWED_STYLE = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
const DWORD BORDERLESS_STYLE = WS_POPUP | WS_VISIBLE;
const int LARGEST_WHOLE_FACTOR = 19;

SIZE window_client_size() {
    SIZE size = {wrapper.settings.width, wrapper.settings.height};
    if (size.cx <= 0 || size.cy <= 0) {
        size.cx = wrapper.mode_width;
        size.cy = wrapper.mode_height;
    }
    return size;
}

// A screen of width x height: the whole screen, or a display mode of that
// size the real wrapper switches to (shown at the top left).
void cover(int width, int height) {
    SetWindowLongA(wrapper.window, GWL_STYLE, BORDERLESS_STYLE);
    SetWindowPos(wrapper.window, HWND_TOP, 0, 0, width, height, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    wrapper.full_screen = true;
}

// The whole screen; without `windowed` and with a size set, the display
// mode the real wrapper switches to.
void cover_the_screen() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const WrapperSettings& settings = wrapper.settings;
    if (!settings.windowed && !settings.borderless && settings.width > 0 && settings.height > 0) {
        width = settings.width;
        height = settings.height;
    }
    cover(width, height);
}

void make_window() {
    SIZE client = wrapper.window_size.cx > 0 ? wrapper.window_size : window_client_size();
    RECT rect = {0, 0, client.cx, client.cy};
    AdjustWindowRect(&rect, WINDOWED_STYLE, FALSE);
    SetWindowLongA(wrapper.window, GWL_STYLE, WINDOWED_STYLE);
    SetWindowPos(wrapper.window, HWND_TOP, 20, 20, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    wrapper.full_screen = false;
}

// Alt+Enter as the real wrapper does it (util_toggle_fullscreen): from its
// window to a display mode of the window's size (with toggle_upscaled, the
// whole screen) and back to a window of that size; stretched over the
// whole screen (fullscreen=true) it stays there.
void toggle_full_screen() {
    const WrapperSettings& settings = wrapper.settings;
    if (settings.borderless) {
        cover_the_screen();
        return;
    }
    if (wrapper.full_screen) {
        make_window();
        return;
    }
    RECT client;
    GetClientRect(wrapper.window, &client);
    wrapper.window_size.cx = client.right;
    wrapper.window_size.cy = client.bottom;
    if (settings.toggle_upscaled)
        cover(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    else
        cover(client.right, client.bottom);
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
    SetCursor(cursor_to_show(wrapper.game_cursor));
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
            toggle_full_screen();
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

RECT fit_picture(int client_width, int client_height) {
    const WrapperSettings& settings = wrapper.settings;
    int mode_width = wrapper.mode_width, mode_height = wrapper.mode_height;
    // Never less than the game's mode: a smaller window cuts it off.
    int width = client_width > mode_width ? client_width : mode_width;
    int height = client_height > mode_height ? client_height : mode_height;
    int picture_width = width, picture_height = height;
    if (settings.boxing) {
        // Whole numbers from 19 down (dd_SetDisplayMode).
        int factor = 1;
        while (factor < LARGEST_WHOLE_FACTOR && mode_width * (factor + 1) <= width &&
               mode_height * (factor + 1) <= height)
            ++factor;
        picture_width = mode_width * factor;
        picture_height = mode_height * factor;
    } else if (settings.maintas) {
        // The real wrapper's arithmetic: the height for the whole width,
        // else the width for the whole height, each rounded.
        bool own = settings.aspect_x <= 0 || settings.aspect_y <= 0;
        double wanted = own ? static_cast<double>(mode_height) / mode_width
                            : static_cast<double>(settings.aspect_y) / settings.aspect_x;
        double area = static_cast<double>(height) / width;
        picture_height = static_cast<int>(wanted * width + 0.5);
        if (area < wanted && picture_height > 0) {
            double across = static_cast<double>(picture_width) / picture_height * height;
            picture_width = static_cast<int>(across + 0.5);
            picture_height = height;
        }
        picture_width = picture_width < width ? picture_width : width;
        picture_height = picture_height < height ? picture_height : height;
    }
    RECT picture;
    picture.left = width / 2 - picture_width / 2;
    picture.top = height / 2 - picture_height / 2;
    picture.right = picture.left + picture_width;
    picture.bottom = picture.top + picture_height;
    return picture;
}

namespace {

struct Frame {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

// The game's cursor drawn into the frame at the pointer's place in the
// game's screen: the frame then carries it through the magnification.
void draw_cursor_into_frame(HDC dc, const BYTE* pixels, const Frame& info) {
    HDC frame_dc = CreateCompatibleDC(dc);
    HBITMAP frame = CreateCompatibleBitmap(dc, wrapper.mode_width, wrapper.mode_height);
    HGDIOBJ old = SelectObject(frame_dc, frame);
    SetDIBitsToDevice(frame_dc, 0, 0, wrapper.mode_width, wrapper.mode_height, 0, 0, 0,
                      wrapper.mode_height, pixels, reinterpret_cast<const BITMAPINFO*>(&info),
                      DIB_RGB_COLORS);
    POINT at;
    if (wrapper.game_cursor && wrapper.game_cursor_count >= 0 && game_pointer(&at)) {
        ICONINFO icon = {};
        if (GetIconInfo(wrapper.game_cursor, &icon)) {
            // 0: the cursor's own size; the later release squeezes every
            // cursor to one side first, its hotspot with it.
            int side = drawn_cursor_side();
            BITMAP mask = {};
            GetObjectA(icon.hbmMask, sizeof mask, &mask);
            int width = mask.bmWidth, height = icon.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
            int x = static_cast<int>(icon.xHotspot), y = static_cast<int>(icon.yHotspot);
            if (side && width > 0 && height > 0) {
                x = MulDiv(x, side, width);
                y = MulDiv(y, side, height);
            }
            DrawIconEx(frame_dc, at.x - x, at.y - y, wrapper.game_cursor, side, side, 0, NULL,
                       DI_NORMAL);
            delete_icon_bitmaps(icon);
        }
    }
    const RECT& picture = wrapper.picture;
    StretchBlt(dc, picture.left, picture.top, picture.right - picture.left,
               picture.bottom - picture.top, frame_dc, 0, 0, wrapper.mode_width,
               wrapper.mode_height, SRCCOPY);
    SelectObject(frame_dc, old);
    DeleteObject(frame);
    DeleteDC(frame_dc);
}

}  // namespace

void present_frame(const BYTE* pixels, const RGBQUAD* palette) {
    if (!wrapper.window || !wrapper.mode_width)
        return;
    Frame info = {};
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
    wrapper.picture = fit_picture(client.right, client.bottom);
    const RECT& picture = wrapper.picture;
    HDC dc = GetDC(wrapper.window);
    // Black borders around the picture.
    HRGN borders = CreateRectRgn(0, 0, client.right, client.bottom);
    HRGN inside = CreateRectRgnIndirect(&picture);
    CombineRgn(borders, borders, inside, RGN_DIFF);
    FillRgn(dc, borders, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DeleteObject(inside);
    DeleteObject(borders);
    if (draws_game_cursor())
        draw_cursor_into_frame(dc, pixels, info);
    else
        StretchDIBits(dc, picture.left, picture.top, picture.right - picture.left,
                      picture.bottom - picture.top, 0, 0, wrapper.mode_width, wrapper.mode_height,
                      pixels, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(wrapper.window, dc);
}

extern "C" BOOL WINAPI StandInPicture(RECT* picture, BOOL* draws_cursor, int* cursor_side) {
    if (!picture || !draws_cursor || !cursor_side || !wrapper.window || !wrapper.mode_width)
        return FALSE;
    RECT client;
    GetClientRect(wrapper.window, &client);
    *picture = fit_picture(client.right, client.bottom);
    *draws_cursor = draws_game_cursor();
    *cursor_side = drawn_cursor_side();
    return TRUE;
}
