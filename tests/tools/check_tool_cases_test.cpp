// Game folders as players leave them, each checked by the real tool: the
// install mistakes, folders the game can't write, names the game ignores,
// settings mistakes and cursors in the wrong place each give their line and
// exit code 1; a sound folder alone gives exit 0. Also the tool in a folder
// named outside the system's code page, files dropped onto it, and a report
// whose result leads.
#include <gtest/gtest.h>

#include <functional>

#include "support/cursor_builders.h"
#include "support/scratch_folder.h"
#include "tests/tools/check_tool_run.h"

namespace {

const char NESTED[] = "Quillmere-1.1.0";  // where "Extract All" puts the files
const char GARBAGE[] = "not a cursor\r\n";
const DWORD UNIX_COMMAND_WAIT_MS = 5000;

// A Wine path as the Unix side names it.
std::string unix_path(const std::string& path) {
    typedef char*(CDECL * UnixName)(LPCWSTR);
    UnixName to_unix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t full[MAX_PATH];
    if (!to_unix ||
        !GetFullPathNameW(std::wstring(path.begin(), path.end()).c_str(), MAX_PATH, full, NULL))
        return "";
    char* name = to_unix(full);
    std::string result = name ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Runs a Unix program on Unix paths: what a player does on Linux or the
// Steam Deck (chattr, a file manager keeping two names that differ in case).
void run_unix(const std::string& program, const std::string& arguments,
              const std::function<bool()>& done) {
    run_child("start.exe /wait /unix " + program + " " + arguments);
    for (DWORD waited = 0; !done() && waited < UNIX_COMMAND_WAIT_MS; waited += 50) Sleep(50);
}

bool accepts_a_file(const std::string& folder) {
    std::string probe = folder + "\\probe.tmp";
    if (!write_file(probe, "x"))
        return false;
    DeleteFileA(probe.c_str());
    return true;
}

// Folders made unchangeable as on Linux (chattr +i), until the end of the test.
class Immutable {
public:
    explicit Immutable(std::vector<std::string> folders) : folders_(folders) {
        for (const std::string& folder : folders_)
            run_unix("/usr/bin/chattr", "+i " + unix_path(folder),
                     [&] { return !accepts_a_file(folder); });
    }
    ~Immutable() {
        for (const std::string& folder : folders_)
            run_unix("/usr/bin/chattr", "-i " + unix_path(folder),
                     [&] { return accepts_a_file(folder); });
    }
    bool holds() const { return !accepts_a_file(folders_.back()); }

private:
    std::vector<std::string> folders_;
};

void unzip_one_level_too_deep() {
    std::string plugin = std::string(NESTED) + "\\plugin";
    ASSERT_TRUE(CreateDirectoryA(NESTED, NULL));
    ASSERT_TRUE(CreateDirectoryA(plugin.c_str(), NULL));
    ASSERT_TRUE(MoveFileA("plugin\\Quillmere.yrp", (plugin + "\\Quillmere.yrp").c_str()));
    ASSERT_TRUE(RemoveDirectoryA("plugin"));
}

// The tool counts a game program as run when it was read a good second
// after it was put in place.
const DWORD AFTER_PLACING_MS = 1500;

void start_the_game() {
    Sleep(AFTER_PLACING_MS);
    // No handles passed on: the game may start the desktop's own process,
    // which would keep them open.
    std::string line = std::string(GAME_PROGRAM) + " --no-storm --tour .";
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION game = {};
    ASSERT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, NULL,
                               &start, &game));
    DWORD code = wait_for_exit(game.hProcess, "the game");
    CloseHandle(game.hThread);
    CloseHandle(game.hProcess);
    ASSERT_NE(0u, code) << "the game ran with the plug-in";
}

struct GameCase {
    const char* what;
    void (*prepare)();
    const char* plugin_folder;  // where the tool's copy is double-clicked; "": run here
    DWORD exit_code;
    const char* line;  // a line of the report holds this
};

class CheckToolGameFolders : public testing::TestWithParam<GameCase> {};

TEST_P(CheckToolGameFolders, GiveTheirLineAndExitCode) {
    const GameCase& game = GetParam();
    ScratchFolder scratch;
    lay_out_game();
    game.prepare();
    ChildRun run;
    if (*game.plugin_folder) {
        std::string copy = scratch.path() + "\\" + game.plugin_folder + "\\" + TOOL_NAME;
        ASSERT_TRUE(CopyFileA(tool_path().c_str(), copy.c_str(), FALSE));
        ASSERT_TRUE(SetCurrentDirectoryA(game.plugin_folder));
        run = run_tool("", copy);
        ASSERT_TRUE(SetCurrentDirectoryA(scratch.path().c_str()));
    } else {
        run = run_tool("");
    }
    EXPECT_EQ(game.exit_code, run.exit_code) << run.output;
    EXPECT_FALSE(line_with(run.output, game.line).empty()) << game.line << "\n" << run.output;
    EXPECT_EQ(std::string(game.exit_code ? "result: NOT fine" : "result: all fine"),
              lines_of(run.output).at(1).substr(0, 16))
        << "the result leads\n"
        << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckToolGameFolders,
    testing::Values(
        GameCase{"sound", [] {}, "plugin", EXIT_ALL_FINE, "result: all fine"},
        GameCase{"plugin_missing", [] { ASSERT_TRUE(DeleteFileA("plugin\\Quillmere.yrp")); },
                 "plugin", EXIT_PROBLEMS, "plug-in      plugin\\Quillmere.yrp is missing"},
        GameCase{"one_level_too_deep", unzip_one_level_too_deep, "Quillmere-1.1.0\\plugin",
                 EXIT_PROBLEMS,
                 "Move the plugin folder and the Quillmere files from "
                 "Quillmere-1.1.0 up into"},
        GameCase{"too_deep_and_the_game_ran",
                 [] {
                     unzip_one_level_too_deep();
                     start_the_game();
                 },
                 "Quillmere-1.1.0\\plugin", EXIT_PROBLEMS, "has run since"},
        GameCase{"no_game_program", [] { ASSERT_TRUE(DeleteFileA(GAME_PROGRAM)); }, "",
                 EXIT_PROBLEMS, "no game program (.exe)"},
        GameCase{"game_ran_without_loading_it",
                 [] {
                     ASSERT_TRUE(write_file("plugin\\Quillmere.yrp", GARBAGE));
                     start_the_game();
                 },
                 "", EXIT_PROBLEMS, "the game did not load the plug-in"},
        GameCase{"broken_file",
                 [] {
                     ASSERT_TRUE(CreateDirectoryA("plugin\\Cursors", NULL));
                     ASSERT_TRUE(write_file(base(8), GARBAGE));
                 },
                 "", EXIT_PROBLEMS,
                 "fails to load: the game shows its default cursor 8 "
                 "instead (not a cursor, or a damaged one)"},
        GameCase{"sample_edited",
                 [] {
                     ASSERT_TRUE(
                         write_file("plugin\\Quillmere.ini.sample", "[Cursor]\r\nSize=2.0\r\n"));
                 },
                 "", EXIT_PROBLEMS, "copy the sample to Quillmere.ini"},
        GameCase{
            "settings_named_txt",
            [] { ASSERT_TRUE(write_file("plugin\\Quillmere.ini.txt", "[Cursor]\r\nSize=2\r\n")); },
            "", EXIT_PROBLEMS, "Quillmere.ini.txt is never read"},
        GameCase{
            "size_as_percentage",
            [] { ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "[Cursor]\r\nSize=150%\r\n")); },
            "", EXIT_PROBLEMS, "for 150% write Size=1.5"},
        // Sizes the game ignores or can't show: the game would not do what they say.
        GameCase{"size_under_a_misspelt_section",
                 [] { ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "[Cursors]\r\nSize=2.0\r\n")); },
                 "", EXIT_PROBLEMS, "Size=2.0 (under [Cursors]) is ignored"},
        GameCase{"size_outside_the_section",
                 [] {
                     ASSERT_TRUE(write_file("plugin\\Quillmere.ini",
                                            "[Other]\r\nx=1\r\n[Cursor]\r\n[Mouse]\r\nSize=2\r\n"));
                 },
                 "", EXIT_PROBLEMS, "Size=2 (under [Mouse]) is ignored"},
        GameCase{"size_without_a_section_line",
                 [] { ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "Size=2.0\r\n")); }, "",
                 EXIT_PROBLEMS, "put the line [Cursor] above it"},
        GameCase{"size_past_the_largest_cursor",
                 [] { ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "[Cursor]\r\nSize=9999\r\n")); },
                 "", EXIT_PROBLEMS, "no cursor is larger than 256 pixels a side"},
        GameCase{"size_below_own_size",
                 [] { ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "[Cursor]\r\nSize=0.5\r\n")); },
                 "", EXIT_PROBLEMS, "never get smaller than their files"},
        GameCase{"size_not_a_plain_number",
                 [] { ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "[Cursor]\r\nSize=inf\r\n")); },
                 "", EXIT_PROBLEMS, "only a plain number counts"},
        GameCase{"edges_square",
                 [] {
                     ASSERT_TRUE(write_file("plugin\\Quillmere.ini",
                                            "[Cursor]\r\nSize=2.0\r\nEdges=Square\r\n"));
                 },
                 "", EXIT_ALL_FINE, "edges        square (Edges=square)"},
        GameCase{"edges_not_a_choice",
                 [] {
                     ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "[Cursor]\r\nEdges=round\r\n"));
                 },
                 "", EXIT_PROBLEMS, "write Edges=smooth or Edges=square"},
        GameCase{"size_past_the_largest_default",
                 [] { ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "[Cursor]\r\nSize=7.4\r\n")); },
                 "", EXIT_PROBLEMS, "Write Size=7.3 for the largest cursors there are"},
        // What the game reads as written: notes, never problems.
        GameCase{"comment_after_the_size",
                 [] {
                     ASSERT_TRUE(write_file("plugin\\Quillmere.ini",
                                            "[Cursor]\r\nSize=2.0   ; my favourite\r\n"));
                 },
                 "", EXIT_ALL_FINE, "the game reads 2.0 and skips the comment after it"},
        GameCase{"unknown_key_and_leftover_size",
                 [] {
                     ASSERT_TRUE(write_file("plugin\\Quillmere.ini",
                                            "[Cursor]\r\nSize=2.0\r\nColour=red\r\n"
                                            "[Cursors]\r\nSize=3\r\n"));
                 },
                 "", EXIT_ALL_FINE, "Size=3 (under [Cursors]) is skipped by the game, which reads"},
        GameCase{"largest_size_in_full",
                 [] { ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "[Cursor]\r\nSize=7.3\r\n")); },
                 "", EXIT_ALL_FINE, "result: all fine"},
        GameCase{"cursor_in_plugin_folder",
                 [] { ASSERT_TRUE(write_file("plugin\\cursor3.ani", make_ani(32, 32))); }, "",
                 EXIT_PROBLEMS, "plugin\\cursor3.ani: cursors go in plugin\\Cursors"},
        GameCase{"cursors_in_the_game_folder",
                 [] {
                     ASSERT_TRUE(CreateDirectoryA("Cursors", NULL));
                     ASSERT_TRUE(write_file("Cursors\\cursor4.ani", make_ani(32, 32)));
                 },
                 "", EXIT_PROBLEMS, "Cursors\\: 1 cursor file in a folder the game does not read"},
        GameCase{"a_packs_own_folder",
                 [] {
                     ASSERT_TRUE(CreateDirectoryA("plugin\\Cursors", NULL));
                     ASSERT_TRUE(CreateDirectoryA("plugin\\Cursors\\Pack", NULL));
                     ASSERT_TRUE(
                         write_file("plugin\\Cursors\\Pack\\cursor4.ani", make_ani(32, 32)));
                 },
                 "", EXIT_PROBLEMS, "plugin\\Cursors\\Pack\\: 1 cursor file"}),
    [](const testing::TestParamInfo<GameCase>& info) { return std::string(info.param.what); });

class CheckToolOnLinux : public testing::Test {
protected:
    void SetUp() override {
        lay_out_game();
        ASSERT_EQ(EXIT_ALL_FINE, run_tool("--restore-defaults").exit_code);
    }
    ScratchFolder scratch;
};

// Wine's GetTempFileName returns a number for a folder it can't write and
// creates nothing: the tool must not take that as a yes.
TEST_F(CheckToolOnLinux, UnchangeableFoldersAreNamed) {
    Immutable locked({"plugin\\Cursors", "plugin\\Cursors\\Animated"});
    if (!locked.holds())
        GTEST_SKIP() << "this file system keeps no unchangeable flag";
    ChildRun run = run_tool("");
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
    EXPECT_FALSE(line_with(run.output, "cursors      plugin\\Cursors can't be written to").empty())
        << run.output;
}

TEST_F(CheckToolOnLinux, AnUnchangeablePluginFolderCantTakeTheCursorFolders) {
    remove_tree("plugin\\Cursors");
    Immutable locked({"plugin"});
    if (!locked.holds())
        GTEST_SKIP() << "this file system keeps no unchangeable flag";
    ChildRun run = run_tool("");
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
    EXPECT_FALSE(line_with(run.output, "plugin\\Cursors is missing, and it can't be made").empty())
        << run.output;
}

// Linux keeps both CURSOR2.ANI and cursor2.ani; the game opens cursor2.ani.
TEST_F(CheckToolOnLinux, ANameDifferingOnlyInCaseIsNamedAsIgnored) {
    ASSERT_TRUE(write_file("upper.tmp", make_ani(48, 48)));
    std::string upper = unix_path("plugin\\Cursors") + "/CURSOR2.ANI";
    run_unix("/bin/mv", unix_path("upper.tmp") + " " + upper,
             [] { return !file_exists("upper.tmp"); });
    ChildRun run = run_tool("");
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
    EXPECT_TRUE(
        contains(line_with(run.output, "\\CURSOR2.ANI:"), "differs only in capital letters"))
        << run.output;
}

// The game opens plugin\\Cursors\\cursor<n>.ani; of names differing only in
// case the system opens the exact one, else one of the others: every other
// spelling (case, leading zeros, spaces) is told which one the game reads.
TEST_F(CheckToolOnLinux, EverySpellingIsToldWhichTwinTheGameReads) {
    struct Case {
        std::vector<std::string> files;  // made in this order, by Unix
        const char* listed;              // this file's line ...
        const char* read;                // ... names this one as read
    };
    const Case cases[] = {
        {{"Cursor5.ANI", "cursor05.ani"}, "cursor05.ani", "the game reads Cursor5.ANI"},
        {{"Cursor5.ANI", "cursor5.ani", "cursor05.ani"}, "cursor05.ani",
         "the game reads cursor5.ani"},
        {{"cursor5.ani", "Cursor 5.ani", "CURSOR5.ANI"}, "Cursor 5.ani",
         "the game reads cursor5.ani"},
        {{"CURSOR5.ANI", "cursor5.ani"}, "CURSOR5.ANI", "differs only in capital letters"},
    };
    std::string folder = unix_path("plugin\\Cursors");
    for (const Case& c : cases) {
        remove_tree("plugin\\Cursors");
        ASSERT_TRUE(CreateDirectoryA("plugin\\Cursors", NULL));
        for (const std::string& name : c.files) {
            // Only Unix makes a name beside its twin; Windows would open the twin.
            std::string path = "plugin\\Cursors\\" + name;
            if (!file_exists(path)) {
                ASSERT_TRUE(write_file(path, make_ani(48, 48)));
                continue;
            }
            ASSERT_TRUE(write_file("twin.tmp", make_ani(48, 48)));
            run_unix("/bin/mv", unix_path("twin.tmp") + " " + folder + "/" + name,
                     [] { return !file_exists("twin.tmp"); });
        }
        ChildRun run = run_tool("");
        EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
        std::string line = line_with(run.output, std::string("\\") + c.listed + ":");
        EXPECT_TRUE(contains(line, c.read)) << c.listed << "\n" << run.output;
    }
}

// The wide-character calls: a game folder named in Cyrillic and Japanese,
// double-clicked, with a sheet written beside the program.
TEST(CheckToolElsewhere, AFolderNamedOutsideTheCodePageIsAGameFolder) {
    ScratchFolder scratch(false);
    const std::wstring game = L"\x0418\x0433\x0440\x0430 \x30B2\x30FC\x30E0";
    const std::wstring plugin = game + L"\\plugin";
    ASSERT_TRUE(CreateDirectoryW(game.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryW(plugin.c_str(), NULL));
    std::wstring copy = plugin + L"\\quillmere_check.exe";
    auto widened = [](const std::string& path) { return std::wstring(path.begin(), path.end()); };
    std::wstring host = widened(host_path()), module = widened(built_module_path());
    std::wstring tool = widened(tool_path());
    ASSERT_TRUE(CopyFileW(tool.c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(module.c_str(), (plugin + L"\\Quillmere.yrp").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(host.c_str(), (game + L"\\Game.exe").c_str(), FALSE));

    std::wstring line = L"\"" + copy + L"\" --sheet \x043B\x0438\x0441\x0442.png";
    // No keyboard and no console to show: the tool must not wait for Enter.
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, NULL, TRUE};
    HANDLE nothing =
        CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, NULL);
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = start.hStdOutput = start.hStdError = nothing;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessW(NULL, &line[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL,
                                  plugin.c_str(), &start, &process);
    CloseHandle(nothing);
    ASSERT_TRUE(started);
    DWORD code = wait_for_exit(process.hProcess, "the tool");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::wstring sheet = plugin + L"\\\x043B\x0438\x0441\x0442.png";
    bool written = GetFileAttributesW(sheet.c_str()) != INVALID_FILE_ATTRIBUTES;
    for (const std::wstring& file :
         {sheet, copy, plugin + L"\\Quillmere.yrp", game + L"\\Game.exe"})
        DeleteFileW(file.c_str());
    for (const wchar_t* folder : {L"\\Cursors\\Animated", L"\\Cursors"})
        RemoveDirectoryW((plugin + folder).c_str());
    RemoveDirectoryW(plugin.c_str());
    RemoveDirectoryW(game.c_str());
    EXPECT_EQ(EXIT_ALL_FINE, code);
    EXPECT_TRUE(written);
}

// A file dropped onto the program is checked on its own: one result, for
// the file, and advice that fits where it lies.
TEST(CheckToolElsewhere, ADroppedFileGetsOneResultAndAdviceForWhereItIs) {
    struct Case {
        const char* file;
        bool sound;
        DWORD exit_code;
        const char* said;      // a line holds this
        const char* not_said;  // no line holds this ("" for no check)
    };
    const Case cases[] = {
        {"cursor9 (1).ani", true, EXIT_ALL_FINE, "it says cursor 9: copy it into", ""},
        {"cursor9 (1).ani", true, EXIT_ALL_FINE, "any cursor number, 0 to 21", ""},
        {"plugin\\Cursors\\cursor4.ani", true, EXIT_ALL_FINE,
         "in place: the game shows it as cursor 4", "copy it into"},
        {"plugin\\Cursors\\Animated\\cursor5.ani", true, EXIT_ALL_FINE,
         "in place: the game shows it as animated cursor 5", "copy it into"},
        {"plugin\\Cursors\\cursor04.ani", true, EXIT_PROBLEMS, "rename it to cursor4.ani",
         "copy it into"},
        {"broken.cur", false, EXIT_PROBLEMS, "does NOT load", ""},
    };
    ScratchFolder scratch(false);
    ASSERT_TRUE(CreateDirectoryA("plugin", NULL));
    ASSERT_TRUE(CreateDirectoryA("plugin\\Cursors", NULL));
    ASSERT_TRUE(CreateDirectoryA("plugin\\Cursors\\Animated", NULL));
    for (const Case& c : cases) {
        ASSERT_TRUE(write_file(c.file, c.sound ? make_ani(48, 48) : GARBAGE));
        ChildRun run = run_tool("\"" + scratch.path() + "\\" + c.file + "\"");
        EXPECT_EQ(c.exit_code, run.exit_code) << c.file << "\n" << run.output;
        EXPECT_FALSE(line_with(run.output, c.said).empty()) << c.said << "\n" << run.output;
        if (*c.not_said) {
            EXPECT_TRUE(line_with(run.output, c.not_said).empty()) << run.output;
        }
        int results = 0;
        for (const std::string& line : lines_of(run.output))
            results += line.compare(0, 6, "result") == 0;
        EXPECT_EQ(1, results) << run.output;
    }
}

// An 80x25 console shows the report's first lines (the window is moved back
// to them): the result and what to do lead, and a sound folder's whole
// report fits with the line asking for Enter.
TEST(CheckToolElsewhere, TheResultAndWhatToDoLead) {
    ScratchFolder scratch;
    lay_out_game();
    ASSERT_EQ(EXIT_ALL_FINE, run_tool("--restore-defaults").exit_code);
    EXPECT_LE(lines_of(run_tool("").output).size(), 22u) << run_tool("").output;
    ASSERT_TRUE(write_file(base(8), GARBAGE));
    ASSERT_TRUE(write_file(base(2), make_ani(48, 48)));
    std::vector<std::string> lines = lines_of(run_tool("").output);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ("result: NOT fine: cursor 8 fails to load", lines[1]);
    EXPECT_TRUE(contains(lines[2], "plugin\\Cursors\\cursor8.ani: fails to load")) << lines[2];
}

}  // namespace
