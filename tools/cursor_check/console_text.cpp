#include "tools/cursor_check/console_text.h"

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>

namespace {

const int SAY_BUFFER_SIZE = 1024;
const DWORD ENTER_BUFFER_SIZE = 256;

bool is_console(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

std::wstring widen(const std::string& text) {
    if (text.empty())
        return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string narrow(const std::wstring& wide) {
    if (wide.empty())
        return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), NULL, 0,
                                   NULL, NULL);
    std::string text(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size,
                        NULL, NULL);
    return text;
}

// Text is kept in the ANSI code page, the one file names come in. A console
// gets it as UTF-16, which it shows whatever its own code page (OEM on a
// Windows console, where ANSI bytes would show accented names garbled).
// Redirected output stays in the ANSI code page: a report saved to a file
// opens right in Notepad on every Windows the game runs on.
void write_text(HANDLE out, const std::wstring& line) {
    DWORD written = 0;
    if (is_console(out)) {
        WriteConsoleW(out, line.data(), static_cast<DWORD>(line.size()), &written, NULL);
        return;
    }
    std::string bytes = narrow(line);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
}

void print_wrapped(HANDLE out, const std::string& text, int hanging) {
    if (hanging < 0 || hanging > LINE_WIDTH / 2)
        hanging = 0;
    std::wstring rest = widen(text);
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

}  // namespace

void print_line(const std::string& text, int hanging) {
    print_wrapped(GetStdHandle(STD_OUTPUT_HANDLE), text, hanging);
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

void wait_if_own_console() {
    DWORD processes[2];
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    // Output sent elsewhere (a pipe, a file) needs no pause to be read.
    if (GetConsoleProcessList(processes, 2) != 1 || !is_console(input) ||
        !is_console(GetStdHandle(STD_OUTPUT_HANDLE)))
        return;
    print_line("");
    print_line("Press Enter to close this window.");
    wchar_t typed[ENTER_BUFFER_SIZE];
    DWORD got = 0;
    ReadConsoleW(input, typed, ENTER_BUFFER_SIZE, &got, NULL);
}
