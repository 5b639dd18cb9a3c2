// The settings file read by the real module at start-up, and the cursor size
// each value gives, through the stand-in host's window.
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

}  // namespace
