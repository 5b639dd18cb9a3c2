#include "tools/cursor_check/console_text.h"

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>

#include <vector>

namespace {

const int SAY_BUFFER_SIZE = 1024;
// The key that writes the report in a window of the tool's own.
const WORD REPORT_KEY = 'R';

// Lines printed while held: text and hanging indent.
struct HeldLine {
    std::string text;
    int hanging;
};
std::vector<HeldLine> held;
bool holding = false;
std::string printed;

// The console row the report started on, for showing it from its start.
SHORT first_row = -1;

bool is_console(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

std::string convert(const std::wstring& text, UINT code_page) {
    if (text.empty())
        return std::string();
    int size = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), NULL,
                                   0, NULL, NULL);
    std::string bytes(size, '\0');
    WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                        NULL, NULL);
    return bytes;
}

// A console gets UTF-16, which it shows whatever its own code page. Output
// redirected to a file or a pipe is UTF-8, unconverted: every folder name
// survives "> quillmere-check.txt", and Notepad opens it right.
void write_text(HANDLE out, const std::wstring& line) {
    DWORD written = 0;
    if (is_console(out)) {
        if (first_row < 0) {
            CONSOLE_SCREEN_BUFFER_INFO screen;
            if (GetConsoleScreenBufferInfo(out, &screen))
                first_row = screen.dwCursorPosition.Y;
        }
        WriteConsoleW(out, line.data(), static_cast<DWORD>(line.size()), &written, NULL);
        return;
    }
    std::string bytes = convert(line, CP_UTF8);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
}

void print_wrapped(HANDLE out, const std::string& text, int hanging) {
    if (hanging < 0 || hanging > LINE_WIDTH / 2)
        hanging = 0;
    std::wstring rest = wide(text);
    std::wstring indent;
    do {
        size_t room = LINE_WIDTH - indent.size();
        size_t cut = rest.size();
        if (cut > room) {
            // The last space that keeps the piece within the line, past any
            // leading spaces; a word longer than a line is cut where it must.
            cut = rest.find_last_of(L' ', room);
            size_t first_word = rest.find_first_not_of(L' ');
            if (cut == std::wstring::npos || cut <= first_word)
                cut = room;
        }
        std::wstring piece = rest.substr(0, cut);
        piece.erase(piece.find_last_not_of(L' ') + 1);
        write_text(out, indent + piece + L"\r\n");
        rest.erase(0, cut);
        rest.erase(0, rest.find_first_not_of(L' '));
        indent.assign(hanging, L' ');
    } while (!rest.empty());
}

// True when this program alone uses its console, and a window shows it.
bool console_is_own() {
    DWORD processes[2];
    // Output sent elsewhere (a pipe, a file) needs no pause to be read, nor
    // does a console shared with the command prompt that started us.
    if (GetConsoleProcessList(processes, 2) != 1 || !is_console(GetStdHandle(STD_INPUT_HANDLE)) ||
        !is_console(GetStdHandle(STD_OUTPUT_HANDLE)))
        return false;
    // Wine gives a program started from a Unix terminal a console of its
    // own, without a window: the terminal shows the output and stays.
    HWND window = GetConsoleWindow();
    return !is_wine() || (window && IsWindowVisible(window));
}

// Scrolls the console window back to the report's first line when the
// report ran past the window's height.
void show_from_first_row(HANDLE out) {
    CONSOLE_SCREEN_BUFFER_INFO screen;
    if (first_row < 0 || !GetConsoleScreenBufferInfo(out, &screen))
        return;
    SHORT height = screen.srWindow.Bottom - screen.srWindow.Top;
    if (screen.dwCursorPosition.Y - first_row <= height)
        return;
    SMALL_RECT window = screen.srWindow;
    window.Top = first_row;
    window.Bottom = first_row + height;
    SetConsoleWindowInfo(out, TRUE, &window);
}

}  // namespace

std::string utf8(const std::wstring& text) {
    return convert(text, CP_UTF8);
}

std::wstring wide(const std::string& text) {
    if (text.empty())
        return std::wstring();
    int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    std::wstring result(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], length);
    return result;
}

void print_line(const std::string& text, int hanging) {
    if (holding) {
        held.push_back({text, hanging});
        return;
    }
    printed += text + "\n";
    print_wrapped(GetStdHandle(STD_OUTPUT_HANDLE), text, hanging);
}

void start_transcript() {
    printed.clear();
}

const std::string& transcript() {
    return printed;
}

void hold_lines() {
    holding = true;
}

void stop_holding() {
    holding = false;
}

void print_held_lines() {
    stop_holding();
    for (const HeldLine& line : held) print_line(line.text, line.hanging);
    held.clear();
}

void say(const char* format, ...) {
    char text[SAY_BUFFER_SIZE];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    print_line(text);
}

void print_error_line(const std::string& text) {
    print_wrapped(GetStdHandle(STD_ERROR_HANDLE), text, LABEL_WIDTH);
}

bool runs_in_own_console() {
    // Decided once, at the start: a program attaching to the console later
    // does not make it shared.
    static int own = -1;
    if (own < 0)
        own = console_is_own();
    return own != 0;
}

bool is_wine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != NULL;
}

void wait_if_own_console() {
    if (!runs_in_own_console())
        return;
    print_line("");
    print_line("Press Enter to close this window.");
    wait_for_key(false);
}

bool wait_for_key(bool report_key) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    show_from_first_row(out);
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    for (;;) {
        INPUT_RECORD record;
        DWORD got = 0;
        if (!ReadConsoleInputW(in, &record, 1, &got) || got == 0)
            return false;
        if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown)
            continue;
        WORD key = record.Event.KeyEvent.wVirtualKeyCode;
        if (report_key && key == REPORT_KEY)
            return true;
        if (key == VK_RETURN || key == VK_ESCAPE)
            return false;
    }
}
