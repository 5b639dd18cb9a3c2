// The wrappers' rules: the picture a wrapper shows inside an area and the
// scale automatic mode gives there, and cnc-ddraw's settings read as it
// reads them (its program section over [ddraw]).
#include <gtest/gtest.h>

#include <math.h>

#include "support/scratch_folder.h"
#include "wrappers/wrappers.h"

namespace {

const int MODE_WIDTH = 640, MODE_HEIGHT = 480;

WrapperPicture cnc(PictureFit fit, int aspect_x = 0, int aspect_y = 0) {
    WrapperPicture picture = {};
    picture.kind = WRAPPER_CNC_DDRAW;
    picture.fit = fit;
    picture.aspect_x = aspect_x;
    picture.aspect_y = aspect_y;
    picture.known = true;
    return picture;
}

struct PictureCase {
    const char* what;
    WrapperPicture picture;
    int width, height;
    RECT expected;
    float scale;  // automatic mode's
};

const PictureCase PICTURES[] = {
    {"whole numbers on 1920x1080", cnc(FIT_WHOLE_NUMBER), 1920, 1080, {320, 60, 1600, 1020}, 2.0f},
    {"whole numbers on 1366x768", cnc(FIT_WHOLE_NUMBER), 1366, 768, {363, 144, 1003, 624}, 1.0f},
    {"whole numbers in 1600x1000", cnc(FIT_WHOLE_NUMBER), 1600, 1000, {160, 20, 1440, 980}, 2.0f},
    {"whole numbers on 2560x1440", cnc(FIT_WHOLE_NUMBER), 2560, 1440, {320, 0, 2240, 1440}, 3.0f},
    // A window smaller than the game's mode shows it unmagnified.
    {"whole numbers in 500x300", cnc(FIT_WHOLE_NUMBER), 500, 300, {0, 0, 640, 480}, 1.0f},
    {"aspect ratio on 1920x1080", cnc(FIT_ASPECT), 1920, 1080, {240, 0, 1680, 1080}, 2.25f},
    {"aspect ratio in 1280x1200", cnc(FIT_ASPECT), 1280, 1200, {0, 120, 1280, 1080}, 2.0f},
    {"aspect 16:9 on 1920x1200", cnc(FIT_ASPECT, 16, 9), 1920, 1200, {0, 60, 1920, 1140}, 2.25f},
    {"stretched on 2560x1440", cnc(FIT_STRETCH), 2560, 1440, {0, 0, 2560, 1440}, 3.0f},
};

TEST(WrapperPicture, FollowsTheWrappersViewportRules) {
    for (const PictureCase& c : PICTURES) {
        RECT rect = {};
        ASSERT_TRUE(picture_rect(c.picture, c.width, c.height, MODE_WIDTH, MODE_HEIGHT, &rect)) << c.what;
        EXPECT_EQ(c.expected.left, rect.left) << c.what;
        EXPECT_EQ(c.expected.top, rect.top) << c.what;
        EXPECT_EQ(c.expected.right, rect.right) << c.what;
        EXPECT_EQ(c.expected.bottom, rect.bottom) << c.what;
        EXPECT_EQ(c.scale, wrapper_cursor_scale(c.picture, c.width, c.height, MODE_WIDTH, MODE_HEIGHT))
            << c.what;
    }
}

TEST(WrapperPicture, OtherWrappersAndUnknownSettingsKeepTheWindowsScale) {
    WrapperPicture none = {};
    none.kind = WRAPPER_NONE;
    none.known = true;
    EXPECT_EQ(3.0f, wrapper_cursor_scale(none, 2560, 1440, MODE_WIDTH, MODE_HEIGHT));
    WrapperPicture odd = cnc(FIT_ASPECT);
    odd.known = false;  // an aspect ratio of 0:9
    EXPECT_EQ(2.25f, wrapper_cursor_scale(odd, 1920, 1080, MODE_WIDTH, MODE_HEIGHT));
    WrapperPicture compat = none;
    compat.kind = WRAPPER_DDRAWCOMPAT;
    compat.draws_cursor = true;  // the cursor is magnified with the frame
    EXPECT_EQ(1.0f, wrapper_cursor_scale(compat, 2560, 1440, MODE_WIDTH, MODE_HEIGHT));
    // A side past any screen is not worked out: the window decides.
    EXPECT_EQ(2.0f, wrapper_cursor_scale(cnc(FIT_WHOLE_NUMBER), 100000, 960, MODE_WIDTH, MODE_HEIGHT));
    // A host screen of 0 keeps the window's rule: an infinite factor.
    EXPECT_EQ(INFINITY, wrapper_cursor_scale(cnc(FIT_WHOLE_NUMBER), 100, 100, 0, 0));
}

struct SettingsCase {
    const char* what;
    const char* file;
    bool boxing, maintas, adjmouse;
    int hook, aspect_x;
    bool aspect_valid;
};

const SettingsCase SETTINGS[] = {
    {"defaults", "", false, false, true, 4, 0, true},
    {"the program's section wins", "[ddraw]\r\nboxing=false\r\nhook=3\r\n[game]\r\nboxing=yes\r\n",
     true, false, true, 3, 0, true},
    {"an empty value falls back", "[ddraw]\r\nboxing=1\r\n[game]\r\nboxing=\r\n", true, false, true, 4, 0, true},
    {"a missing checkfile skips the section",
     "[ddraw]\r\nhook=0x2\r\n[game]\r\ncheckfile=none.txt\r\nboxing=true\r\n", false, false, true, 2, 0, true},
    {"aspect_ratio sets maintas", "[ddraw]\r\naspect_ratio=16:10\r\n", false, true, true, 4, 16, true},
    {"a broken aspect ratio", "[ddraw]\r\naspect_ratio=wide\r\n", false, true, true, 4, 0, false},
    {"an aspect ratio past any screen", "[ddraw]\r\naspect_ratio=1:99999\r\n", false, true, true, 4, 0,
     false},
    {"lock_mouse_top_left turns adjmouse off", "[ddraw]\r\nlock_mouse_top_left=TRUE\r\n", false, false,
     false, 4, 0, true},
};

TEST(WrapperPicture, ReadsCncDdrawsSettingsAsItDoes) {
    for (const SettingsCase& c : SETTINGS) {
        ScratchFolder folder(false);
        ASSERT_TRUE(write_file("ddraw.ini", c.file));
        CncDdrawSettings settings = {};
        read_cnc_ddraw_settings((folder.path() + "\\ddraw.ini").c_str(), "game", &settings);
        EXPECT_EQ(c.boxing, settings.boxing) << c.what;
        EXPECT_EQ(c.maintas, settings.maintas) << c.what;
        EXPECT_EQ(c.adjmouse, settings.adjmouse) << c.what;
        EXPECT_EQ(c.hook, settings.hook) << c.what;
        EXPECT_EQ(c.aspect_x, settings.aspect_x) << c.what;
        EXPECT_EQ(c.aspect_valid, settings.aspect_valid) << c.what;
    }
}

}  // namespace
