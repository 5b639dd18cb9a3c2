// The players' check tool, run as the real program (quillmere_check.exe) in
// a scratch game folder: its table for missing, garbage, user-made and .cur
// files in each scale mode, its one write (--restore-defaults), a line for
// every kind of bad file instead of a crash, its exit codes, the files it
// finds misnamed and its picture. Every run's output must fit 79 columns.
// The defaults and the empty animated slots are folded into a line each.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <map>
#include <vector>

#include "quillmere_version.h"
#include "support/cursor_builders.h"
#include "support/players_files.h"
#include "support/scratch_folder.h"
#include "tests/tools/check_tool_run.h"

namespace {

const char GARBAGE[] = "not a cursor: a note a player saved under the wrong name\r\n";

#define EXPECT_ROW(rows, key, file_, loads_, native_, at_)        \
    do {                                                          \
        const Row& row = rows[key];                               \
        EXPECT_EQ(file_, row.file) << key;                        \
        EXPECT_EQ(loads_, row.loads) << key;                      \
        EXPECT_EQ(native_, row.native) << key;                    \
        EXPECT_EQ(at_, row.at) << key;                            \
    } while (0)

class CheckTool : public testing::Test {
protected:
    // A game folder with the module, cursor 0 missing, cursor 1 garbage,
    // cursor 2 a player's 48 by 48 animated cursor and cursor 3 a .cur file.
    void SetUp() override {
        CreateDirectoryA("plugin\\Cursors", NULL);
        CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
        lay_out_game();
        ASSERT_TRUE(write_file(base(1), GARBAGE));
        ASSERT_TRUE(write_file(base(2), make_ani(48, 48)));
        ASSERT_TRUE(write_file(base(3), make_cur(32, 32, 3, 2)));
    }
    void write_size(const char* value) {
        ASSERT_TRUE(write_file("plugin\\Quillmere.ini",
                               std::string("[Cursor]\r\nSize=") + value + "\r\n"));
    }
    ChildRun check(const std::string& arguments = "") { return run_tool(arguments); }
    ScratchFolder scratch;
};

TEST_F(CheckTool, FixedScaleTableShowsEachFileAndWritesNothing) {
    write_size("2.0");
    ChildRun run = check();
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << "the garbage file fails to load\n" << run.output;
    EXPECT_TRUE(contains(run.output, "version " QUILLMERE_VERSION_TEXT "\r\n")) << run.output;

    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_EQ(3u, rows.size()) << "only the player's files have rows\n" << run.output;
    EXPECT_ROW(rows, "1 base", "present", "NO", "-", "-");
    EXPECT_ROW(rows, "2 base", "present", "yes", "48x48", "96x96");
    EXPECT_ROW(rows, "3 base", "present", "yes", "32x32", "64x64");
    EXPECT_TRUE(contains(line_with(run.output, "defaults"), "base 0, 4-21, animated 5: not there"))
        << run.output;
    EXPECT_TRUE(contains(line_with(run.output, "no file"), "animated 0-4, 6-21")) << run.output;
    EXPECT_EQ((std::vector<int>{2, 1, 20, 0, 21}), counts_of(run.output)) << run.output;

    EXPECT_FALSE(file_exists(base(0)));
    EXPECT_FALSE(file_exists(animated(5)));
    EXPECT_EQ(GARBAGE, read_file(base(1)));
}

TEST_F(CheckTool, AutomaticModeSizesFollowTheClientAreaGiven) {
    struct Case {
        const char* arguments;
        const char* player_cursor;  // loads at, for 48x48
        const char* cur_file;       // loads at, for 32x32
    };
    const Case cases[] = {
        {"", "48x48", "32x32"},  // no settings file: automatic, 640x480
        {"--client 1600x900", "90x90", "60x60"},
        {"--client 1280x960", "96x96", "64x64"},
        {"--client 320x240", "48x48", "32x32"},  // never below own size
    };
    for (const Case& c : cases) {
        ChildRun run = check(c.arguments);
        std::map<std::string, Row> rows = rows_of(run.output);
        EXPECT_ROW(rows, "2 base", "present", "yes", "48x48", c.player_cursor);
        EXPECT_ROW(rows, "3 base", "present", "yes", "32x32", c.cur_file);
    }
    write_size("0");
    ChildRun run = check("--client 1600x900");
    EXPECT_TRUE(contains(run.output, "1.875"));
    // The columns say which window they assume, and add the window maximised.
    EXPECT_TRUE(contains(line_with(run.output, "cursor  set"), "at 1600x900  maximised"))
        << run.output;
    EXPECT_FALSE(line_with(run.output, "maximised    on this screen").empty()) << run.output;
}

TEST_F(CheckTool, NativeModeIgnoresTheClientArea) {
    write_size("1.0");
    ChildRun run = check("--client 1280x960");
    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_ROW(rows, "2 base", "present", "yes", "48x48", "48x48");
    EXPECT_ROW(rows, "3 base", "present", "yes", "32x32", "32x32");
}

TEST_F(CheckTool, ASizePastTheLimitsIsReportedAsTheModuleLoadsIt) {
    // No side is built above 256: the largest size that fits, and the tool
    // notes it; a cursor at the largest size there is is no problem.
    ASSERT_TRUE(write_file(base(4), make_cur(512, 512, 0, 0)));
    ASSERT_TRUE(write_file(base(5), make_cur(256, 256, 0, 0)));
    write_size("4.0");
    ChildRun run = check();
    EXPECT_FALSE(contains(run.output, "shown smaller than asked")) << run.output;
    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_ROW(rows, "4 base", "present", "yes", "512x512", "256x256");
    EXPECT_TRUE(contains(run.output, "the largest that fits")) << run.output;
    EXPECT_TRUE(contains(run.output, "note: plugin\\Cursors\\cursor4.ani (512x512) shows at "
                                     "256x256"))
        << run.output;
    EXPECT_TRUE(contains(run.output, "note: plugin\\Cursors\\cursor5.ani (256x256)")) << run.output;
    EXPECT_FALSE(contains(run.output, "or less")) << run.output;
    EXPECT_ROW(rows, "3 base", "present", "yes", "32x32", "128x128");
}

TEST_F(CheckTool, RestoringDefaultsWritesOnlyMissingFilesThatHaveADefault) {
    ChildRun run = check("--restore-defaults");
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
    EXPECT_TRUE(contains(line_with(run.output, "restored"), "base 0, 4-21, animated 5: the"))
        << run.output;
    EXPECT_EQ((std::vector<int>{22, 1, 0, 0, 21}), counts_of(run.output)) << run.output;
    EXPECT_TRUE(file_exists(base(0)));
    EXPECT_TRUE(file_exists(animated(5)));
    EXPECT_FALSE(file_exists(animated(0)));
    EXPECT_EQ(GARBAGE, read_file(base(1))) << "a player's file is never overwritten";

    run = check();
    EXPECT_TRUE(contains(line_with(run.output, "defaults"), "base 0, 4-21, animated 5: the default"))
        << run.output;
}

// Players' files of every class the module knows, sound and hostile: the
// tool judges each as the module does, at twice its size, and comes back.
TEST_F(CheckTool, JudgesPlayersFilesAsTheModuleDoes) {
    std::vector<PlayersFile> files = players_files();
    for (size_t slot = 0; slot < files.size(); ++slot)
        ASSERT_TRUE(write_file(base(static_cast<int>(slot)), files[slot].bytes));
    write_size("2.0");
    ChildRun run = check();
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
    std::map<std::string, Row> rows = rows_of(run.output);
    for (size_t slot = 0; slot < files.size(); ++slot) {
        const Row& row = rows[std::to_string(slot) + " base"];
        std::string side = std::to_string(2 * files[slot].own_side);
        EXPECT_EQ(files[slot].loads ? "yes" : "NO", row.loads) << files[slot].name;
        EXPECT_EQ(files[slot].loads ? side + "x" + side : "-", row.at) << files[slot].name;
    }
}

TEST_F(CheckTool, EveryBadFileGetsItsOwnLineInsteadOfACrash) {
    ASSERT_TRUE(CreateDirectoryA(base(4).c_str(), NULL));
    ASSERT_TRUE(write_file(base(6), ""));
    std::string damaged = make_ani(32, 32, 2);
    damaged.resize(damaged.size() / 2);  // its second frame cut off
    ASSERT_TRUE(write_file(base(7), damaged));
    std::string absurd = make_cur(32, 32, 0, 0);
    set32(absurd, 22 + 4, 100000u);  // the image's width in its bitmap header
    ASSERT_TRUE(write_file(base(9), absurd));
    ASSERT_TRUE(CreateDirectoryA(animated(2).c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA("plugin\\Quillmere.ini", NULL));
    ASSERT_TRUE(write_file(base(8), make_cur(32, 32, 0, 0)));
    ASSERT_TRUE(write_file("plugin\\Cursors\\cursor1.cur", make_cur(32, 32, 0, 0)));
    // Held open with no sharing, so that no other process can read it.
    HANDLE held = CreateFileA(base(8).c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    ChildRun run = check();
    CloseHandle(held);
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_ROW(rows, "4 base", "folder", "NO", "-", "-");
    for (const char* key : {"4 base", "6 base", "7 base", "8 base", "9 base", "2 animated"}) {
        EXPECT_EQ("NO", rows[key].loads) << key;
        EXPECT_FALSE(rows[key].note.empty()) << key << " says nothing about why";
    }
    EXPECT_NE(rows["6 base"].note, rows["8 base"].note) << "an empty and a locked file differ";
    EXPECT_ROW(rows, "2 animated", "folder", "NO", "-", "-");
    EXPECT_EQ(2, counts_of(run.output)[0]) << run.output;
    EXPECT_EQ(7, counts_of(run.output)[1]) << run.output;
}

// A folder the defaults can't be written into fails the check: the player
// could not replace those cursors.
TEST_F(CheckTool, ADefaultThatCantBeWrittenFails) {
    remove_tree("plugin\\Cursors");
    ASSERT_TRUE(write_file("plugin\\Cursors", "a file where the folder belongs"));
    ChildRun run = check();
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_ROW(rows, "0 base", "missing", "NO", "-", "-");
    EXPECT_ROW(rows, "5 animated", "missing", "NO", "-", "-");
    EXPECT_EQ(23, counts_of(run.output)[3]) << run.output;

    run = check("--restore-defaults");
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
    EXPECT_TRUE(file_exists("plugin\\Cursors"));
}

TEST_F(CheckTool, AnAnimatedFolderThatIsAFileFailsOnlyItsDefault) {
    remove_tree("plugin\\Cursors\\Animated");
    ASSERT_TRUE(write_file("plugin\\Cursors\\Animated", "x"));
    ASSERT_TRUE(write_file(base(1), make_cur(32, 32, 0, 0)));
    ChildRun run = check("--restore-defaults");
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_TRUE(contains(line_with(run.output, "restored"), "base 0, 4-21: the")) << run.output;
    EXPECT_ROW(rows, "5 animated", "missing", "NO", "-", "-");
    EXPECT_EQ((std::vector<int>{22, 0, 0, 1, 21}), counts_of(run.output)) << run.output;
}

// Each misnamed file is listed with the exact name it should have; a cursor
// file the game never reads fails the check (the player meant it to show),
// anything else is only listed.
TEST_F(CheckTool, MisnamedFilesAreNamedWithTheNameTheyShouldHave) {
    struct Case {
        const char* file;     // in plugin\Cursors unless it names Animated
        const char* advised;  // a name the line must give, or "" for none
    };
    const Case cases[] = {
        {"cursor11.cur", "cursor11.ani"},
        {"cursor12.ani.cur", "cursor12.ani"},
        {"cursor 13.ani", "cursor13.ani"},
        {"cursor014.ani", "cursor14.ani"},
        {"Animated\\cursor5.ani.ani", "cursor5.ani"},
        {"cursor9 (1).ani", "rename it to cursor9.ani"},
        {"cursor16 - Copy.ani", "rename it to cursor16.ani"},
        {"Copy of cursor17.ani", "rename it to cursor17.ani"},
        {"cursor1 (2).ani", "the game reads cursor1.ani"},
        {"cursor22.ani", "0 to 21"},
        {"arrow.cur", "cursor<n>.ani"},
    };
    ASSERT_TRUE(write_file(base(1), make_cur(32, 32, 0, 0)));
    for (const Case& c : cases)
        ASSERT_TRUE(write_file(std::string("plugin\\Cursors\\") + c.file, "x"));
    ASSERT_TRUE(CreateDirectoryA("plugin\\Cursors\\old", NULL));
    ChildRun run = check();
    EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << run.output;
    EXPECT_TRUE(contains(run.output, "11 cursor files are never read")) << run.output;
    for (const Case& c : cases) {
        std::string name = strrchr(c.file, '\\') ? strrchr(c.file, '\\') + 1 : c.file;
        std::string line = line_with(run.output, "\\" + name + ":");
        EXPECT_FALSE(line.empty()) << c.file << " is not listed\n" << run.output;
        if (*c.advised) {
            EXPECT_TRUE(contains(line.substr(line.find(':')), c.advised)) << line;
        }
    }
    EXPECT_FALSE(line_with(run.output, "\\old\\: a folder").empty()) << run.output;
    EXPECT_TRUE(line_with(run.output, "\\cursor0.ani:").empty()) << "a read file is listed";
    EXPECT_TRUE(line_with(run.output, "\\Animated:").empty()) << "the animated folder is listed";
}

TEST_F(CheckTool, SheetIsAPictureGrowingWithTheScale) {
    struct Size {
        int width, height;
    };
    auto sheet_size = [&](const char* size) {
        write_size(size);
        EXPECT_EQ(EXIT_PROBLEMS, check("--sheet sheet.png").exit_code);
        std::string png = read_file("sheet.png");
        EXPECT_EQ(0u, png.find("\x89PNG")) << size;
        // The IHDR chunk: big-endian width and height at bytes 16 and 20.
        auto big_endian = [&](size_t at) {
            return png.size() < at + 4 ? 0 : (static_cast<unsigned char>(png[at]) << 24 |
                                             static_cast<unsigned char>(png[at + 1]) << 16 |
                                             static_cast<unsigned char>(png[at + 2]) << 8 |
                                             static_cast<unsigned char>(png[at + 3]));
        };
        return Size{big_endian(16), big_endian(20)};
    };
    Size own = sheet_size("1.0");
    // 11 cells a row, each a light and a dark box at least as large as a
    // 48x48 cursor (the player's one).
    EXPECT_GE(own.width, 11 * 2 * 48);
    EXPECT_GE(own.height, 4 * 48);
    EXPECT_LE(own.width, 11 * 2 * 96);
    Size twice = sheet_size("2.0");
    EXPECT_GT(twice.width, own.width + 11 * 2 * 40);
    EXPECT_GT(twice.height, own.height);
}

struct ExitCase {
    const char* what;
    const char* arguments;
    DWORD exit_code;
    const char* named;  // the output must name this ("" for no check)
};

class CheckToolExit : public testing::TestWithParam<ExitCase> {};

TEST_P(CheckToolExit, CommandLine) {
    ScratchFolder scratch;
    lay_out_game();
    ASSERT_EQ(EXIT_ALL_FINE, run_tool("--restore-defaults").exit_code);
    ChildRun run = run_tool(GetParam().arguments);
    EXPECT_EQ(GetParam().exit_code, run.exit_code) << run.output;
    EXPECT_TRUE(contains(run.output, GetParam().named)) << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckToolExit,
    testing::Values(ExitCase{"sound", "", EXIT_ALL_FINE, ""},
                    ExitCase{"help", "--help", EXIT_ALL_FINE, "--client"},
                    ExitCase{"short_help", "-h", EXIT_ALL_FINE, "--client"},
                    ExitCase{"windows_help", "/?", EXIT_ALL_FINE, "--client"},
                    ExitCase{"unknown", "--bogus", EXIT_USAGE, "--bogus"},
                    ExitCase{"a_word_is_a_file", "--client 800x600 extra", EXIT_PROBLEMS,
                             "not found"},
                    ExitCase{"zero_side", "--client 0x480", EXIT_USAGE, "0x480"},
                    ExitCase{"not_wxh", "--client 640", EXIT_USAGE, "640"},
                    ExitCase{"too_large", "--client 70000x480", EXIT_USAGE, "70000x480"},
                    ExitCase{"no_size", "--client", EXIT_USAGE, "--client"},
                    ExitCase{"no_sheet_file", "--sheet", EXIT_USAGE, "--sheet"},
                    ExitCase{"sheet_not_png", "--sheet cursors.bmp", EXIT_USAGE, ".png"},
                    ExitCase{"no_such_dropped_file", "nothing.ani", EXIT_PROBLEMS, "not found"},
                    ExitCase{"good_client", "--client 800x600", EXIT_ALL_FINE, ""}),
    [](const testing::TestParamInfo<ExitCase>& info) { return std::string(info.param.what); });

TEST(CheckToolElsewhere, OutsideAGameFolderItSaysSo) {
    ScratchFolder scratch(false);
    ChildRun run = run_tool("");
    EXPECT_EQ(EXIT_NOT_A_GAME_FOLDER, run.exit_code) << run.output;
    EXPECT_FALSE(folder_exists("plugin"));
}

// Redirected output is UTF-8; a name longer than a line is cut to fit
// (run_tool checks the width).
TEST(CheckToolElsewhere, ALongAccentedGameFolderKeepsItsName) {
    ScratchFolder scratch(false);
    const std::string game = "Caf\xe9 " + std::string(90, 'x');  // e-acute, code page 1252
    ASSERT_TRUE(CreateDirectoryA(game.c_str(), NULL));
    ASSERT_TRUE(SetCurrentDirectoryA(game.c_str()));
    lay_out_game();
    ChildRun run = run_tool("--restore-defaults");
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.path().c_str()));
    EXPECT_EQ(EXIT_ALL_FINE, run.exit_code) << run.output;
    EXPECT_TRUE(contains(run.output, "\\Caf\xc3\xa9")) << run.output;
    EXPECT_TRUE(contains(run.output, std::string(60, 'x'))) << run.output;
}

// A double click starts the tool in its own folder, <game>\plugin.
TEST(CheckToolElsewhere, StartedInThePluginFolderItChecksTheGameFolder) {
    ScratchFolder scratch;
    lay_out_game();
    ASSERT_TRUE(CopyFileA(tool_path().c_str(), "plugin\\quillmere_check.exe", FALSE));
    std::string copy = scratch.path() + "\\plugin\\" + TOOL_NAME;
    ASSERT_TRUE(SetCurrentDirectoryA("plugin"));
    ChildRun run = run_tool("--restore-defaults", copy);
    ChildRun again = run_tool("", copy);
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.path().c_str()));
    EXPECT_EQ(EXIT_ALL_FINE, run.exit_code) << run.output;
    EXPECT_EQ(EXIT_ALL_FINE, again.exit_code) << again.output;
    EXPECT_TRUE(rows_of(again.output).empty()) << "the defaults fold into a line\n" << again.output;
    EXPECT_TRUE(file_exists(base(0))) << "the defaults went into the game folder";
    EXPECT_FALSE(folder_exists("plugin\\plugin"));
}

}  // namespace

// In the prefix whose pointer size is 96 (tests/module/pointer_size.sh): the
// sizes the check states are those the module builds there (the module's
// PointerSize cases), for the arrow and for a player's file.
class CheckToolPointerSize : public CheckTool {
protected:
    void SetUp() override {
        if (!getenv("QUILLMERE_POINTER_PREFIX"))
            GTEST_SKIP() << "runs in the prefix of tests/module/pointer_size.sh";
        CheckTool::SetUp();
    }
};

TEST_F(CheckToolPointerSize, StatesWhatTheModuleBuilds) {
    struct Case {
        const char* size;
        const char* arguments;
        const char* arrow;   // the built line
        const char* player;  // the 48 by 48 file's row
    };
    const Case cases[] = {
        {"0", "--client 640x480", "built at 96 px; the system reports 96x96", "144x144"},
        {"0", "--client 1280x960", "built at 192 px; the system reports 192x192", "256x256"},
        {"2.0", "", "built at 192 px; the system reports 192x192", "256x256"},
        {"1.0", "--client 1280x960", "built at 96 px; the system reports 96x96", "144x144"},
    };
    for (const Case& c : cases) {
        write_size(c.size);
        ChildRun run = check(c.arguments);
        EXPECT_TRUE(contains(line_with(run.output, "built "), c.arrow)) << c.size << "\n" << run.output;
        EXPECT_TRUE(contains(line_with(run.output, "pointer "), "96 px")) << run.output;
        EXPECT_EQ(c.player, rows_of(run.output)["2 base"].at) << c.size << "\n" << run.output;
    }
}
