// The settings file and the scale policy, on real files and a real window.
#include <gtest/gtest.h>

#include <math.h>

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "base/module_state.h"
#include "plugin/plugin.h"
#include "scaling/cursor_scaling.h"
#include "settings/scale_policy.h"
#include "tests/support/scratch_folder.h"

namespace {

float read_size_value(const char* value) {
    std::string text = "[Cursor]\r\nSize=" + std::string(value) + "\r\n";
    write_file("plugin\\Quillmere.ini", text);
    return read_ini_float("Cursor", "Size", 0.0f, ".\\plugin\\Quillmere.ini");
}

enum Mode { AUTOMATIC, FIXED, NATIVE };

Mode mode_of(float scale) {
    if (scale == 0.0f)
        return AUTOMATIC;
    return scale > 1.0f ? FIXED : NATIVE;
}

TEST(SettingsFile, ValuesGiveTheScaleAndModeOfTheRules) {
    ScratchFolder scratch;
    struct Case {
        const char* value;
        float scale;
        Mode mode;
    };
    const Case cases[] = {
        {"2.0", 2.0f, FIXED},        {"1.5", 1.5f, FIXED},     {"1.0", 1.0f, NATIVE},
        {"0.5", 0.5f, NATIVE},       {"-3", -3.0f, NATIVE},    {"abc", 0.0f, AUTOMATIC},
        {"-0", 0.0f, AUTOMATIC},     {"", 0.0f, AUTOMATIC},    {"2,5", 2.0f, FIXED},
        {"  1.25", 1.25f, FIXED},
        // The C runtime's atof reads no "inf": such text is no number.
        {"inf", 0.0f, AUTOMATIC},    {"-inf", 0.0f, AUTOMATIC},
        {"1e39", INFINITY, FIXED},   {"1e-50", 0.0f, AUTOMATIC},
        // Only 15 characters are read: "1.0000000000000" and "000000000000002".
        {"1.00000000000009", 1.0f, NATIVE}, {"0000000000000025", 2.0f, FIXED},
    };
    for (const Case& c : cases) {
        float scale = read_size_value(c.value);
        EXPECT_EQ(c.scale, scale) << "Size=" << c.value;
        EXPECT_EQ(c.mode, mode_of(scale)) << "Size=" << c.value;
    }
    // msvcrt's atof does not read "nan"; whatever it gives, it is never a
    // crash and never a fixed scale from nothing.
    float nan_value = read_size_value("nan");
    EXPECT_TRUE(nan_value == 0.0f || std::isnan(nan_value));
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
    ShowWindow(window, SW_MINIMIZE);
    auto_rescale();
    EXPECT_EQ(32, base_width());
    ShowWindow(window, SW_RESTORE);
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
}

}  // namespace
