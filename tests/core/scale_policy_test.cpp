// The settings file and the scale policy, on real files and a real window.
#include <gtest/gtest.h>

#include <math.h>

#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "plugin/plugin.h"
#include "scaling/cursor_scaling.h"
#include "settings/edge_setting.h"
#include "settings/scale_policy.h"
#include "support/scratch_folder.h"

namespace {

// The module's own reading of .\plugin\Quillmere.ini holding `text`.
float read_settings(const std::string& text) {
    write_file("plugin\\Quillmere.ini", text);
    return read_size_setting();
}

float read_size_value(const char* value) {
    return read_settings("[Cursor]\r\nSize=" + std::string(value) + "\r\n");
}

TEST(SettingsFile, ValuesGiveTheScaleAndModeOfTheRules) {
    ScratchFolder scratch;
    struct Case {
        const char* value;
        float scale;
        ScaleMode mode;
    };
    const Case cases[] = {
        {"2.0", 2.0f, SCALE_FIXED},        {"1.5", 1.5f, SCALE_FIXED},
        {"1.0", 1.0f, SCALE_NATIVE},       {"0.5", 0.5f, SCALE_NATIVE},
        {"-3", -3.0f, SCALE_NATIVE},       {"abc", 0.0f, SCALE_AUTOMATIC},
        {"-0", 0.0f, SCALE_AUTOMATIC},     {"", 0.0f, SCALE_AUTOMATIC},
        {"2,5", 2.0f, SCALE_FIXED},        {"  1.25", 1.25f, SCALE_FIXED},
        // The C runtime's atof reads no "inf": such text is no number.
        {"inf", 0.0f, SCALE_AUTOMATIC},    {"-inf", 0.0f, SCALE_AUTOMATIC},
        {"1e39", INFINITY, SCALE_FIXED},   {"1e-50", 0.0f, SCALE_AUTOMATIC},
        // Only 15 characters are read: "1.0000000000000" and "000000000000002".
        {"1.00000000000009", 1.0f, SCALE_NATIVE}, {"0000000000000025", 2.0f, SCALE_FIXED},
    };
    for (const Case& c : cases) {
        float scale = read_size_value(c.value);
        EXPECT_EQ(c.scale, scale) << "Size=" << c.value;
        EXPECT_EQ(c.mode, scale_mode(scale)) << "Size=" << c.value;
    }
    // msvcrt's atof does not read "nan"; whatever it gives, it is never a
    // crash and never a fixed scale from nothing.
    float nan_value = read_size_value("nan");
    EXPECT_TRUE(nan_value == 0.0f || std::isnan(nan_value));
}

// Settings files as players write them by hand, in any editor.
TEST(SettingsFile, FilesAsPlayersWriteThemAreRead) {
    ScratchFolder scratch;
    struct Case {
        const char* what;
        const char* text;
        float scale;
    };
    const Case cases[] = {
        {"Unix line ends", "[Cursor]\nSize=1.5\n", 1.5f},
        {"no line end at all", "[Cursor]\r\nSize=1.5", 1.5f},
        {"lower case", "[cursor]\r\nsize=1.5\r\n", 1.5f},
        {"spaces around the sign", "[Cursor]\r\nSize = 1.5\r\n", 1.5f},
        {"a tab before the value", "[Cursor]\r\nSize=\t1.5\r\n", 1.5f},
        {"a note after the value", "[Cursor]\r\nSize=1.5 ; bigger\r\n", 1.5f},
        {"comments and another section first",
         "; my settings\r\n[Other]\r\nSize=3\r\n\r\n[Cursor]\r\nSize=1.5\r\n", 1.5f},
        {"a UTF-8 mark first (Notepad)", "\xEF\xBB\xBF[Cursor]\r\nSize=1.5\r\n", 1.5f},
        {"the value written twice: the first counts", "[Cursor]\r\nSize=1.5\r\nSize=3\r\n", 1.5f},
        {"a word, not a number", "[Cursor]\r\nSize=big\r\n", 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.scale, read_settings(c.text)) << c.what;
}

TEST(SettingsFile, MissingFileSectionOrKeyMeanAutomatic) {
    ScratchFolder scratch;
    EXPECT_EQ(0.0f, read_ini_float("Cursor", "Size", 0.0f, ".\\plugin\\Quillmere.ini"));
    write_file("plugin\\Quillmere.ini", "[Other]\r\nSize=3\r\n[Cursor]\r\nScale=3\r\n");
    EXPECT_EQ(0.0f, read_ini_float("Cursor", "Size", 0.0f, ".\\plugin\\Quillmere.ini"));
    // The default text is "%.1f" of the default, read back.
    EXPECT_EQ(2.5f, read_ini_float("Cursor", "Size", 2.5f, ".\\plugin\\Quillmere.ini"));
    EXPECT_EQ(0.0f, read_size_setting());
}

TEST(AutoScale, IsTheSmallerFactorAgainstTheHostScreen) {
    set_host_screen_size(640, 480);
    EXPECT_EQ(2.0f, compute_auto_scale(1280, 960));
    EXPECT_EQ(1.875f, compute_auto_scale(1600, 900));
    EXPECT_EQ(1.25f, compute_auto_scale(800, 600));
    EXPECT_EQ(0.5f, compute_auto_scale(320, 240));
    set_host_screen_size(0, 480);
    EXPECT_EQ(2.0f, compute_auto_scale(5000, 960));
    set_host_screen_size(640, 0);
    EXPECT_EQ(1.5f, compute_auto_scale(960, 5000));
    set_host_screen_size(0, 0);
    EXPECT_EQ(INFINITY, compute_auto_scale(100, 100));
}

BOOL WINAPI failing_client_rect(HWND, LPRECT) { return FALSE; }

class AutoRescale : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA("plugin\\Cursors", NULL);
        CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
        set_host_screen_size(640, 480);
        window = create_host_window(1280, 960);
        load_cursor_set(0.0f);
        cursor_scale = 0.0f;
    }
    int base_width() {
        int width = 0, height = 0;
        probe_cursor_size(base_cursors[0], &width, &height);
        return width;
    }
    ScratchFolder scratch;
    HWND window = NULL;
};

TEST_F(AutoRescale, ReloadsAtTheClientAreasScaleInAutomaticModeOnly) {
    auto_rescale();
    EXPECT_EQ(64, base_width());
    cursor_scale = 1.5f;
    set_client_size(window, 1600, 900);
    auto_rescale();
    EXPECT_EQ(64, base_width()) << "a fixed scale never rescales";
    cursor_scale = -0.0f;
    auto_rescale();
    EXPECT_EQ(60, base_width());
    cursor_scale = NAN;
    set_client_size(window, 1280, 960);
    auto_rescale();
    EXPECT_EQ(60, base_width()) << "NaN is not automatic";
}

TEST_F(AutoRescale, SkipsWindowsThatCannotBeMeasuredOrHaveNoArea) {
    client_rect_fn = failing_client_rect;
    auto_rescale();
    EXPECT_EQ(32, base_width());
    client_rect_fn = GetClientRect;
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    auto_rescale();
    EXPECT_EQ(32, base_width());
    ShowWindow(window, SW_SHOWNOACTIVATE);
    set_host_screen_size(0, 0);
    auto_rescale();
    EXPECT_EQ(32, base_width()) << "an infinite scale loads the files' own size";
    set_host_screen_size(0, 480);
    auto_rescale();
    EXPECT_EQ(64, base_width());
}

}  // namespace

namespace {

TEST(SettingsFile, TheShippedSampleSelectsAutomaticModeAndItsExamplesRead) {
    ScratchFolder scratch;
    std::string sample = read_file(QUILLMERE_SOURCE_DIR "\\resources\\Quillmere.ini");
    ASSERT_NE(std::string::npos, sample.find("Size=0"));
    ASSERT_TRUE(write_file("plugin\\Quillmere.ini", sample));
    EXPECT_EQ(0.0f, read_size_setting());
    // The sample's fixed example, written in place of its default.
    sample.replace(sample.rfind("Size=0"), 6, "Size=2.0");
    ASSERT_TRUE(write_file("plugin\\Quillmere.ini", sample));
    EXPECT_EQ(2.0f, read_size_setting());
    EXPECT_EQ(EDGES_SMOOTH, read_edges_setting());
    // Its other example, in any case; any other word is the default.
    const struct {
        const char* line;
        EdgeStyle edges;
    } edges[] = {{"Edges=square", EDGES_SQUARE},
                 {"Edges=SQUARE", EDGES_SQUARE},
                 {"Edges=squares", EDGES_SMOOTH},
                 {"Edges=", EDGES_SMOOTH}};
    for (const auto& test : edges) {
        SCOPED_TRACE(test.line);
        std::string edited = sample;
        edited.replace(sample.rfind("Edges=smooth"), 12, test.line);
        ASSERT_TRUE(write_file("plugin\\Quillmere.ini", edited));
        EXPECT_EQ(test.edges, read_edges_setting());
    }
}

}  // namespace
