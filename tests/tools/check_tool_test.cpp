// The players' check tool, run as the real program (quillmere_check.exe) in
// a scratch game folder: its table for missing, garbage, user-made and .cur
// files in each scale mode, its one write (--restore-defaults), and a line
// for every kind of bad file instead of a crash.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "quillmere_version.h"
#include "tests/support/cursor_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/tools/child_process.h"

namespace {

const DWORD EXIT_ALL_LOAD = 0;
const DWORD EXIT_FILES_FAIL = 1;
const DWORD EXIT_USAGE = 2;
const DWORD EXIT_NOT_A_GAME_FOLDER = 3;
const int TABLE_ROWS = 44;  // 22 slots, base and animated
const char GARBAGE[] = "not a cursor: a note a player saved under the wrong name\r\n";

std::string base(int slot) { return "plugin\\Cursors\\cursor" + std::to_string(slot) + ".ani"; }
std::string animated(int slot) {
    return "plugin\\Cursors\\Animated\\cursor" + std::to_string(slot) + ".ani";
}

struct Row {
    std::string file, loads, native, at, note;
};

// Table rows by "<slot> <set>": the five columns, then the note.
std::map<std::string, Row> rows_of(const std::string& output) {
    std::map<std::string, Row> rows;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream fields(line);
        int slot;
        std::string set;
        Row row;
        if (!(fields >> slot >> set >> row.file >> row.loads >> row.native >> row.at) ||
            (set != "base" && set != "animated"))
            continue;
        std::getline(fields, row.note);
        row.note.erase(0, row.note.find_first_not_of(' '));
        rows[std::to_string(slot) + " " + set] = row;
    }
    return rows;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

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
        ASSERT_TRUE(CopyFileA(built_module_path().c_str(), "plugin\\Quillmere.yrp", FALSE));
        ASSERT_TRUE(write_file(base(1), GARBAGE));
        ASSERT_TRUE(write_file(base(2), make_ani(48, 48)));
        ASSERT_TRUE(write_file(base(3), make_cur(32, 32, 3, 2)));
    }
    void write_size(const char* value) {
        ASSERT_TRUE(write_file("plugin\\Quillmere.ini",
                               std::string("[Cursor]\r\nSize=") + value + "\r\n"));
    }
    ChildRun check(const std::string& arguments = "") {
        std::string tool = program_folder() + "\\..\\tools\\quillmere_check.exe";
        ChildRun run = run_child("\"" + tool + "\" " + arguments);
        EXPECT_TRUE(run.started) << tool;
        return run;
    }
    ScratchFolder scratch;
};

TEST_F(CheckTool, FixedScaleTableShowsEachFileAndWritesNothing) {
    write_size("2.0");
    ChildRun run = check();
    EXPECT_EQ(EXIT_FILES_FAIL, run.exit_code) << "the garbage file fails to load\n" << run.output;
    EXPECT_TRUE(contains(run.output, "version " QUILLMERE_VERSION_TEXT)) << run.output;
    EXPECT_TRUE(contains(run.output, "Size=2.0 reads as 2.0")) << run.output;
    EXPECT_TRUE(contains(run.output, "fixed: every cursor at 2.0 times its own size"));

    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_EQ(TABLE_ROWS, static_cast<int>(rows.size())) << run.output;
    EXPECT_ROW(rows, "0 base", "missing", "-", "-", "-");
    EXPECT_EQ("default 1000 is written at the next start", rows["0 base"].note);
    EXPECT_ROW(rows, "1 base", "present", "NO", "-", "-");
    EXPECT_TRUE(contains(rows["1 base"].note, "not a cursor file")) << rows["1 base"].note;
    EXPECT_TRUE(contains(rows["1 base"].note, "kind 1 shows no cursor"));
    EXPECT_ROW(rows, "2 base", "present", "yes", "48x48", "96x96");
    EXPECT_ROW(rows, "3 base", "present", "yes", "32x32", "64x64");
    EXPECT_ROW(rows, "5 animated", "missing", "-", "-", "-");
    EXPECT_EQ("default 2005 is written at the next start", rows["5 animated"].note);
    EXPECT_EQ("no default: shows base cursor 3", rows["3 animated"].note);
    EXPECT_ROW(rows, "3 animated", "absent", "-", "-", "-");
    EXPECT_TRUE(contains(run.output, "2 files load, 1 fail to load, 20 missing, 21 absent"))
        << run.output;

    EXPECT_FALSE(file_exists(base(0)));
    EXPECT_FALSE(file_exists(animated(5)));
    EXPECT_EQ(GARBAGE, read_file(base(1)));
}

TEST_F(CheckTool, AutomaticModeSizesFollowTheClientAreaGiven) {
    ChildRun run = check();  // no settings file: automatic, 640x480
    EXPECT_TRUE(contains(run.output, "Quillmere.ini not found: automatic")) << run.output;
    EXPECT_TRUE(contains(run.output, "a 640x480 client area on the 640x480 host screen gives 1.0"));
    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_ROW(rows, "2 base", "present", "yes", "48x48", "48x48");
    EXPECT_ROW(rows, "3 base", "present", "yes", "32x32", "32x32");

    write_size("0");
    run = check("--client 1600x900");
    EXPECT_TRUE(contains(run.output, "gives 1.875")) << run.output;
    rows = rows_of(run.output);
    EXPECT_ROW(rows, "2 base", "present", "yes", "48x48", "90x90");
    EXPECT_ROW(rows, "3 base", "present", "yes", "32x32", "60x60");

    run = check("--client 1280x960");
    rows = rows_of(run.output);
    EXPECT_ROW(rows, "2 base", "present", "yes", "48x48", "96x96");

    run = check("--client 320x240");
    EXPECT_TRUE(contains(run.output, "gives 0.5, so own size")) << run.output;
    rows = rows_of(run.output);
    EXPECT_ROW(rows, "2 base", "present", "yes", "48x48", "48x48");
}

TEST_F(CheckTool, NativeModeIgnoresTheClientArea) {
    write_size("1.0");
    ChildRun run = check("--client 1280x960");
    EXPECT_TRUE(contains(run.output, "native: every cursor at its own size")) << run.output;
    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_ROW(rows, "2 base", "present", "yes", "48x48", "48x48");
    EXPECT_ROW(rows, "3 base", "present", "yes", "32x32", "32x32");
}

TEST_F(CheckTool, RestoringDefaultsWritesOnlyMissingFilesThatHaveADefault) {
    ChildRun run = check("--restore-defaults");
    EXPECT_EQ(EXIT_FILES_FAIL, run.exit_code) << run.output;
    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_ROW(rows, "0 base", "restored", "yes", "32x32", "32x32");
    EXPECT_EQ("default 1000 written now", rows["0 base"].note);
    EXPECT_ROW(rows, "10 base", "restored", "yes", "35x35", "35x35");
    EXPECT_ROW(rows, "5 animated", "restored", "yes", "32x32", "32x32");
    EXPECT_ROW(rows, "0 animated", "absent", "-", "-", "-");
    EXPECT_TRUE(file_exists(base(0)));
    EXPECT_TRUE(file_exists(animated(5)));
    EXPECT_FALSE(file_exists(animated(0)));
    EXPECT_EQ(GARBAGE, read_file(base(1))) << "a player's file is never overwritten";

    rows = rows_of(check().output);
    EXPECT_ROW(rows, "0 base", "present", "yes", "32x32", "32x32");
}

TEST_F(CheckTool, EveryBadFileGetsItsOwnLineInsteadOfACrash) {
    ASSERT_TRUE(CreateDirectoryA(base(4).c_str(), NULL));
    ASSERT_TRUE(write_file(base(6), ""));
    std::string damaged = make_ani(32, 32, 2);
    write_u32(damaged, damaged.find("LIST") + 4, 0x7ffffff0u);
    ASSERT_TRUE(write_file(base(7), damaged));
    std::string absurd = make_cur(32, 32, 0, 0);
    write_u32(absurd, 22 + 4, 100000u);  // the image's width in its bitmap header
    ASSERT_TRUE(write_file(base(9), absurd));
    ASSERT_TRUE(CreateDirectoryA(animated(2).c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA("plugin\\Quillmere.ini", NULL));
    ASSERT_TRUE(write_file(base(8), make_cur(32, 32, 0, 0)));
    // Held open with no sharing, so that no other process can read it.
    HANDLE held = CreateFileA(base(8).c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    ChildRun run = check();
    CloseHandle(held);
    EXPECT_EQ(EXIT_FILES_FAIL, run.exit_code) << run.output;
    EXPECT_TRUE(contains(run.output, "Quillmere.ini is a folder, not a file: automatic"));
    std::map<std::string, Row> rows = rows_of(run.output);
    EXPECT_EQ(TABLE_ROWS, static_cast<int>(rows.size())) << run.output;
    EXPECT_ROW(rows, "4 base", "folder", "NO", "-", "-");
    EXPECT_EQ("a folder where the file should be; kind 4 shows no cursor", rows["4 base"].note);
    EXPECT_EQ("empty file; kind 6 shows no cursor", rows["6 base"].note);
    EXPECT_TRUE(contains(rows["7 base"].note, "damaged animated cursor")) << rows["7 base"].note;
    EXPECT_EQ("cannot be read (Windows error 32); kind 8 shows no cursor", rows["8 base"].note);
    EXPECT_ROW(rows, "9 base", "present", "NO", "-", "-");
    EXPECT_ROW(rows, "2 animated", "folder", "NO", "-", "-");
    EXPECT_TRUE(contains(rows["2 animated"].note, "shows base cursor 2"));
    EXPECT_TRUE(contains(run.output, "2 files load, 7 fail to load")) << run.output;
}

TEST(CheckToolElsewhere, OutsideAGameFolderItSaysSo) {
    ScratchFolder scratch(false);
    std::string tool = program_folder() + "\\..\\tools\\quillmere_check.exe";
    ChildRun run = run_child("\"" + tool + "\"");
    EXPECT_EQ(EXIT_NOT_A_GAME_FOLDER, run.exit_code) << run.output;
    EXPECT_TRUE(contains(run.output, "no .\\plugin folder here")) << run.output;
    EXPECT_FALSE(folder_exists("plugin"));
}

TEST(CheckToolElsewhere, RejectsABadCommandLine) {
    ScratchFolder scratch;
    std::string tool = "\"" + program_folder() + "\\..\\tools\\quillmere_check.exe\" ";
    EXPECT_EQ(EXIT_USAGE, run_child(tool + "--client 0x480").exit_code);
    EXPECT_EQ(EXIT_USAGE, run_child(tool + "--client 640").exit_code);
    EXPECT_EQ(EXIT_USAGE, run_child(tool + "--bogus").exit_code);
    EXPECT_EQ(EXIT_ALL_LOAD, run_child(tool + "--client 800x600").exit_code);
}

}  // namespace
