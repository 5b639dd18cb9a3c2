// The check tool as a player on Windows meets it: the copies Windows keeps
// of the game's files in the player's VirtualStore (here a VirtualStore the
// test builds under a LOCALAPPDATA of its own), the problem report that
// --report writes beside the tool, and the manifest that keeps the tool
// itself out of that redirection.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "quillmere_version.h"
#include "support/child_process.h"
#include "support/cursor_builders.h"
#include "support/scratch_folder.h"
#include "tests/tools/check_tool_run.h"

namespace {

const char REPORT[] = "plugin\\quillmere-report.txt";
// A file of the three bytes "abc" and its SHA-256.
const char ABC_SHA256[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

// The output with its wrapping undone: every run of spaces and line ends
// becomes one space.
std::string unwrapped(const std::string& output) {
    std::string text;
    for (char c : output) {
        bool blank = c == ' ' || c == '\r' || c == '\n';
        if (!blank)
            text += c;
        else if (!text.empty() && text.back() != ' ')
            text += ' ';
    }
    return text;
}

// The output without any blank: long paths wrap anywhere.
std::string squeezed(const std::string& output) {
    std::string text;
    for (char c : output)
        if (c != ' ' && c != '\r' && c != '\n')
            text += c;
    return text;
}

std::string current_folder() {
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

class PlayersWindows : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA("plugin\\Cursors", NULL);
        CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
        ASSERT_TRUE(CopyFileA(built_module_path().c_str(), "plugin\\Quillmere.yrp", FALSE));
        // A game's program beside plugin, so that this is a game folder.
        ASSERT_TRUE(write_file("Game.exe", "MZ"));
        // This test's own VirtualStore; the tool finds it through LOCALAPPDATA.
        local_ = scratch.path() + "\\local";
        CreateDirectoryA(local_.c_str(), NULL);
        SetEnvironmentVariableA("LOCALAPPDATA", local_.c_str());
        store_plugin_ = local_ + "\\VirtualStore" + scratch.path().substr(2) + "\\plugin";
    }
    // Writes `bytes` as the VirtualStore's copy of the game's file `file`
    // ("plugin\\..."), making its folders first.
    void write_redirected(const std::string& file, const std::string& bytes) {
        std::string path = store_plugin_ + file.substr(6);
        for (size_t at = 3; (at = path.find('\\', at + 1)) != std::string::npos;)
            CreateDirectoryA(path.substr(0, at).c_str(), NULL);
        ASSERT_TRUE(write_file(path, bytes)) << path;
    }
    ScratchFolder scratch;
    std::string local_, store_plugin_;
};

TEST_F(PlayersWindows, RedirectedCopiesAreNamedWithTheFolderToDelete) {
    std::string clean = unwrapped(run_tool("").output);
    EXPECT_FALSE(contains(clean, "VirtualStore")) << clean;

    ASSERT_TRUE(write_file("plugin\\Cursors\\cursor3.ani", make_ani(48, 48)));
    write_redirected("plugin\\Cursors\\cursor3.ani", make_ani(32, 32));
    write_redirected("plugin\\Cursors\\cursor4.ani", make_ani(32, 32));
    write_redirected("plugin\\Quillmere.ini", "[Cursor]\r\nSize=2.0\r\n");
    ChildRun run = run_tool("");
    std::string output = run.output;
    std::string found = unwrapped(output);
    // The hidden file is a problem to fix: the result names it, the exit code is not 0.
    EXPECT_EQ(1u, run.exit_code) << output;
    EXPECT_TRUE(contains(found, "NOT fine: 1 file is hidden behind copies in your VirtualStore"))
        << found;
    EXPECT_TRUE(contains(found, "Windows keeps 3 of the game's files in your VirtualStore")) << found;
    EXPECT_TRUE(contains(found, "plugin\\Cursors\\cursor3.ani: hidden: the game never reads the "
                                "file in the game folder"))
        << found;
    EXPECT_TRUE(contains(found, "plugin\\Cursors\\cursor4.ani: the game reads a copy you can't "
                                "see"))
        << found;
    EXPECT_TRUE(contains(found, "plugin\\Quillmere.ini: the game reads a copy")) << found;
    std::string folder = "%LOCALAPPDATA%\\VirtualStore" + scratch.path().substr(2) + "\\plugin";
    EXPECT_TRUE(contains(found, "close the game and delete this folder")) << found;
    EXPECT_TRUE(contains(squeezed(output), "):" + folder + "files:")) << output;
}

TEST_F(PlayersWindows, TheReportHasEveryLineWithSizesMeasuredAndNoNames) {
    ASSERT_TRUE(write_file("plugin\\Cursors\\cursor1.ani", "abc"));
    ASSERT_TRUE(write_file("plugin\\Cursors\\cursor2.ani", make_ani(48, 48)));
    ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "[Cursor]\r\nSize=2.0\r\n"));
    write_redirected("plugin\\Cursors\\cursor2.ani", make_ani(32, 32));
    // The tool where players have it, so that the report lands in the game.
    ASSERT_TRUE(CopyFileA(tool_path().c_str(), "plugin\\quillmere_check.exe", FALSE));
    ChildRun run = run_tool("--report", current_folder() + "\\plugin\\" + TOOL_NAME);
    EXPECT_TRUE(contains(squeezed(run.output), "\\" + std::string(REPORT) + ":sendthisfile"))
        << run.output;
    std::string report = read_file(REPORT);
    ASSERT_FALSE(report.empty()) << run.output;

    std::vector<std::string> lines = lines_of(report);
    const std::string heads[] = {
        "Quillmere problem report, written by quillmere_check " QUILLMERE_VERSION_TEXT,
        "plug-in: plugin\\Quillmere.yrp, version " QUILLMERE_VERSION_TEXT,
        "plug-in SHA-256: ",
        "system: Wine ",
        "DPI awareness: ",
        "system DPI: 96 (100 %)",
        "SM_CXCURSOR: 32 (this program), 32 (a DPI-aware program)",
        "game folder: %USERPROFILE%\\",
        "writes virtualised: no",
        "pixel memory: 96 MB could be reserved of 96 MB (this program)",
        "game folder writable: yes",
        "redirected copies: 1 in %USERPROFILE%\\",
        "redirected copy: plugin\\Cursors\\cursor2.ani (hides the file in the game folder)",
        "settings: plugin\\Quillmere.ini Size=2.0 read as 2 (fixed)",
        "pointer size: 0 (0: never set)",
        "gamescope: no",
        "size at the game's own window size: Size=2: 2 times each cursor's own size",
        "built: the built-in arrow (cursor 0) built at 64 px; the system reports 64x64 for it",
        "code patching: a code page of a test image can be made writable",
        "code guard on for: no program of the game folder",
        "cursor 0 base: missing, the built-in default shows, built 32x32 at Size 1.0 and 64x64 "
        "at Size 2.0",
        "cursor 0 animated: none",
        "cursor 1 base: present, SHA-256 " + std::string(ABC_SHA256) +
            ", not sound: not a cursor, or a damaged one",
        "cursor 2 base: present, SHA-256 ",
        "cursor 5 animated: missing, the built-in default shows, built 32x32 at Size 1.0",
    };
    for (const std::string& head : heads) {
        int found = 0;
        for (const std::string& line : lines)
            found += line.compare(0, head.size(), head) == 0;
        EXPECT_EQ(1, found) << head << "\n" << report;
    }
    EXPECT_EQ(44, static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
                  return l.compare(0, 7, "cursor ") == 0;
              })));
    for (const std::string& line : lines) {
        if (contains(line, "cursor 2 base")) {
            EXPECT_TRUE(contains(line, ", sound, built 48x48 at Size 1.0 and 96x96 at Size 2.0"))
                << line;
        }
        if (line.compare(0, 17, "plug-in SHA-256: ") == 0) {
            EXPECT_EQ(17u + 64u, line.size()) << line;
        }
    }
    // Only paths, and none naming the player.
    char profile[MAX_PATH] = "";
    ASSERT_NE(0u, GetEnvironmentVariableA("USERPROFILE", profile, sizeof profile));
    EXPECT_FALSE(contains(report, profile)) << report;
}

TEST_F(PlayersWindows, TheReportHoldsTheFindingsTheSettingsTheWrapperAndThePlayersFiles) {
    ASSERT_TRUE(write_file("plugin\\Cursors\\cursor1.ani", "abc"));
    ASSERT_TRUE(write_file("plugin\\Cursors\\cursor3.ani", make_ani(48, 48)));
    ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "; mine\r\n\r\n[Cursor]\r\nSize=2.0   ; my favourite\r\n"));
    ASSERT_TRUE(CopyFileA((program_folder() + "\\..\\host\\wrapper\\ddraw.dll").c_str(), "ddraw.dll",
                          FALSE));
    ASSERT_TRUE(write_file("ddraw.ini", "[ddraw]\r\nwindowed=true\r\nboxing=true\r\n"));
    ASSERT_TRUE(CopyFileA(tool_path().c_str(), "plugin\\quillmere_check.exe", FALSE));
    ChildRun run = run_tool("--report", current_folder() + "\\plugin\\" + TOOL_NAME);
    std::string report = read_file(REPORT);
    const char* const items[] = {
        "\r\nwritten: 20",
        "\r\ncheck result: NOT fine: cursor 1 fails to load\r\n",
        "\r\nproblem: plugin\\Cursors\\cursor1.ani: fails to load",
        "\r\nnote: plugin\\Quillmere.ini: Size=2.0   ; my favourite: the game reads 2.0",
        "\r\nwrapper: ddraw.dll, named cnc-ddraw",
        " (ddraw.ini, as it reads them for Game): windowed=1 fullscreen=0 maintas=0 boxing=1 ",
        "\r\nthe player's files: plugin\\Quillmere.ini, plugin\\Cursors\\cursor1.ani, "
        "plugin\\Cursors\\cursor3.ani\r\n",
        "\r\n  | ; mine\r\n  | \r\n  | [Cursor]\r\n  | Size=2.0   ; my favourite\r\n",
        "\r\ncheck output:\r\n  Quillmere cursor check ",
        "\r\n  wrapper      cnc-ddraw",
    };
    for (const char* item : items)
        EXPECT_TRUE(contains(report, item)) << item << "\n" << report;
}

// Exploit protection's program settings, as Windows keeps them: by program
// name, and under it by full path.
const char OPTIONS_KEY[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\";
const BYTE GUARD_ON = 0x10, GUARD_OFF = 0x20;  // the byte holding bits 32 to 39

void set_mitigation(const std::string& key_name, BYTE guard, const std::string& full_path = "") {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_name.c_str(), 0, NULL, 0,
                                             KEY_WRITE | KEY_WOW64_64KEY, NULL, &key, NULL));
    BYTE options[16] = {};
    options[4] = guard;
    RegSetValueExA(key, "MitigationOptions", 0, REG_BINARY, options, sizeof options);
    if (!full_path.empty())
        RegSetValueExA(key, "FilterFullPath", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(full_path.c_str()), full_path.size() + 1);
    RegCloseKey(key);
}

TEST_F(PlayersWindows, ProgramsWithCodeGuardOnAreNamed) {
    std::string tag = std::to_string(GetCurrentProcessId());
    const struct {
        std::string program;
        BYTE by_name, by_this_path, by_another_path;
        bool named;
    } cases[] = {
        {"guard-on-" + tag + ".exe", GUARD_ON, 0, 0, true},
        {"guard-off-" + tag + ".exe", GUARD_OFF, 0, 0, false},
        {"guard-here-" + tag + ".exe", GUARD_OFF, GUARD_ON, 0, true},
        {"guard-elsewhere-" + tag + ".exe", 0, 0, GUARD_ON, false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(write_file(c.program, "MZ"));
        std::string key = OPTIONS_KEY + c.program;
        set_mitigation(key, c.by_name);
        if (c.by_this_path)
            set_mitigation(key + "\\here", c.by_this_path, scratch.path() + "\\" + c.program);
        if (c.by_another_path)
            set_mitigation(key + "\\there", c.by_another_path, "C:\\Games\\" + c.program);
    }
    ASSERT_TRUE(CopyFileA(tool_path().c_str(), "plugin\\quillmere_check.exe", FALSE));
    std::string output =
        unwrapped(run_tool("--report", current_folder() + "\\plugin\\" + TOOL_NAME).output);
    std::string report = read_file(REPORT);
    for (const auto& c : cases) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (OPTIONS_KEY + c.program).c_str());
        EXPECT_EQ(c.named, contains(output, "Arbitrary code guard is on for " + c.program + ":"))
            << c.program << "\n" << output;
        EXPECT_EQ(c.named, contains(report, c.program)) << c.program << "\n" << report;
    }
    EXPECT_TRUE(contains(report, "\ncode guard on for: guard-")) << report;
}

TEST(CheckToolManifest, RunsAsTheInvokerWithoutRedirection) {
    HMODULE tool = LoadLibraryExA(tool_path().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(tool != NULL);
    HRSRC found = FindResourceA(tool, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_TRUE(found != NULL);
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(tool, found))),
                         SizeofResource(tool, found));
    FreeLibrary(tool);
    EXPECT_TRUE(contains(manifest, "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"))
        << manifest;
}

}  // namespace
