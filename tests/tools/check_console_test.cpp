// The check tool in a console of its own: a double-click window waits, and
// saves the report with one key; a Unix terminal under Wine (a console of
// its own without a window) gets the report and its prompt back at once.
// Saved output is UTF-8, so that every folder name survives.
#include <gtest/gtest.h>

#include "support/cursor_builders.h"
#include "support/scratch_folder.h"
#include "tests/tools/check_tool_run.h"

namespace {

const DWORD RUN_LIMIT_MS = 60000;

// Starts the tool in `folder` in a new console, its window shown (a double
// click) or not (what Wine gives a program started from a Unix terminal).
PROCESS_INFORMATION start_in_own_console(const std::string& tool, bool shown) {
    std::string line = "\"" + tool + "\"";
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESHOWWINDOW;
    start.wShowWindow = shown ? SW_SHOWNOACTIVATE : SW_HIDE;
    PROCESS_INFORMATION process = {};
    EXPECT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, CREATE_NEW_CONSOLE, NULL, NULL,
                               &start, &process));
    return process;
}

void close_process(PROCESS_INFORMATION* process) {
    if (WaitForSingleObject(process->hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(process->hProcess, 99);
    WaitForSingleObject(process->hProcess, RUN_LIMIT_MS);
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
}

void type_key(HANDLE in, WORD key, wchar_t character) {
    INPUT_RECORD records[2] = {};
    for (int i = 0; i < 2; ++i) {
        records[i].EventType = KEY_EVENT;
        records[i].Event.KeyEvent.bKeyDown = i == 0;
        records[i].Event.KeyEvent.wRepeatCount = 1;
        records[i].Event.KeyEvent.wVirtualKeyCode = key;
        records[i].Event.KeyEvent.uChar.UnicodeChar = character;
    }
    DWORD written = 0;
    EXPECT_TRUE(WriteConsoleInputW(in, records, 2, &written));
}

TEST(CheckToolConsole, StartedFromATerminalItDoesNotWait) {
    ScratchFolder scratch;
    lay_out_game();
    PROCESS_INFORMATION process = start_in_own_console(tool_path(), false);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, RUN_LIMIT_MS))
        << "it waits for a key in a terminal";
    close_process(&process);
}

// A console of this test's, with R and Enter typed ahead, handed over to
// the tool: it is the tool's own once this test lets go of it.
TEST(CheckToolConsole, ADoubleClickWindowSavesTheReportWithOneKey) {
    ScratchFolder scratch;
    lay_out_game();
    std::string copy = scratch.path() + "\\plugin\\" + TOOL_NAME;
    ASSERT_TRUE(CopyFileA(tool_path().c_str(), copy.c_str(), FALSE));
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    HANDLE in = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    type_key(in, 'R', L'r');
    type_key(in, VK_RETURN, L'\r');
    CloseHandle(in);
    std::string line = "\"" + copy + "\"";
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, CREATE_SUSPENDED, NULL, NULL,
                               &start, &process));
    FreeConsole();
    ResumeThread(process.hThread);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, RUN_LIMIT_MS));
    close_process(&process);
    EXPECT_TRUE(file_exists("plugin\\quillmere-report.txt"));
}

// Output saved to a file keeps names outside the system's code page: a
// game folder named in Cyrillic and Japanese, as UTF-8.
TEST(CheckToolConsole, SavedOutputIsUtf8) {
    ScratchFolder scratch(false);
    const std::wstring game = L"\x0418\x0433\x0440\x0430 \x30B2\x30FC\x30E0";
    const char game_utf8[] = "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 \xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0";
    ASSERT_TRUE(CreateDirectoryW(game.c_str(), NULL));
    ASSERT_TRUE(SetCurrentDirectoryW(game.c_str()));
    lay_out_game();
    ChildRun run = run_tool("");
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.path().c_str()));
    EXPECT_EQ(EXIT_ALL_FINE, run.exit_code) << run.output;
    EXPECT_TRUE(contains(run.output, std::string("\\") + game_utf8)) << run.output;
}

}  // namespace
