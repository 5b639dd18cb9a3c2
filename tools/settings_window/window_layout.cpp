#include "tools/settings_window/window_layout.h"

#include <commctrl.h>

#include <math.h>

#include "tools/cursor_check/size_limit.h"
#include "tools/settings_window/control_ids.h"
#include "tools/settings_window/size_choice.h"

namespace {

// Spacing at 96 DPI.
const int MARGIN = 11;
const int LINE = 18;
const int SHOWN_AT_LINES = 3;
const int CONTROL_HEIGHT = 23;
const int BUTTON_HEIGHT = 25;
const int GROUP_HEIGHT = 104;
const int FINDINGS_HEIGHT = 72;
const int STATUS_HEIGHT = 50;  // three lines
const int GAP = 8;
const int DROPPED_LIST_HEIGHT = 260;

struct ControlSpec {
    int id;
    const wchar_t* window_class;
    const wchar_t* text;
    DWORD style;
    DWORD extended_style;
};

// In tab order; a control starting a group (WS_GROUP) ends the one before.
const ControlSpec CONTROLS[] = {
    {ID_GAME_FOLDER, L"STATIC", L"", SS_PATHELLIPSIS | SS_NOPREFIX, 0},
    {ID_SIZE_GROUP, L"BUTTON", L"Cursor size", BS_GROUPBOX, 0},
    {ID_AUTOMATIC, L"BUTTON", L"&Automatic: the cursors grow with the game window (Size=0)",
     BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {ID_FIXED, L"BUTTON", L"&Fixed, whatever the window:", BS_AUTORADIOBUTTON, 0},
    {ID_OWN_SIZE, L"BUTTON", L"&Own size: every cursor at the size its file has (Size=1.0)",
     BS_AUTORADIOBUTTON, 0},
    // The slider's text is its name for screen readers; the label before
    // the number names it (it stands after it on the screen).
    {ID_SLIDER, TRACKBAR_CLASSW, L"Fixed size", TBS_HORZ | TBS_AUTOTICKS | WS_GROUP | WS_TABSTOP,
     0},
    {ID_TIMES, L"STATIC", L"times their own size", SS_NOPREFIX | WS_GROUP, 0},
    {ID_FIXED_VALUE, L"EDIT", L"", ES_AUTOHSCROLL | WS_GROUP | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {ID_WINDOW_LABEL, L"STATIC", L"Show them for a game &window of:", 0, 0},
    {ID_WINDOW_SIZE, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_GROUP | WS_TABSTOP, 0},
    {ID_EDGES, L"BUTTON", L"Smoo&th edges (Edges=smooth)", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP,
     0},
    {ID_SHOWN_AT, L"STATIC", L"", SS_NOPREFIX, 0},
    {ID_PREVIEW, PREVIEW_CLASS, L"", WS_VSCROLL | WS_GROUP | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {ID_FINDINGS_LABEL, L"STATIC",
     L"What the cursor check fi&nds (the same as quillmere_check.exe):", 0, 0},
    {ID_FINDINGS, L"EDIT", L"",
     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_GROUP | WS_TABSTOP,
     WS_EX_CLIENTEDGE},
    {ID_STATUS, L"STATIC", L"", SS_NOPREFIX | WS_GROUP, 0},
    {ID_SAVE, L"BUTTON", L"&Save", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {ID_RESTORE, L"BUTTON", L"Restore &defaults", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {ID_OPEN_FOLDER, L"BUTTON", L"Open the &cursor folder", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {ID_REPORT, L"BUTTON", L"Write a &report", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {ID_CLOSE, L"BUTTON", L"Close", BS_PUSHBUTTON | WS_TABSTOP, 0},
};

// The push buttons along the bottom, left to right, and their widths at 96
// DPI; Close stands alone at the right.
const int BOTTOM_BUTTONS[][2] = {
    {ID_SAVE, 90}, {ID_RESTORE, 120}, {ID_OPEN_FOLDER, 160}, {ID_REPORT, 120}};
const int CLOSE_WIDTH = 90;

struct Scaler {
    int dpi;
    int operator()(int length) const { return MulDiv(length, dpi, USER_DEFAULT_SCREEN_DPI); }
};

void place(HWND window, int id, int x, int y, int width, int height) {
    SetWindowPos(GetDlgItem(window, id), NULL, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void create_controls(HWND window) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    for (const ControlSpec& control : CONTROLS)
        CreateWindowExW(control.extended_style, control.window_class, control.text,
                        WS_CHILD | WS_VISIBLE | control.style, 0, 0, 0, 0, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, NULL);
    HWND slider = GetDlgItem(window, ID_SLIDER);
    int last_tenth = lroundf(largest_useful_size() * SLIDER_TENTHS);
    SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(SLIDER_FIRST_TENTH, last_tenth));
    SendMessageW(slider, TBM_SETTICFREQ, 10, 0);
    SendMessageW(slider, TBM_SETPAGESIZE, 0, 5);
}

void lay_out(HWND window, int dpi) {
    Scaler s = {dpi};
    RECT client;
    GetClientRect(window, &client);
    int width = client.right - 2 * s(MARGIN);
    int left = s(MARGIN);
    int y = s(MARGIN);
    place(window, ID_GAME_FOLDER, left, y, width, s(LINE));
    y += s(LINE + GAP);

    place(window, ID_SIZE_GROUP, left, y, width, s(GROUP_HEIGHT));
    int inner = left + s(12);
    place(window, ID_AUTOMATIC, inner, y + s(22), width - s(24), s(20));
    place(window, ID_FIXED, inner, y + s(48), s(200), s(20));
    place(window, ID_SLIDER, inner + s(205), y + s(45), s(250), s(28));
    place(window, ID_FIXED_VALUE, inner + s(460), y + s(47), s(56), s(22));
    place(window, ID_TIMES, inner + s(522), y + s(50), width - s(546), s(LINE));
    place(window, ID_OWN_SIZE, inner, y + s(76), width - s(24), s(20));
    y += s(GROUP_HEIGHT + GAP);

    place(window, ID_WINDOW_LABEL, left, y + s(4), s(210), s(LINE));
    place(window, ID_WINDOW_SIZE, left + s(215), y, s(290), s(DROPPED_LIST_HEIGHT));
    place(window, ID_EDGES, left + s(515), y + s(2), width - s(515), s(20));
    y += s(CONTROL_HEIGHT + GAP);
    // Three lines: the steps that give the size, and what a red number
    // means when one shows.
    place(window, ID_SHOWN_AT, left, y, width, s(SHOWN_AT_LINES * LINE));
    y += s(SHOWN_AT_LINES * LINE + 2);

    int buttons_top = client.bottom - s(MARGIN + BUTTON_HEIGHT);
    int status_top = buttons_top - s(GAP + STATUS_HEIGHT);
    int findings_top = status_top - s(GAP + FINDINGS_HEIGHT);
    int findings_label_top = findings_top - s(LINE + 2);
    place(window, ID_PREVIEW, left, y, width, findings_label_top - s(GAP) - y);
    place(window, ID_FINDINGS_LABEL, left, findings_label_top, width, s(LINE));
    place(window, ID_FINDINGS, left, findings_top, width, s(FINDINGS_HEIGHT));
    place(window, ID_STATUS, left, status_top, width, s(STATUS_HEIGHT));

    int x = left;
    for (const auto& button : BOTTOM_BUTTONS) {
        place(window, button[0], x, buttons_top, s(button[1]), s(BUTTON_HEIGHT));
        x += s(button[1] + 6);
    }
    place(window, ID_CLOSE, client.right - s(MARGIN + CLOSE_WIDTH), buttons_top, s(CLOSE_WIDTH),
          s(BUTTON_HEIGHT));
}

int window_dpi(HWND window) {
    // Windows 10 tells each window its monitor's DPI; older ones have one.
    typedef UINT(WINAPI * DpiForWindow)(HWND);
    DpiForWindow dpi_for_window = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (dpi_for_window) {
        UINT dpi = dpi_for_window(window);
        if (dpi)
            return static_cast<int>(dpi);
    }
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

HFONT message_font(int dpi) {
    typedef BOOL(WINAPI * ParametersForDpi)(UINT, UINT, void*, UINT, UINT);
    ParametersForDpi parameters_for_dpi = reinterpret_cast<ParametersForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"),
                                               "SystemParametersInfoForDpi")));
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (parameters_for_dpi &&
        parameters_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    // Without the call for a DPI, the system's metrics are at the system's
    // DPI: scale them to this one.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HDC screen = GetDC(NULL);
    int system_dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    if (system_dpi > 0)
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, system_dpi);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

void use_font(HWND window, HFONT font) {
    for (const ControlSpec& control : CONTROLS)
        SendMessageW(GetDlgItem(window, control.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
