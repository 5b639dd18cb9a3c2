#include "tools/settings_window/settings_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <ctype.h>
#include <math.h>

#include "cursors/cursor_loader.h"
#include "quillmere_version.h"
#include "settings/edge_setting.h"
#include "tools/cursor_check/check_run.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/findings.h"
#include "tools/cursor_check/player_report.h"
#include "tools/cursor_check/settings_report.h"
#include "tools/cursor_check/virtual_store.h"
#include "tools/settings_window/control_ids.h"
#include "tools/settings_window/cursor_files.h"
#include "tools/settings_window/cursor_preview.h"
#include "tools/settings_window/game_window_list.h"
#include "tools/settings_window/preview_control.h"
#include "tools/settings_window/settings_file.h"
#include "tools/settings_window/size_choice.h"
#include "tools/settings_window/window_layout.h"

namespace {

const char TITLE[] = "Quillmere settings " QUILLMERE_VERSION_TEXT;

struct State {
    HWND window;
    int dpi;
    HFONT font;
    SizeChoice choice;
    Preview preview;
    GameFolder game;
    bool filling;     // the window is setting its own controls: no echoes
    HWND last_focus;  // the control that had the focus when the window lost it
    bool tidy_declined;  // the player keeps the Size lines the game never reads
    SizeChoice saved;    // what the settings file says: closing without it asks
    EdgeStyle saved_edges;  // the Edges the settings file gives
    GameWindowList window_list;  // the game window sizes offered, and the wrapper's rule
};
State state = {};

HWND control(int id) {
    return GetDlgItem(state.window, id);
}

void set_text(int id, const std::string& text) {
    SetWindowTextW(control(id), wide(text).c_str());
}

std::wstring text_of(int id) {
    wchar_t text[64] = L"";
    GetWindowTextW(control(id), text, sizeof text / sizeof text[0]);
    return text;
}

void game_window_size(int* width, int* height) {
    const std::vector<ListedSize>& sizes = state.window_list.sizes;
    LRESULT picked = SendMessageW(control(ID_WINDOW_SIZE), CB_GETCURSEL, 0, 0);
    if (picked < 0 || picked >= static_cast<LRESULT>(sizes.size()))
        picked = 0;
    *width = sizes[picked].width;
    *height = sizes[picked].height;
}

void fill_window_sizes() {
    state.window_list = game_window_list();
    for (const ListedSize& size : state.window_list.sizes)
        SendMessageW(control(ID_WINDOW_SIZE), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(wide(size.words).c_str()));
    SendMessageW(control(ID_WINDOW_SIZE), CB_SETCURSEL, 0, 0);
}

// The controls show the choice.
void show_choice() {
    state.filling = true;
    const int radios[] = {ID_AUTOMATIC, ID_FIXED, ID_OWN_SIZE};
    const ScaleMode modes[] = {SCALE_AUTOMATIC, SCALE_FIXED, SCALE_NATIVE};
    for (int i = 0; i < 3; ++i)
        SendMessageW(control(radios[i]), BM_SETCHECK,
                     state.choice.mode == modes[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    SizeChoice fixed = {SCALE_FIXED, state.choice.value};
    set_text(ID_FIXED_VALUE, size_text(fixed));
    SendMessageW(control(ID_SLIDER), TBM_SETPOS, TRUE,
                 lroundf(state.choice.value * SLIDER_TENTHS));
    // The preview loads with the module's own edges choice.
    SendMessageW(control(ID_EDGES), BM_SETCHECK,
                 cursor_edges == EDGES_SMOOTH ? BST_CHECKED : BST_UNCHECKED, 0);
    // The game window's size matters only to automatic sizing.
    bool automatic = state.choice.mode == SCALE_AUTOMATIC;
    EnableWindow(control(ID_WINDOW_LABEL), automatic);
    EnableWindow(control(ID_WINDOW_SIZE), automatic);
    state.filling = false;
}

void refresh_preview() {
    int width, height;
    game_window_size(&width, &height);
    CursorSize size = shown_size(state.choice, width, height, state.dpi);
    load_preview(&state.preview, size);
    std::string words = "Shown as the game shows them: " + std::string(size.reasons);
    if (state.choice.mode == SCALE_AUTOMATIC)
        words = state.window_list.wrapper_rule + " " + words;
    for (const PreviewCursor& loaded : state.preview.cursors)
        if (loaded.fails) {
            words += "; red: your file does not load, the default cursor shows";
            break;
        }
    words += ":";
    set_text(ID_SHOWN_AT, words);
    show_preview(control(ID_PREVIEW), &state.preview, state.font, state.dpi);
}

// The cursor check, run as quillmere_check runs it, for the game window
// size picked; its result and advice, in its words.
void refresh_findings() {
    Options options = {};
    game_window_size(&options.client_width, &options.client_height);
    forget_problems();
    run_check(options);
    std::string text = result_line();
    for (const Problem& problem : problems())
        if (!problem.advice.empty())
            text += "\r\n- " + problem.advice;
    for (const std::string& note : notes())
        text += "\r\n- note: " + note;
    set_text(ID_FINDINGS, text);
}

void pick(ScaleMode mode) {
    state.choice.mode = mode;
    show_choice();
    refresh_preview();
}

void on_fixed_value_typed() {
    float value;
    if (!read_fixed_size(text_of(ID_FIXED_VALUE), &value)) {
        set_text(ID_STATUS, fixed_size_rule());
        return;
    }
    state.choice = {SCALE_FIXED, value};
    state.filling = true;
    SendMessageW(control(ID_SLIDER), TBM_SETPOS, TRUE, lroundf(value * SLIDER_TENTHS));
    for (int id : {ID_AUTOMATIC, ID_FIXED, ID_OWN_SIZE})
        SendMessageW(control(id), BM_SETCHECK, id == ID_FIXED ? BST_CHECKED : BST_UNCHECKED, 0);
    EnableWindow(control(ID_WINDOW_LABEL), FALSE);
    EnableWindow(control(ID_WINDOW_SIZE), FALSE);
    state.filling = false;
    set_text(ID_STATUS, "Press Save to keep this size.");
    refresh_preview();
}

void on_slider_moved() {
    LRESULT tenths = SendMessageW(control(ID_SLIDER), TBM_GETPOS, 0, 0);
    state.choice = {SCALE_FIXED, static_cast<float>(tenths) / SLIDER_TENTHS};
    show_choice();
    set_text(ID_STATUS, "Press Save to keep this size.");
    refresh_preview();
}

void on_edges_clicked() {
    bool smooth = SendMessageW(control(ID_EDGES), BM_GETCHECK, 0, 0) == BST_CHECKED;
    cursor_edges = smooth ? EDGES_SMOOTH : EDGES_SQUARE;
    set_text(ID_STATUS, smooth ? "Smooth edges: enlarged cursors keep slanted and round edges. "
                                 "Press Save to keep this."
                               : "Square edges: enlarged cursors show each pixel as a square "
                                 "block. Press Save to keep this.");
    refresh_preview();
}

// Size lines the game never reads (under another section, a second one):
// the player who wrote them may think they count. Removed only when the
// player says so (asked once); every other byte stays.
void offer_to_tidy(std::string* message) {
    if (state.tidy_declined)
        return;
    std::wstring path = wide(SETTINGS_FILE);
    std::string bytes;
    DWORD error = ERROR_SUCCESS;
    int strays = 0;
    if (!read_whole_file(path, &bytes, &error))
        return;
    std::string tidy = without_stray_sizes(bytes, &strays);
    if (!strays)
        return;
    std::string lines;
    for (const IgnoredSetting& ignored : read_settings_report().lines.ignored)
        if (ignored.is_size)
            lines += "\n    " + ignored.line + " (" + ignored.where + ")";
    std::string question = std::string(shown_path(SETTINGS_FILE)) + " also has " +
                           plural(strays, "Size line", "Size lines") +
                           " the game never reads:" + lines +
                           "\n\nRemove " + (strays == 1 ? "it" : "them") +
                           "? The Size you saved is the one the game reads either way.";
    int answer = MessageBoxW(state.window, wide(question).c_str(), wide(TITLE).c_str(),
                             MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) {
        state.tidy_declined = true;
        *message += " The other Size lines stay: the game reads only this one.";
        return;
    }
    if (replace_file(path, tidy, &error))
        *message += " Removed " + plural(strays, "Size line", "Size lines") +
                    " the game never read.";
    else
        *message += " The other Size lines could not be removed (Windows error " +
                    std::to_string(error) + ").";
}

// Nothing is written where the game does not read it: the fix instead,
// after `what` ("Nothing was saved").
bool refused_outside_the_game(const std::string& what) {
    InstallProblem problem = install_problem(state.game);
    if (problem.advice.empty())
        return false;
    problem.advice[0] = static_cast<char>(toupper(static_cast<unsigned char>(problem.advice[0])));
    set_text(ID_STATUS, what + ": " + problem.advice +
                            ". Then open this window from the plugin folder there.");
    return true;
}

// Edges beside the saved Size, written the same way (every other byte
// kept) and only when the file does not already give the choice.
void save_edges(std::string* message) {
    if (read_edges_setting() == cursor_edges) {
        state.saved_edges = cursor_edges;
        return;
    }
    std::wstring path = wide(SETTINGS_FILE);
    std::string bytes;
    DWORD error = ERROR_SUCCESS;
    if (read_whole_file(path, &bytes, &error) &&
        replace_file(path, with_setting(bytes, SETTINGS_EDGES_KEY, edges_word(cursor_edges)),
                     &error)) {
        state.saved_edges = cursor_edges;
        return;
    }
    *message += " Edges=" + std::string(edges_word(cursor_edges)) +
                " was not saved: open Quillmere.ini in Notepad and write it under [Cursor].";
}

void on_save() {
    if (refused_outside_the_game("Nothing was saved"))
        return;
    float value;
    if (state.choice.mode == SCALE_FIXED && !read_fixed_size(text_of(ID_FIXED_VALUE), &value)) {
        set_text(ID_STATUS, "Nothing was saved. " + fixed_size_rule());
        return;
    }
    std::string message;
    if (save_choice(state.choice, &message)) {
        state.saved = state.choice;
        save_edges(&message);
        offer_to_tidy(&message);
    }
    set_text(ID_STATUS, message);
    refresh_findings();
}

void on_restore_defaults() {
    state.choice = default_choice();
    cursor_edges = EDGES_SMOOTH;
    show_choice();
    refresh_preview();
    set_text(ID_STATUS,
             "The size is back to automatic and the edges smooth, the defaults: press Save to keep "
             "them. Your cursor files "
             "stay: to get a default cursor back, delete its file in the cursor folder.");
}

void on_open_folder() {
    if (refused_outside_the_game("The cursor folder was not opened"))
        return;
    std::wstring folder = wide(CURSOR_FOLDER);
    // The game makes the folder when it starts; it may not have yet.
    CreateDirectoryW(folder.c_str(), NULL);
    wchar_t full[MAX_PATH * 2];
    DWORD length = GetFullPathNameW(folder.c_str(), MAX_PATH * 2, full, NULL);
    if (!length || length >= MAX_PATH * 2)
        return;
    INT_PTR opened = reinterpret_cast<INT_PTR>(
        ShellExecuteW(state.window, L"open", full, NULL, NULL, SW_SHOWNORMAL));
    if (opened <= 32)
        set_text(ID_STATUS, "The cursor folder is " + utf8(full) + ": open it in Explorer.");
}

void on_write_report() {
    std::string path =
        write_player_report(read_settings_report(), find_redirected_copies(state.game.path));
    if (path.empty())
        set_text(ID_STATUS, "The report can't be written beside this program, nor into your "
                            "Documents or Temp folder.");
    else
        set_text(ID_STATUS,
                 "The report is in " + path + ": send this file with your problem report.");
}

// The picker: a file for the tile the preview is on, checked and put in.
void after_cursor_change(const std::string& message) {
    refresh_preview();
    refresh_findings();
    set_text(ID_STATUS, message);
}

void put_in(const std::wstring& file) {
    if (refused_outside_the_game("Nothing was changed"))
        return;
    std::string message;
    put_cursor_file(state.preview.focused, file, &message);
    after_cursor_change(message);
}

void on_choose_file() {
    std::wstring file;
    if (ask_for_cursor_file(state.window, tile_name(state.preview, state.preview.focused), &file))
        put_in(file);
}

void on_use_default() {
    if (refused_outside_the_game("Nothing was changed"))
        return;
    std::string message;
    use_default_cursor(state.preview.focused, &message);
    after_cursor_change(message);
}

void on_drop(HDROP drop) {
    wchar_t file[MAX_PATH * 2] = L"";
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, NULL, 0);
    bool got = count > 0 && DragQueryFileW(drop, 0, file, MAX_PATH * 2) > 0;
    DragFinish(drop);
    if (got)
        put_in(file);
}

// Esc, Close and the title bar's button ask before a size not saved is
// dropped: Yes saves it first, Cancel stays.
void close_window() {
    bool unsaved = state.choice.mode != state.saved.mode ||
                   (state.choice.mode == SCALE_FIXED && state.choice.value != state.saved.value);
    bool edges_unsaved = cursor_edges != state.saved_edges;
    if (unsaved || edges_unsaved) {
        std::string question =
            "Save Size=" + size_text(state.choice) +
            (edges_unsaved ? std::string(" and Edges=") + edges_word(cursor_edges) : "") +
            " before closing? The game keeps reading Size=" + size_text(state.saved) +
            (edges_unsaved ? std::string(" and Edges=") + edges_word(state.saved_edges) : "") +
            " otherwise.";
        int answer = MessageBoxW(state.window, wide(question).c_str(), wide(TITLE).c_str(),
                                 MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL)
            return;
        if (answer == IDYES) {
            on_save();
            if (state.saved.mode != state.choice.mode || state.saved.value != state.choice.value ||
                state.saved_edges != cursor_edges)
                return;
        }
    }
    DestroyWindow(state.window);
}

void on_command(int id, int notification) {
    if (state.filling)
        return;
    switch (id) {
        case ID_AUTOMATIC: if (notification == BN_CLICKED) pick(SCALE_AUTOMATIC); break;
        case ID_FIXED: if (notification == BN_CLICKED) pick(SCALE_FIXED); break;
        case ID_OWN_SIZE: if (notification == BN_CLICKED) pick(SCALE_NATIVE); break;
        case ID_EDGES: if (notification == BN_CLICKED) on_edges_clicked(); break;
        case ID_FIXED_VALUE: if (notification == EN_CHANGE) on_fixed_value_typed(); break;
        case ID_WINDOW_SIZE:
            if (notification == CBN_SELCHANGE) {
                refresh_preview();
                refresh_findings();
            }
            break;
        case ID_SAVE: on_save(); break;
        case ID_RESTORE: on_restore_defaults(); break;
        case ID_OPEN_FOLDER: on_open_folder(); break;
        case ID_REPORT: on_write_report(); break;
        case ID_CLOSE: close_window(); break;
        case ID_CHOOSE_FILE: on_choose_file(); break;
        case ID_USE_DEFAULT: on_use_default(); break;
        default: break;
    }
}

void use_dpi(int dpi) {
    HFONT previous = state.font;
    state.dpi = dpi;
    state.font = message_font(dpi);
    use_font(state.window, state.font);
    if (previous)
        DeleteObject(previous);
    lay_out(state.window, dpi);
    show_preview(control(ID_PREVIEW), &state.preview, state.font, state.dpi);
}

LRESULT CALLBACK findings_procedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR, DWORD_PTR) {
    if (message == WM_GETDLGCODE)
        return DefSubclassProc(box, message, wparam, lparam) &
               ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    return DefSubclassProc(box, message, wparam, lparam);
}

void on_create(HWND window) {
    state.window = window;
    create_controls(window);
    set_text(ID_GAME_FOLDER, "Game folder: " + state.game.path);
    fill_window_sizes();
    state.choice = state.saved = saved_choice();
    cursor_edges = state.saved_edges = read_edges_setting();
    show_choice();
    // The check's box is read, not typed in: Tab and Esc stay the window's.
    SetWindowSubclass(control(ID_FINDINGS), findings_procedure, 0, 0);
    use_dpi(window_dpi(window));
    refresh_preview();
    refresh_findings();
    std::string oversize = oversize_advice(state.choice);
    set_text(ID_STATUS, !oversize.empty() ? oversize
                                          : "Pick a size and press Save. The game reads the size "
                                            "when it starts.");
}

// The control that has the focus when the window gets it back: the one
// that had it, else the size picked.
HWND focus_control() {
    static const int radios[] = {ID_AUTOMATIC, ID_FIXED, ID_OWN_SIZE};
    for (int id : radios)
        if (SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED)
            return control(id);
    return control(ID_AUTOMATIC);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            on_create(window);
            return 0;
        case WM_SIZE:
            if (state.window)
                lay_out(window, state.dpi);
            return 0;
        case WM_GETMINMAXINFO: {
            MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lparam);
            int dpi = state.dpi ? state.dpi : USER_DEFAULT_SCREEN_DPI;
            limits->ptMinTrackSize.x = MulDiv(SMALLEST_WIDTH, dpi, USER_DEFAULT_SCREEN_DPI);
            limits->ptMinTrackSize.y = MulDiv(SMALLEST_HEIGHT, dpi, USER_DEFAULT_SCREEN_DPI);
            return 0;
        }
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
            state.dpi = HIWORD(wparam);
            SetWindowPos(window, NULL, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            use_dpi(HIWORD(wparam));
            return 0;
        }
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lparam) == control(ID_SLIDER) && !state.filling)
                on_slider_moved();
            return 0;
        case WM_COMMAND:
            on_command(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_CLOSE:
            close_window();
            return 0;
        case WM_DROPFILES:
            on_drop(reinterpret_cast<HDROP>(wparam));
            return 0;
        // Enter presses Save, as in a dialog.
        case DM_GETDEFID:
            return MAKELRESULT(ID_SAVE, DC_HASDEFID);
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE)
                state.last_focus = GetFocus();
            return 0;
        case WM_SETFOCUS:
            SetFocus(state.last_focus && IsChild(window, state.last_focus) ? state.last_focus
                                                                           : focus_control());
            return 0;
        case WM_DESTROY:
            RemoveWindowSubclass(control(ID_FINDINGS), findings_procedure, 0);
            free_preview(&state.preview);
            if (state.font)
                DeleteObject(state.font);
            state = State();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

bool register_settings_window(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(NULL, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = SETTINGS_WINDOW_CLASS;
    return RegisterClassW(&window_class) && register_preview_class(instance);
}

HWND open_settings_window(HINSTANCE instance, const GameFolder& game) {
    state.game = game;
    // WS_EX_CONTROLPARENT: Tab and the mnemonics reach the controls.
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, SETTINGS_WINDOW_CLASS, wide(TITLE).c_str(),
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, WINDOW_WIDTH,
                                  WINDOW_HEIGHT, NULL, NULL, instance, NULL);
    if (!window)
        return NULL;
    // Opened at 96 DPI's size; now at the size for the monitor's scaling,
    // within its work area.
    int dpi = window_dpi(window);
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int width = MulDiv(WINDOW_WIDTH, dpi, USER_DEFAULT_SCREEN_DPI);
    int height = MulDiv(WINDOW_HEIGHT, dpi, USER_DEFAULT_SCREEN_DPI);
    if (width > work.right - work.left)
        width = work.right - work.left;
    if (height > work.bottom - work.top)
        height = work.bottom - work.top;
    SetWindowPos(window, NULL, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return window;
}
