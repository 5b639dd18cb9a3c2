// The settings file read by the real module at start-up, and the cursor size
// each value gives (and the look each Edges value gives), through the
// stand-in host's window.
#include <vector>

#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "tests/module/module_fixture.h"

namespace {

struct SizeCase {
    const char* name;
    const char* value;      // null: no settings file
    int client_width;       // window client size when the plug-in starts
    int client_height;
    int expected_32;        // shown size of a 32-pixel default
    int expected_35;        // shown size of a 35-pixel default (kind 10)
    bool rescales;          // whether a later resize to 960x720 rescales
};

const SizeCase SIZE_CASES[] = {
    {"NoFileAtHostSize", NULL, 640, 480, 32, 35, true},
    {"NoFileEnlarged", NULL, 1280, 960, 64, 70, true},
    {"AutomaticWide", "0", 1600, 900, 60, 65, true},
    {"AutomaticSmall", "0", 320, 240, 32, 35, true},
    {"OneIsNative", "1.0", 1280, 960, 32, 35, false},
    {"HalfIsNative", "0.5", 1280, 960, 32, 35, false},
    {"NegativeIsNative", "-3", 1280, 960, 32, 35, false},
    {"TextIsAutomatic", "abc", 1280, 960, 64, 70, true},
    {"MinusZeroIsAutomatic", "-0", 1280, 960, 64, 70, true},
    {"CommaEndsTheNumber", "2,5", 640, 480, 64, 70, false},
    {"OneAndAHalf", "1.5", 640, 480, 48, 52, false},
    {"Infinite", "1e39", 640, 480, 32, 35, false},
};

void PrintTo(const SizeCase& c, std::ostream* out) { *out << c.name; }

class SettingsAtStartUp : public ModuleInHost, public testing::WithParamInterface<SizeCase> {};

TEST_P(SettingsAtStartUp, GiveTheSizeOfTheirMode) {
    const SizeCase& c = GetParam();
    if (c.value)
        write_size_setting(c.value);
    set_client_size(window, c.client_width, c.client_height);
    PluginLoad plugin = start_plugin();
    ASSERT_TRUE(plugin.initialised);

    EXPECT_EQ(c.expected_32, shown_cursor_size().cx);
    set_host_cursor_kind(10);
    SIZE size = shown_cursor_size();
    EXPECT_EQ(c.expected_35, size.cx);
    EXPECT_EQ(c.expected_35, size.cy);

    // A resize rescales in automatic mode only, one second later.
    count_module_loads(plugin.module);
    set_client_size(window, 960, 720);
    if (c.rescales)
        pump_until_loads(LOADS_PER_DEFAULT_SET, 4000);
    else
        pump_past_rescale();
    EXPECT_EQ(c.rescales ? LOADS_PER_DEFAULT_SET : 0, module_loads.calls);
    if (c.rescales) {
        EXPECT_EQ(52, shown_cursor_size().cx);  // 35 x 1.5
    }
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsAtStartUp, testing::ValuesIn(SIZE_CASES),
                         [](const testing::TestParamInfo<SizeCase>& info) {
                             return std::string(info.param.name);
                         });

// The colour pixels of `cursor` (`side` by `side`), top row first.
std::vector<uint32_t> colour_pixels(HCURSOR cursor, int side) {
    std::vector<uint32_t> pixels;
    ICONINFO info = {};
    if (!cursor || !GetIconInfo(cursor, &info))
        return pixels;
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof format.bmiHeader, side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    pixels.resize(static_cast<size_t>(side) * side);
    HDC screen = GetDC(NULL);
    if (!info.hbmColor || GetDIBits(screen, info.hbmColor, 0, side, pixels.data(), &format,
                                    DIB_RGB_COLORS) != side)
        pixels.clear();
    ReleaseDC(NULL, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

struct EdgesCase {
    const char* name;
    const char* settings;
    bool square;  // every 2x2 block of one colour
};

const EdgesCase EDGES_CASES[] = {
    {"SquareBlocks", "[Cursor]\r\nSize=2.0\r\nEdges=square\r\n", true},
    {"SmoothByDefault", "[Cursor]\r\nSize=2.0\r\n", false},
};

void PrintTo(const EdgesCase& c, std::ostream* out) { *out << c.name; }

class EdgesAtStartUp : public ModuleInHost, public testing::WithParamInterface<EdgesCase> {};

TEST_P(EdgesAtStartUp, GiveTheLookOfTheirChoice) {
    const EdgesCase& c = GetParam();
    const int SIDE = 64;  // the 32-pixel default 0 at 2.0
    ASSERT_TRUE(write_file("plugin\\Quillmere.ini", c.settings));
    PluginLoad plugin = start_plugin();
    ASSERT_TRUE(plugin.initialised);
    std::vector<uint32_t> pixels = colour_pixels(ask_for_client_cursor(window), SIDE);
    ASSERT_EQ(static_cast<size_t>(SIDE * SIDE), pixels.size());
    int off_block = 0;
    for (int at = 0; at < SIDE * SIDE; ++at)
        off_block += pixels[at] != pixels[(at / SIDE) / 2 * 2 * SIDE + (at % SIDE) / 2 * 2];
    if (c.square) {
        EXPECT_EQ(0, off_block);
    } else {
        EXPECT_GT(off_block, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, EdgesAtStartUp, testing::ValuesIn(EDGES_CASES),
                         [](const testing::TestParamInfo<EdgesCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
