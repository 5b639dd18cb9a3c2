// The real module in the stand-in host drawing through DirectDraw: with the
// stand-in wrapper beside it in each of its modes, and with the system's own
// ddraw.dll. Each case lays out a game folder, runs the host's DirectDraw
// tour in it and reads the tour's lines: the tour checks every size against
// the settings' rules for the window's real client area, and the pointer
// showing in play; the test checks the sizes themselves.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/scratch_folder.h"

namespace {

// The host loads the ddraw.dll of its folder before the system's, as players
// set Wine up for a wrapper: Wine's setting for one program, made for the
// test and removed after it.
const char HOST_SETTINGS_KEY[] = "Software\\Wine\\AppDefaults\\quillmere_host.exe";
const char HOST_OVERRIDES_KEY[] = "Software\\Wine\\AppDefaults\\quillmere_host.exe\\DllOverrides";
const char NATIVE_FIRST[] = "native,builtin";
const char TOUR_FOLDER[] = "tour";

class NativeDirectDrawFirst {
public:
    NativeDirectDrawFirst() {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, HOST_OVERRIDES_KEY, 0, NULL, 0, KEY_SET_VALUE, NULL,
                            &key, NULL) != ERROR_SUCCESS)
            return;
        RegSetValueExA(key, "ddraw", 0, REG_SZ, reinterpret_cast<const BYTE*>(NATIVE_FIRST),
                       sizeof NATIVE_FIRST);
        RegCloseKey(key);
    }
    ~NativeDirectDrawFirst() { RegDeleteTreeA(HKEY_CURRENT_USER, HOST_SETTINGS_KEY); }
};

struct Expected {
    const char* step;   // the start of the step's line, after "ok    "
    const char* sizes;  // what the line says of kinds 0 and 10
};

// The stand-ins: for cnc-ddraw, and for a wrapper that draws the cursor
// into the frame (its version resource names DDrawCompat).
const char STANDIN[] = "host\\wrapper\\ddraw.dll";
const char DRAWS_CURSOR_STANDIN[] = "host\\wrapper\\compat\\ddraw.dll";

struct WrapperSetup {
    const char* name;
    const char* wrapper_settings;  // ddraw.ini beside the host; null: the system's ddraw
    std::vector<Expected> steps;
    const char* wrapper = STANDIN;
};

// Alt+Enter goes to a display mode of the window's size, or with
// toggle_upscaled to the whole screen.
const char WINDOWED_ALL_MODULES[] =
    "[ddraw]\r\nwindowed=true\r\nfullscreen=false\r\nwidth=1280\r\nheight=960\r\nhook=3\r\n"
    "toggle_upscaled=true\r\n";
const char WINDOWED_GAME_ONLY[] =
    "[ddraw]\r\nwindowed=true\r\nfullscreen=false\r\nwidth=1280\r\nheight=960\r\nhook=1\r\n";
const char BORDERLESS_ALL_MODULES[] = "[ddraw]\r\nwindowed=true\r\nfullscreen=true\r\nhook=3\r\n";
const char BORDERLESS_GAME_ONLY[] = "[ddraw]\r\nwindowed=true\r\nfullscreen=true\r\nhook=1\r\n";

const std::vector<Expected> WINDOWED_STEPS = {
    {"in play, magnified to 1280x960", "64x64 and 70x70, pointer showing"},
    {"window resized to 1600x1200", "80x80 and 87x87, pointer showing"},
    {"Alt+Enter, whole screen 2560x1440", "96x96 and 105x105, pointer showing"},
};
const std::vector<Expected> WINDOWED_STEPS_SAME_SIZE_ON_ALT_ENTER = {
    {"in play, magnified to 1280x960", "64x64 and 70x70, pointer showing"},
    {"window resized to 1600x1200", "80x80 and 87x87, pointer showing"},
    {"Alt+Enter, whole screen 1600x1200", "80x80 and 87x87, pointer showing"},
};
const std::vector<Expected> BORDERLESS_STEPS = {
    {"in play, magnified to 2560x1440", "96x96 and 105x105, pointer showing"},
};

// Whole-number magnification inside black borders: the cursors follow the
// picture, not the window or screen around it.
const char WHOLE_NUMBERS_ON_1920x1080[] =
    "[ddraw]\r\nwindowed=false\r\nwidth=1920\r\nheight=1080\r\nboxing=true\r\n";
const char WHOLE_NUMBERS_ON_1366x768[] =
    "[ddraw]\r\nwindowed=false\r\nwidth=1366\r\nheight=768\r\n"
    "[quillmere_host]\r\nboxing=true\r\n";  // the program's section wins
const char WHOLE_NUMBERS_IN_1600x1000[] =
    "[ddraw]\r\nwindowed=true\r\nwidth=1600\r\nheight=1000\r\nboxing=true\r\ntoggle_upscaled=true\r\n";

const WrapperSetup SETUPS[] = {
    {"WholeNumbersFullScreen1920x1080", WHOLE_NUMBERS_ON_1920x1080,
     {{"in play, magnified to 1920x1080 (picture 1280x960)", "64x64 and 70x70, pointer showing"}}},
    {"WholeNumbersFullScreen1366x768", WHOLE_NUMBERS_ON_1366x768,
     {{"in play, magnified to 1366x768 (picture 640x480)", "32x32 and 35x35, pointer showing"}}},
    {"WholeNumbersWindow1600x1000", WHOLE_NUMBERS_IN_1600x1000,
     {{"in play, magnified to 1600x1000 (picture 1280x960)", "64x64 and 70x70, pointer showing"},
      {"window resized to 1600x1200 (picture 1280x960)", "64x64 and 70x70, pointer showing"},
      {"Alt+Enter, whole screen 2560x1440 (picture 1920x1440)", "96x96 and 105x105, pointer showing"}}},
    // The wrapper squeezes every cursor to 32x32 before drawing it into the
    // frame: every one is built at that side, and magnified with the frame
    // it comes out as automatic mode sizes it without a wrapper.
    {"CursorDrawnIntoTheFrame", "",
     {{"in play, magnified to 2560x1440 (picture 1920x1440)", "32x32 and 32x32, pointer showing"},
      {"on screen, the frame magnified 3.00 times", "kind 0 96x96"}},
     DRAWS_CURSOR_STANDIN},
    {"WindowedEveryModuleRewritten", WINDOWED_ALL_MODULES, WINDOWED_STEPS},
    {"WindowedOnlyTheGameRewritten", WINDOWED_GAME_ONLY, WINDOWED_STEPS_SAME_SIZE_ON_ALT_ENTER},
    {"BorderlessEveryModuleRewritten", BORDERLESS_ALL_MODULES, BORDERLESS_STEPS},
    {"BorderlessOnlyTheGameRewritten", BORDERLESS_GAME_ONLY, BORDERLESS_STEPS},
    // The system's ddraw: whatever the window's real size, the tour's rules
    // hold and the pointer shows.
    {"SystemDirectDraw", NULL, {{"in play, magnified to", "pointer showing"}}},
};

std::string build_path(const char* relative) { return program_folder() + "\\..\\" + relative; }

bool copy_into_game_folder(const std::string& from, const char* to) {
    return CopyFileA(from.c_str(), to, FALSE) != FALSE;
}

// Lines of the tour that passed.
std::vector<std::string> passed_lines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream stream(output);
    std::string line;
    while (std::getline(stream, line))
        if (line.compare(0, 6, "ok    ") == 0)
            lines.push_back(line.substr(6));
    return lines;
}

class DirectDrawHost : public testing::TestWithParam<WrapperSetup> {};

TEST_P(DirectDrawHost, ShowsThePlugInsCursorAtTheMagnifiedSizeInPlay) {
    const WrapperSetup& setup = GetParam();
    ScratchFolder game;
    ASSERT_TRUE(copy_into_game_folder(build_path("host\\quillmere_host.exe"), "quillmere_host.exe"));
    ASSERT_TRUE(copy_into_game_folder(build_path("host\\storm.dll"), "storm.dll"));
    ASSERT_TRUE(copy_into_game_folder(built_module_path(), "plugin\\Quillmere.yrp"));
    if (setup.wrapper_settings) {
        ASSERT_TRUE(copy_into_game_folder(build_path(setup.wrapper), "ddraw.dll"));
        ASSERT_TRUE(write_file("ddraw.ini", setup.wrapper_settings));
    }
    CreateDirectoryA(TOUR_FOLDER, NULL);

    NativeDirectDrawFirst native_first;
    ChildRun run = run_child(game.path() + "\\quillmere_host.exe --ddraw --tour " + TOUR_FOLDER,
                             game.path());

    ASSERT_TRUE(run.started);
    EXPECT_EQ(0u, run.exit_code) << run.output;
    std::string expected_module = setup.wrapper_settings
                                      ? "a wrapper in the game's folder"
                                      : "the system's ddraw";
    EXPECT_NE(std::string::npos, run.output.find(expected_module)) << run.output;
    // The stand-in does what it stands in for: the game is told 640x480.
    if (setup.wrapper_settings) {
        EXPECT_NE(std::string::npos, run.output.find("the game told its client is 640x480"))
            << run.output;
    }
    std::vector<std::string> lines = passed_lines(run.output);
    for (const Expected& step : setup.steps) {
        bool seen = false;
        for (const std::string& line : lines)
            seen = seen || (line.compare(0, strlen(step.step), step.step) == 0 &&
                            line.find(step.sizes) != std::string::npos);
        EXPECT_TRUE(seen) << "no passed step \"" << step.step << "\" with " << step.sizes << "\n"
                          << run.output;
    }
}

INSTANTIATE_TEST_SUITE_P(Setups, DirectDrawHost, testing::ValuesIn(SETUPS),
                         [](const testing::TestParamInfo<WrapperSetup>& info) { return info.param.name; });

}  // namespace
