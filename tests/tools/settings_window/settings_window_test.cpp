// The players' settings window, the real program started from a scratch
// game's plugin folder: its controls driven by messages as a player's
// clicks and keys would, the settings file it saves read back the way the
// plug-in reads it, and its preview captured as a picture and measured.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "imaging/canvas.h"
#include "settings/edge_setting.h"
#include "settings/scale_policy.h"
#include "support/cursor_builders.h"
#include "support/scratch_folder.h"
#include "tests/tools/check_tool_run.h"
#include "tools/settings_window/control_ids.h"
#include "tools/settings_window/cursor_preview.h"

namespace {

const DWORD START_TIMEOUT_MS = 30000;
const DWORD MESSAGE_TIMEOUT_MS = 20000;
const DWORD EXIT_TIMEOUT_MS = 10000;
const char PROGRAM[] = "quillmere_settings.exe";
// The choices of the game window drop-down.
const int WINDOW_640X480 = 0;
const int WINDOW_1280X960 = 4;

struct FoundWindow {
    DWORD process_id;
    HWND window;
};

BOOL CALLBACK find_settings_window(HWND window, LPARAM found_pointer) {
    FoundWindow* found = reinterpret_cast<FoundWindow*>(found_pointer);
    wchar_t window_class[64] = L"";
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    GetClassNameW(window, window_class, 64);
    if (process_id == found->process_id && lstrcmpW(window_class, SETTINGS_WINDOW_CLASS) == 0) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

// A message box of the settings window's process.
const wchar_t DIALOG_CLASS[] = L"#32770";
const int QUESTION_TEXT = 0xFFFF;  // the message box's text

BOOL CALLBACK find_question(HWND window, LPARAM found_pointer) {
    FoundWindow* found = reinterpret_cast<FoundWindow*>(found_pointer);
    wchar_t window_class[64] = L"";
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    GetClassNameW(window, window_class, 64);
    if (process_id == found->process_id && IsWindowVisible(window) &&
        lstrcmpW(window_class, DIALOG_CLASS) == 0) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

// The settings window, started as a double click starts it: in the plugin
// folder of the game folder that is the current folder.
class SettingsWindow {
public:
    explicit SettingsWindow(const std::string& plugin = "plugin") {
        std::string copy = plugin + "\\" + PROGRAM;
        std::string built = program_folder() + "\\..\\tools\\" + PROGRAM;
        EXPECT_TRUE(CopyFileA(built.c_str(), copy.c_str(), FALSE)) << built;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        // As from Explorer: no console to write to.
        startup.dwFlags = STARTF_USESTDHANDLES;
        std::string command = "\"" + copy + "\"";
        if (!CreateProcessA(copy.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, plugin.c_str(),
                            &startup, &process_)) {
            ADD_FAILURE() << "can't start " << copy;
            return;
        }
        WaitForInputIdle(process_.hProcess, START_TIMEOUT_MS);
        FoundWindow found = {process_.dwProcessId, NULL};
        for (DWORD start = GetTickCount(); !found.window; Sleep(50)) {
            EnumWindows(find_settings_window, reinterpret_cast<LPARAM>(&found));
            if (GetTickCount() - start > START_TIMEOUT_MS)
                break;
        }
        window_ = found.window;
        EXPECT_TRUE(window_ != NULL) << "the settings window did not open";
    }

    ~SettingsWindow() {
        if (!process_.hProcess)
            return;
        // A size not saved is dropped: No to the question.
        if (window_)
            PostMessageW(window_, WM_CLOSE, 0, 0);
        for (DWORD start = GetTickCount();
             window_ && GetTickCount() - start < EXIT_TIMEOUT_MS &&
             WaitForSingleObject(process_.hProcess, 50) != WAIT_OBJECT_0;)
            answer(IDNO, 0);
        if (WaitForSingleObject(process_.hProcess, EXIT_TIMEOUT_MS) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the settings window did not close";
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, EXIT_TIMEOUT_MS);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    bool opened() const { return window_ != NULL; }

    // A key pressed in a control, as the keyboard sends it: posted.
    void press(int id, WPARAM key) const {
        PostMessageW(control(id), WM_KEYDOWN, key, 0);
        PostMessageW(control(id), WM_KEYUP, key, 0);
    }
    // Waits for the status line to say `words`; what it says then.
    std::string status_once_it_says(const std::string& words) const {
        return text_once_it_says(ID_STATUS, words);
    }
    // Waits for a control's text to say `words` (keys are posted, so they
    // come after messages sent); what it says then.
    std::string text_once_it_says(int id, const std::string& words) const {
        std::string said;
        for (DWORD start = GetTickCount(); GetTickCount() - start < MESSAGE_TIMEOUT_MS; Sleep(20))
            if (contains(said = text(id), words))
                break;
        return said;
    }
    // True when the program ends within the time limit.
    bool ended() {
        if (WaitForSingleObject(process_.hProcess, EXIT_TIMEOUT_MS) != WAIT_OBJECT_0)
            return false;
        window_ = NULL;
        return true;
    }
    HWND control(int id) const { return GetDlgItem(window_, id); }
    HWND window() const { return window_; }
    // A dialog of the program's (a question or the file dialog); null when none shows.
    HWND question() const {
        FoundWindow found = {process_.dwProcessId, NULL};
        EnumWindows(find_question, reinterpret_cast<LPARAM>(&found));
        return found.window;
    }
    bool ended_within(DWORD wait_ms) const {
        return WaitForSingleObject(process_.hProcess, wait_ms) == WAIT_OBJECT_0;
    }

    LRESULT send(HWND target, UINT message, WPARAM wparam, LPARAM lparam) const {
        DWORD_PTR result = 0;
        EXPECT_TRUE(SendMessageTimeoutW(target, message, wparam, lparam, SMTO_NORMAL,
                                        MESSAGE_TIMEOUT_MS, &result))
            << "message " << message << " timed out";
        return static_cast<LRESULT>(result);
    }

    void click(int id) const { send(control(id), BM_CLICK, 0, 0); }
    // A click that opens a question: posted, so that the question's own
    // message loop runs.
    void click_and_go_on(int id) const { PostMessageW(control(id), BM_CLICK, 0, 0); }
    // Waits for the window's question and answers it with `button`; the
    // question's text, or "" when none came.
    std::string answer(int button, DWORD wait_ms = MESSAGE_TIMEOUT_MS) const {
        FoundWindow found = {process_.dwProcessId, NULL};
        for (DWORD start = GetTickCount();; Sleep(20)) {
            EnumWindows(find_question, reinterpret_cast<LPARAM>(&found));
            if (found.window || GetTickCount() - start >= wait_ms)
                break;
        }
        if (!found.window)
            return "";
        wchar_t words[2048] = L"";
        GetDlgItemTextW(found.window, QUESTION_TEXT, words, 2048);
        PostMessageW(found.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(found.window, button)));
        char bytes[4 * 2048] = "";
        WideCharToMultiByte(CP_UTF8, 0, words, -1, bytes, sizeof bytes, NULL, NULL);
        return bytes;
    }
    void type(int id, const std::wstring& text) const {
        send(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void slide_to(int tenths) const {
        send(control(ID_SLIDER), TBM_SETPOS, TRUE, tenths);
        send(window_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, tenths),
             reinterpret_cast<LPARAM>(control(ID_SLIDER)));
    }
    void pick_game_window(int choice) const {
        send(control(ID_WINDOW_SIZE), CB_SETCURSEL, choice, 0);
        send(window_, WM_COMMAND, MAKEWPARAM(ID_WINDOW_SIZE, CBN_SELCHANGE),
             reinterpret_cast<LPARAM>(control(ID_WINDOW_SIZE)));
    }
    std::string text(int id) const {
        wchar_t text[2048] = L"";
        send(control(id), WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
        char bytes[4 * 2048] = "";
        WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
        return bytes;
    }

    // A control as it draws itself, in a picture (written to `png`, for
    // people to look at, when not empty).
    RgbaImage capture(int id, const std::string& png) const {
        HWND target = id ? control(id) : window_;
        RECT area;
        GetWindowRect(target, &area);
        RgbaImage picture = {};
        Canvas canvas;
        if (!open_canvas(area.right - area.left, area.bottom - area.top, &canvas))
            return picture;
        // Windows of another process draw into no device context of this
        // one (PrintWindow gives nothing): copied from the screen instead,
        // the window on top, once two copies a moment apart agree (its
        // drawing has reached the screen).
        SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        RedrawWindow(target, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        send(target, WM_NULL, 0, 0);
        RgbaImage previous = {};
        const DWORD SETTLE_MS = 100;
        for (DWORD start = GetTickCount(); GetTickCount() - start < MESSAGE_TIMEOUT_MS;
             Sleep(SETTLE_MS)) {
            HDC screen = GetDC(NULL);
            BitBlt(canvas.dc, 0, 0, area.right - area.left, area.bottom - area.top, screen,
                   area.left, area.top, SRCCOPY);
            ReleaseDC(NULL, screen);
            GdiFlush();
            picture_from_bgrx(canvas.bits, area.right - area.left, area.bottom - area.top,
                              &picture);
            if (picture.rgba == previous.rgba)
                break;
            previous = picture;
        }
        close_canvas(&canvas);
        if (!png.empty())
            write_png(picture, png.c_str());
        return picture;
    }

private:
    PROCESS_INFORMATION process_ = {};
    HWND window_ = NULL;
};

bool is(const RgbaImage& picture, int x, int y, COLORREF colour) {
    const unsigned char* pixel = &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
    return pixel[0] == GetRValue(colour) && pixel[1] == GetGValue(colour) &&
           pixel[2] == GetBValue(colour);
}

// True when `length` pixels from (x, y) rightwards and downwards are all
// `colour`, and a few inwards too: the corner of a box of it, not the thin
// white edge of a scroll bar's button.
bool box_corner(const RgbaImage& picture, int x, int y, int length, COLORREF colour) {
    const int INWARDS = 4;  // within the padding around a cursor
    if (x + length > picture.width || y + length > picture.height)
        return false;
    for (int i = 0; i < length; ++i)
        if (!is(picture, x + i, y, colour) || !is(picture, x, y + i, colour) ||
            (i < INWARDS && !is(picture, x + i, y + i, colour)))
            return false;
    return true;
}

// The width and height of what is drawn on the first light ground of the
// preview: cursor 0 on white. Its box is found from its first white corner
// (the padding around the cursor is white too) in the left half, away from
// the scroll bar.
SIZE first_cursor_drawn(const RgbaImage& picture) {
    const int CORNER = 24;
    SIZE drawn = {0, 0};
    int left = -1, top = -1;
    for (int y = 0; y < picture.height && left < 0; ++y)
        for (int x = 0; x < picture.width / 2; ++x)
            if (box_corner(picture, x, y, CORNER, LIGHT_GROUND)) {
                left = x, top = y;
                break;
            }
    if (left < 0)
        return drawn;
    int right = left, bottom = top;
    while (right < picture.width && is(picture, right, top, LIGHT_GROUND)) ++right;
    while (bottom < picture.height && is(picture, left, bottom, LIGHT_GROUND)) ++bottom;
    int x0 = right, y0 = bottom, x1 = left - 1, y1 = top - 1;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (!is(picture, x, y, LIGHT_GROUND)) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    if (x1 >= x0)
        drawn = {x1 - x0 + 1, y1 - y0 + 1};
    return drawn;
}

// The Size of plugin\Quillmere.ini, read as the game reads it.
float size_the_game_reads() {
    return read_ini_float(SETTINGS_SECTION, SETTINGS_SIZE_KEY, 0.0f, SETTINGS_FILE);
}

const char PLAYERS_FILE[] =
    "; my settings\r\n"
    "[Cursors]\r\n"
    "Size=3.0\r\n"
    "[Other]\r\n"
    "Key=kept\r\n";

TEST(SettingsWindow, SavesTheSizeKeepingThePlayersLinesAsTheGameReadsIt) {
    struct Case {
        const char* name;
        const char* file;       // null: no settings file yet, only the sample
        const wchar_t* folder;  // the game folder's name in the scratch folder
    };
    const Case cases[] = {
        {"misspelt section", PLAYERS_FILE, L"game"},
        {"no file yet", nullptr, L"game"},
        {"a folder named in Russian and Japanese", PLAYERS_FILE,
         L"\u0418\u0433\u0440\u0430 \u30b2\u30fc\u30e0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        ASSERT_TRUE(CreateDirectoryW(c.folder, NULL));
        ASSERT_TRUE(SetCurrentDirectoryW(c.folder));
        lay_out_game();
        if (c.file)
            ASSERT_TRUE(write_file(SETTINGS_FILE, c.file));
        else
            ASSERT_TRUE(write_file(".\\plugin\\Quillmere.ini.sample",
                                   "; the sample\r\n[Cursor]\r\nSize=0\r\n"));
        {
            SettingsWindow window;
            ASSERT_TRUE(window.opened());
            char folder[MAX_PATH * 4] = "";
            WideCharToMultiByte(CP_UTF8, 0, c.folder, -1, folder, sizeof folder, NULL, NULL);
            EXPECT_TRUE(contains(window.text(ID_GAME_FOLDER), folder))
                << window.text(ID_GAME_FOLDER);
            // The slider and the number keep in step; either picks Fixed.
            window.slide_to(30);
            EXPECT_EQ("3.0", window.text(ID_FIXED_VALUE));
            window.type(ID_FIXED_VALUE, L"2.5");
            EXPECT_EQ(25, window.send(window.control(ID_SLIDER), TBM_GETPOS, 0, 0));
            EXPECT_EQ(BST_CHECKED, window.send(window.control(ID_FIXED), BM_GETCHECK, 0, 0));
            // Enter in the number saves.
            window.press(ID_FIXED_VALUE, VK_RETURN);
            // The Size under [Cursors] stays when the player says so.
            if (c.file) {
                EXPECT_TRUE(contains(window.answer(IDNO), "Size=3.0 (under [Cursors])"));
            }
            std::string status = window.status_once_it_says("the game reads Size=2.5");
            EXPECT_TRUE(contains(status, "the game reads Size=2.5")) << status;
            EXPECT_EQ(2.5f, size_the_game_reads());
            std::string saved = read_file(SETTINGS_FILE);
            const char* kept_lines[] = {"; my settings", "[Cursors]", "Size=3.0", "Key=kept"};
            for (const char* kept : kept_lines) {
                if (c.file) {
                    EXPECT_TRUE(contains(saved, kept)) << kept << " lost:\n" << saved;
                }
            }
            if (!c.file) {
                EXPECT_TRUE(contains(saved, "; the sample")) << saved;
            }
            EXPECT_TRUE(contains(saved, "[Cursor]\r\nSize=2.5")) << saved;
            // Square edges, saved beside the size; the defaults make them smooth.
            EXPECT_EQ(BST_CHECKED, window.send(window.control(ID_EDGES), BM_GETCHECK, 0, 0));
            window.click(ID_EDGES);
            window.click(ID_SAVE);
            EXPECT_EQ(EDGES_SQUARE, read_edges_setting());

            window.click(ID_RESTORE);
            EXPECT_EQ(BST_CHECKED, window.send(window.control(ID_AUTOMATIC), BM_GETCHECK, 0, 0));
            window.click(ID_SAVE);
            EXPECT_EQ(0.0f, size_the_game_reads());
            EXPECT_EQ(EDGES_SMOOTH, read_edges_setting());
            EXPECT_TRUE(contains(window.text(ID_STATUS), "automatic")) << window.text(ID_STATUS);
            // The check's findings, in its words.
            EXPECT_TRUE(contains(window.text(ID_FINDINGS), "result: ")) << window.text(ID_FINDINGS);

            window.click(ID_REPORT);
            EXPECT_TRUE(contains(window.text(ID_STATUS), "quillmere-report.txt"));
            EXPECT_TRUE(file_exists("plugin\\quillmere-report.txt"));
            // Esc closes the window.
            window.press(ID_FINDINGS, VK_ESCAPE);
            EXPECT_TRUE(window.ended());
        }
    }
}

// ASCII text as UTF-16 with its mark, as Notepad saves "Unicode".
std::string utf16(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (char c : text)
        bytes += std::string(1, c) + '\0';
    return bytes;
}

TEST(SettingsWindow, SaveChangesTheSizeValueAloneAndTidiesOnlyWithConsent) {
    const std::string before =
        "; mine\r\n\r\nSize=1.5\r\n[Cursor]\r\n   Size=3.0   ; my favourite\r\n\r\n"
        "[Cursors]\r\nSize=4\r\n";
    const std::string saved =
        "; mine\r\n\r\nSize=1.5\r\n[Cursor]\r\n   Size=2.5   ; my favourite\r\n\r\n"
        "[Cursors]\r\nSize=4\r\n";
    const std::string tidied =
        "; mine\r\n\r\n[Cursor]\r\n   Size=2.5   ; my favourite\r\n\r\n[Cursors]\r\n";
    struct Case {
        const char* name;
        std::string in;
        int button;
        std::string out;
    };
    const Case cases[] = {
        {"UTF-8 with its mark, kept as they are", "\xEF\xBB\xBF" + before, IDNO,
         "\xEF\xBB\xBF" + saved},
        {"UTF-16, tidied", utf16(before), IDYES, utf16(tidied)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        ASSERT_TRUE(CreateDirectoryW(L"\u0418\u0433\u0440\u0430 \u00e9t\u00e9", NULL));
        ASSERT_TRUE(SetCurrentDirectoryW(L"\u0418\u0433\u0440\u0430 \u00e9t\u00e9"));
        lay_out_game();
        ASSERT_TRUE(write_file(SETTINGS_FILE, c.in));
        {
            SettingsWindow window;
            ASSERT_TRUE(window.opened());
            window.type(ID_FIXED_VALUE, L"2.5");
            window.click_and_go_on(ID_SAVE);
            std::string question = window.answer(c.button);
            EXPECT_TRUE(contains(question, "2 Size lines the game never reads")) << question;
            EXPECT_TRUE(contains(question, "Size=4 (under [Cursors])")) << question;
            std::string status = window.status_once_it_says("the game reads Size=2.5");
            EXPECT_TRUE(contains(status, c.button == IDYES ? "Removed 2 Size lines"
                                                           : "The other Size lines stay"))
                << status;
        }
        EXPECT_EQ(c.out, read_file(SETTINGS_FILE));
        EXPECT_EQ(2.5f, size_the_game_reads());
    }
}

TEST(SettingsWindow, WhatCantBeSavedIsNotAndThePlayerIsToldWhatToDo) {
    struct Case {
        const char* name;
        const char* file;
        bool read_only;
        const wchar_t* fixed;  // typed as the fixed size; null: Own size picked
        const char* at_start;  // what the status says when the window opens
        const char* said;      // what it says after Save
    };
    const Case cases[] = {
        {"read-only file", "[Cursor]\r\nSize=0\r\n", true, nullptr, "", "read-only"},
        {"a size too large, then a comma", "[Cursor]\r\nSize=9999\r\n", false, L"2,5",
         "more than the game can show", "Nothing was saved. Write the fixed size"},
        {"past the largest size", "[Cursor]\r\nSize=2\r\n", false, L"7.4", "",
         "Nothing was saved. Write the fixed size as a number above 1 and at most 7.3,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder game;
        lay_out_game();
        ASSERT_TRUE(write_file(SETTINGS_FILE, c.file));
        if (c.read_only)
            SetFileAttributesA(SETTINGS_FILE, FILE_ATTRIBUTE_READONLY);
        {
            SettingsWindow window;
            ASSERT_TRUE(window.opened());
            EXPECT_TRUE(contains(window.text(ID_STATUS), c.at_start)) << window.text(ID_STATUS);
            // The slider ends where the typed number does.
            EXPECT_EQ(73, window.send(window.control(ID_SLIDER), TBM_GETRANGEMAX, 0, 0));
            if (c.fixed)
                window.type(ID_FIXED_VALUE, c.fixed);
            else
                window.click(ID_OWN_SIZE);
            window.click(ID_SAVE);
            EXPECT_TRUE(contains(window.text(ID_STATUS), c.said)) << window.text(ID_STATUS);
        }
        EXPECT_EQ(c.file, read_file(SETTINGS_FILE));
        SetFileAttributesA(SETTINGS_FILE, FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(SettingsWindow, NothingIsWrittenWhereTheGameDoesNotRead) {
    const char NESTED[] = "Quillmere-1.2.0";
    struct Case {
        const char* name;
        bool one_too_deep;  // else: no game program beside plugin
        const char* said;
    };
    const Case cases[] = {
        {"unzipped one folder too deep", true, "Move the plugin folder and the Quillmere files"},
        {"no game beside plugin", false, "game program (.exe) stands beside plugin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const wchar_t* name = L"\u0418\u0433\u0440\u0430 \u00e9t\u00e9";
        ASSERT_TRUE(CreateDirectoryW(name, NULL));
        ASSERT_TRUE(SetCurrentDirectoryW(name));
        lay_out_game();
        std::string plugin = "plugin";
        if (c.one_too_deep) {
            plugin = std::string(NESTED) + "\\plugin";
            ASSERT_TRUE(CreateDirectoryA(NESTED, NULL));
            ASSERT_TRUE(MoveFileA("plugin", plugin.c_str()));
        } else {
            ASSERT_TRUE(DeleteFileA(GAME_PROGRAM));
        }
        {
            SettingsWindow window(plugin);
            ASSERT_TRUE(window.opened());
            window.type(ID_FIXED_VALUE, L"2.5");
            window.click(ID_SAVE);
            std::string status = window.text(ID_STATUS);
            EXPECT_TRUE(contains(status, "Nothing was saved")) << status;
            EXPECT_TRUE(contains(status, c.said)) << status;
            window.click(ID_OPEN_FOLDER);
            status = window.text(ID_STATUS);
            EXPECT_TRUE(contains(status, "The cursor folder was not opened")) << status;
            EXPECT_TRUE(contains(status, c.said)) << status;
        }
        EXPECT_FALSE(file_exists(plugin + "\\Quillmere.ini"));
        EXPECT_FALSE(folder_exists(plugin + "\\Cursors"));
    }
}

TEST(SettingsWindow, TabReachesAndLeavesEveryControlAndEachHasAName) {
    ScratchFolder game;
    lay_out_game();
    SettingsWindow window;
    ASSERT_TRUE(window.opened());
    struct Case {
        int id;
        bool named_by_label;  // by the label before it, else by its own text
    };
    const Case cases[] = {
        {ID_AUTOMATIC, false}, {ID_SLIDER, false},   {ID_FIXED_VALUE, true},
        {ID_WINDOW_SIZE, true}, {ID_EDGES, false},   {ID_PREVIEW, false},
        {ID_FINDINGS, true},
        {ID_SAVE, false},      {ID_RESTORE, false},  {ID_OPEN_FOLDER, false},
        {ID_REPORT, false},    {ID_CLOSE, false},
    };
    HWND top = window.control(ID_AUTOMATIC);
    for (const Case& c : cases) {
        HWND control = window.control(c.id);
        SCOPED_TRACE(c.id);
        // Tab comes here from the control before, and goes on from here.
        EXPECT_TRUE(GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP);
        LRESULT code = window.send(control, WM_GETDLGCODE, 0, 0);
        EXPECT_EQ(0, code & (DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE));
        wchar_t name[256] = L"";
        HWND named = c.named_by_label ? GetWindow(control, GW_HWNDPREV) : control;
        GetWindowTextW(named, name, 256);
        EXPECT_NE(L'\0', name[0]);
        top = GetNextDlgTabItem(GetParent(control), top, FALSE);
    }
    // Around once: back where it started.
    EXPECT_EQ(window.control(ID_AUTOMATIC), top);
    // The preview's tiles: the arrows move, the text names the tile.
    EXPECT_TRUE(contains(window.text(ID_PREVIEW), "cursor 0, arrow, white: the default, 32x32"))
        << window.text(ID_PREVIEW);
    window.press(ID_PREVIEW, VK_END);
    const std::string last = "animated cursor 5, ring sight, pulsing: the default, 32x32, animated in ";
    std::string said = window.text_once_it_says(ID_PREVIEW, last);
    EXPECT_TRUE(contains(said, last)) << said;
    // It pulses, at its file's rate (17 sixtieths of a second a step, two
    // steps): pictures taken at uneven times show it at both steps.
    const DWORD FIRST_WAIT_MS = 90, MORE_WAIT_MS = 70;
    const int TRIES = 10;
    bool pulses = false;
    RgbaImage first = window.capture(ID_PREVIEW, "");
    for (int tries = 0; tries < TRIES && !pulses; ++tries) {
        Sleep(FIRST_WAIT_MS + tries * MORE_WAIT_MS);
        pulses = window.capture(ID_PREVIEW, "").rgba != first.rgba;
    }
    EXPECT_TRUE(pulses);
    // A click on the first tile gives the preview the focus: its ring, in
    // a picture for people to look at.
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    const int INSIDE_THE_FIRST_TILE = 40;
    int at = MulDiv(INSIDE_THE_FIRST_TILE, dpi, USER_DEFAULT_SCREEN_DPI);
    window.press(ID_PREVIEW, VK_HOME);
    PostMessageW(window.control(ID_PREVIEW), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at, at));
    said = window.text_once_it_says(ID_PREVIEW, "cursor 0, arrow, white");
    EXPECT_TRUE(contains(said, "cursor 0, arrow, white")) << said;
    window.capture(0, program_folder() + "\\settings_window_" + std::to_string(dpi) +
                          "dpi_tile_focused.png");
}

TEST(SettingsWindow, ThePickerPutsAFileInCheckedAndKeepsThePlayersOld) {
    ScratchFolder scratch;
    const wchar_t* name = L"\u0418\u0433\u0440\u0430 \u00e9t\u00e9";
    ASSERT_TRUE(CreateDirectoryW(name, NULL));
    ASSERT_TRUE(SetCurrentDirectoryW(name));
    lay_out_game();
    CreateDirectoryA("plugin\\Cursors", NULL);
    const std::string old_file = make_ani(48, 48), new_file = make_cur(40, 40, 1, 1);
    ASSERT_TRUE(write_file(base(3), old_file));
    ASSERT_TRUE(write_file("new.cur", new_file));
    ASSERT_TRUE(write_file("broken.cur", "not a cursor"));
    wchar_t here[MAX_PATH * 2] = L"";
    GetCurrentDirectoryW(MAX_PATH * 2, here);
    SettingsWindow window;
    ASSERT_TRUE(window.opened());
    for (int step = 0; step < 3; ++step) window.press(ID_PREVIEW, VK_RIGHT);
    const std::string third = "cursor 3, arrow, red: your file, 48x48";
    std::string said = window.text_once_it_says(ID_PREVIEW, third);
    EXPECT_TRUE(contains(said, third)) << said;
    struct Step {
        const char* file;  // chosen in the file dialog; null: Use the default
        const char* said;
        std::string now;   // plugin\Cursors\cursor3.ani afterwards ("": the default)
        int backups;
    };
    const Step steps[] = {
        {"broken.cur", "broken.cur does not work as a cursor", old_file, 0},
        {"new.cur", "new.cur is now plugin\\Cursors\\cursor3.ani (40x40)", new_file, 1},
        {nullptr, "plugin\\Cursors\\cursor3.ani is the default again", "", 2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.said);
        PostMessageW(window.window(), WM_COMMAND, MAKEWPARAM(step.file ? ID_CHOOSE_FILE : ID_USE_DEFAULT, 0), 0);
        if (step.file) {
            // The file dialog: the name typed in, Open pressed.
            std::wstring path = std::wstring(here) + L"\\" +
                                std::wstring(step.file, step.file + strlen(step.file));
            HWND dialog = NULL;
            for (DWORD start = GetTickCount(); !dialog && GetTickCount() - start < MESSAGE_TIMEOUT_MS;
                 Sleep(50))
                dialog = window.question();
            ASSERT_TRUE(dialog != NULL);
            const int FILE_NAME_BOX = 0x47C;
            SendDlgItemMessageW(dialog, FILE_NAME_BOX, WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(path.c_str()));
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        std::string status = window.status_once_it_says(step.said);
        EXPECT_TRUE(contains(status, step.said)) << status;
        std::string now = read_file(base(3));
        // Compared, not printed: the files are bytes.
        EXPECT_TRUE(step.now.empty() ? now != new_file && now != old_file : now == step.now);
        int backups = 0;
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA("plugin\\Cursor backups\\cursor3 *.ani", &entry);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry))
            ++backups;
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        EXPECT_EQ(step.backups, backups);
    }
    said = window.text_once_it_says(ID_PREVIEW, "cursor 3, arrow, red: the default, 32x32");
    EXPECT_TRUE(contains(said, "cursor 3, arrow, red: the default, 32x32")) << said;
}

TEST(SettingsWindow, TheWindowListFollowsTheWrapperAndClosingAsksBeforeDroppingASize) {
    ScratchFolder game;
    lay_out_game();
    ASSERT_TRUE(CopyFileA((program_folder() + "\\..\\host\\wrapper\\ddraw.dll").c_str(),
                          "ddraw.dll", FALSE));
    ASSERT_TRUE(write_file("ddraw.ini", "[ddraw]\r\nfullscreen=true\r\nboxing=true\r\n"));
    SettingsWindow window;
    ASSERT_TRUE(window.opened());
    wchar_t first[256] = L"";
    window.send(window.control(ID_WINDOW_SIZE), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(0, wcsncmp(first, L"the whole screen, ", 18));
    EXPECT_TRUE(contains(window.text(ID_SHOWN_AT), "magnifies the picture by whole numbers (boxing)"))
        << window.text(ID_SHOWN_AT);
    EXPECT_TRUE(IsWindowEnabled(window.control(ID_WINDOW_SIZE)));
    window.click(ID_OWN_SIZE);
    EXPECT_FALSE(IsWindowEnabled(window.control(ID_WINDOW_SIZE)));
    // Esc asks; Cancel stays, Yes saves and closes.
    window.press(ID_FIXED_VALUE, VK_ESCAPE);
    EXPECT_TRUE(contains(window.answer(IDCANCEL), "Save Size=1.0 before closing?"));
    EXPECT_FALSE(window.ended_within(500));
    window.press(ID_FIXED_VALUE, VK_ESCAPE);
    EXPECT_TRUE(contains(window.answer(IDYES), "Save Size=1.0"));
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(1.0f, size_the_game_reads());
}

TEST(SettingsWindow, SavingNamesTheCopyWindowsKeepsForTheGame) {
    ScratchFolder game;
    lay_out_game();
    // This test's own VirtualStore, found through LOCALAPPDATA, holding a
    // copy of the settings file: the game reads that copy.
    std::string local = game.path() + "\\local";
    SetEnvironmentVariableA("LOCALAPPDATA", local.c_str());
    std::string store = local + "\\VirtualStore" + game.path().substr(2) + "\\plugin";
    for (size_t at = 3; (at = store.find('\\', at + 1)) != std::string::npos;)
        CreateDirectoryA(store.substr(0, at).c_str(), NULL);
    CreateDirectoryA(store.c_str(), NULL);
    ASSERT_TRUE(write_file(store + "\\Quillmere.ini", "[Cursor]\r\nSize=0\r\n"));
    SettingsWindow window;
    ASSERT_TRUE(window.opened());
    window.click(ID_OWN_SIZE);
    window.click(ID_SAVE);
    EXPECT_TRUE(contains(window.text(ID_STATUS), "older copy Windows keeps for it: " + store))
        << window.text(ID_STATUS);
    // The real file is saved all the same, for when the copy is gone.
    EXPECT_EQ(1.0f, size_the_game_reads());
}

TEST(SettingsWindow, PreviewDrawsTheCursorsAtTheSizeTheGameShows) {
    ScratchFolder game;
    lay_out_game();
    CreateDirectoryA("plugin\\Cursors", NULL);
    // Cursor 0: 32 by 32 opaque pixels, so that what is drawn is its size.
    ASSERT_TRUE(write_file(base(0), make_ani(32, 32)));
    // Cursor 7 does not load: the built-in one shows, its number in red, and
    // the check's findings name it.
    ASSERT_TRUE(write_file(base(7), "not a cursor"));
    SettingsWindow window;
    ASSERT_TRUE(window.opened());
    EXPECT_TRUE(contains(window.text(ID_FINDINGS), "result: NOT fine")) << window.text(ID_FINDINGS);
    EXPECT_TRUE(contains(window.text(ID_SHOWN_AT), "red: ")) << window.text(ID_SHOWN_AT);
    // Named by the display's DPI: the case runs at 144 DPI too.
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    std::string pictures = program_folder() + "\\settings_window_" + std::to_string(dpi) + "dpi_";
    struct Step {
        int radio;
        const wchar_t* fixed;
        int game_window;
        const char* picture;
        int side;
    };
    const Step steps[] = {
        {ID_OWN_SIZE, nullptr, WINDOW_640X480, "own_size.png", 32},
        {ID_FIXED, L"2.0", WINDOW_640X480, "fixed_2.png", 64},
        {ID_AUTOMATIC, nullptr, WINDOW_640X480, "", 32},
        {ID_AUTOMATIC, nullptr, WINDOW_1280X960, "automatic_1280x960.png", 64},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.picture);
        window.click(step.radio);
        if (step.fixed)
            window.type(ID_FIXED_VALUE, step.fixed);
        window.pick_game_window(step.game_window);
        std::string picture = *step.picture ? pictures + step.picture : "";
        SIZE drawn = first_cursor_drawn(window.capture(ID_PREVIEW, picture));
        EXPECT_EQ(step.side, drawn.cx);
        EXPECT_EQ(step.side, drawn.cy);
    }
    window.capture(0, pictures + "window.png");
}

}  // namespace
