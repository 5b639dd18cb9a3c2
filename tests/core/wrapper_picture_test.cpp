// The wrappers' rules: the picture a wrapper shows inside an area and the
// scale automatic mode gives there, and cnc-ddraw's settings read as it
// reads them (its program section over [ddraw]).
#include <gtest/gtest.h>

#include <math.h>

#include <string>

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
    // An aspect written in pixels is that ratio (dd.c divides the two).
    {"aspect 1920:1080 on 2560x1080", cnc(FIT_ASPECT, 1920, 1080), 2560, 1080, {320, 0, 2240, 1080}, 2.25f},
    {"aspect 3440:1440 on 3440x1440", cnc(FIT_ASPECT, 3440, 1440), 3440, 1440, {0, 0, 3440, 1440}, 3.0f},
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

// Each row is one rule of the release it names, with the place in that
// release's sources it comes from. Files name the game "game"; here.txt is
// in the game's folder, none.txt is not.
struct SettingsCase {
    const char* what;
    WrapperRelease release;
    std::string file;
    bool boxing, maintas, adjmouse;
    int hook, aspect_x, aspect_y;
    bool aspect_valid;
};

const WrapperRelease NEWEST = 0;
const WrapperRelease V7_1 = wrapper_release(7, 1, 0, 0);
const WrapperRelease V6_7 = wrapper_release(6, 7, 0, 0);
const WrapperRelease V5_9 = wrapper_release(5, 9, 0, 0);
const WrapperRelease V5_8 = wrapper_release(5, 8, 0, 0);
const WrapperRelease V5_7 = wrapper_release(5, 7, 0, 0);
const WrapperRelease V4_4_1 = wrapper_release(4, 4, 1, 0);

// More section names than the 8192 characters cnc-ddraw's reader takes in,
// then the game's section.
std::string many_sections_then_the_game() {
    std::string text = "[ddraw]\r\nmaintas=true\r\n";
    for (int i = 0; i < 600; ++i)
        text += "[another_game_" + std::to_string(1000 + i) + "]\r\nvsync=true\r\n";
    return text + "[game]\r\nboxing=true\r\n";
}

const SettingsCase SETTINGS[] = {
    // cnc-ddraw 7.1.0.0 src/config.c:40, :42, :45, :92 (the defaults)
    {"defaults", NEWEST, "", false, false, true, 4, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/config.c:2021 and :2070
    {"the program's section wins", V7_1, "[ddraw]\r\nboxing=false\r\nhook=3\r\n[game]\r\nboxing=yes\r\n",
     true, false, true, 3, 0, 0, true},
    {"an empty value falls back", V7_1, "[ddraw]\r\nboxing=1\r\n[game]\r\nboxing=\r\n", true, false, true,
     4, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/config.c:2025; src/ini.c:175 (strtol where "0x")
    {"a missing checkfile skips the section", V7_1,
     "[ddraw]\r\nhook=0x2\r\n[game]\r\ncheckfile=none.txt\r\nboxing=true\r\n", false, false, true, 2, 0, 0,
     true},
    {"a checkfile that is there", V7_1, "[game]\r\ncheckfile=here.txt\r\nboxing=true\r\n", true, false,
     true, 4, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/ini.c:70 (names compared lower-cased)
    {"a section name in another case", V7_1, "[GAME]\r\nBoxing=TRUE\r\n", true, false, true, 4, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/config.c:2021 (an empty section exists);
    // 5.9.0.0 src/config.c:1130 (numbered sections looked up per value)
    {"an empty program section is chosen", V7_1,
     "[ddraw]\r\nmaintas=true\r\n[game]\r\n[game/2]\r\ncheckfile=here.txt\r\nboxing=true\r\n", false, true,
     true, 4, 0, 0, true},
    {"5.9 looks past an empty program section", V5_9,
     "[ddraw]\r\nmaintas=true\r\n[game]\r\n[game/2]\r\ncheckfile=here.txt\r\nboxing=true\r\n", true, true,
     true, 4, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/config.c:2043-2049
    {"a numbered section needs its checkfile", V7_1, "[game/2]\r\nboxing=true\r\n", false, false, true, 4,
     0, 0, true},
    {"a numbered section with its checkfile", V7_1, "[game/3]\r\ncheckfile=here.txt\r\nboxing=true\r\n",
     true, false, true, 4, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/config.c:2008 (program/wine under Wine);
    // 5.8.0.0 src/config.c:1085 (the program's section only)
    {"program/wine under Wine", V7_1, "[game]\r\nboxing=true\r\n[game/wine]\r\nmaintas=true\r\n", false,
     true, true, 4, 0, 0, true},
    {"5.8 knows no program/wine", V5_8, "[game]\r\nboxing=true\r\n[game/wine]\r\nmaintas=true\r\n", true,
     false, true, 4, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/ini.c:41 and :134 (the line as written, first
    // key); 5.8.0.0 src/config.c:1085 (GetPrivateProfileStringA drops quotes)
    {"quotes stay part of the value", V7_1, "[ddraw]\r\nboxing=\"true\"\r\nmaintas=true\r\n", false, true,
     true, 4, 0, 0, true},
    {"5.8 drops the quotes", V5_8, "[ddraw]\r\nboxing=\"true\"\r\nmaintas=true\r\n", true, true, true, 4, 0,
     0, true},
    {"the first of two keys", V7_1, "[ddraw]\r\nboxing=true\r\nboxing=false\r\n", true, false, true, 4, 0,
     0, true},
    {"spaces around = and a comment line", V7_1, "[ddraw]\r\n; boxing=true\r\n  maintas = true  \r\n",
     false, true, true, 4, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/config.c:2082 (yes, true, 1 only)
    {"on, a comment after the value", V7_1, "[ddraw]\r\nboxing=on\r\nmaintas=yes ; keep it\r\n", false,
     false, true, 4, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/config.c:2093 (atoi unless "0x")
    {"a sign and text after the number", V7_1, "[ddraw]\r\nhook=-2x\r\n", false, false, true, -2, 0, 0,
     true},
    {"a leading zero is no octal", V7_1, "[ddraw]\r\nhook=010\r\n", false, false, true, 10, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/ini.c:9 and :25 (8192 characters of names)
    {"a section past the names read", V7_1, many_sections_then_the_game(), false, true, true, 4, 0, 0,
     true},
    {"5.8 reads every section", V5_8, many_sections_then_the_game(), true, true, true, 4, 0, 0, true},
    // cnc-ddraw 7.1.0.0 src/config.c:124; src/dd.c:951-954 (strtoul,
    // any one character, used as written)
    {"aspect_ratio sets maintas", V7_1, "[ddraw]\r\naspect_ratio=16:10\r\n", false, true, true, 4, 16, 10,
     true},
    {"an aspect in pixels", V7_1, "[ddraw]\r\naspect_ratio=1920:1080\r\n", false, true, true, 4, 1920, 1080,
     true},
    {"an ultrawide aspect in pixels", V7_1, "[ddraw]\r\naspect_ratio=3440x1440\r\n", false, true, true, 4,
     3440, 1440, true},
    {"an aspect in hexadecimal", V7_1, "[ddraw]\r\naspect_ratio=0x10:9\r\n", false, true, true, 4, 16, 9,
     true},
    {"an aspect ratio past any screen", V7_1, "[ddraw]\r\naspect_ratio=1:99999\r\n", false, true, true, 4,
     0, 0, false},
    {"a broken aspect ratio", V7_1, "[ddraw]\r\naspect_ratio=wide\r\n", false, true, true, 4, 0, 0, false},
    {"an aspect without its height", V7_1, "[ddraw]\r\naspect_ratio=16\r\n", false, true, true, 4, 0, 0,
     false},
    // cnc-ddraw 6.8.0.0 src/config.c:41 (the first to read aspect_ratio)
    {"6.7 knows no aspect_ratio", V6_7, "[ddraw]\r\naspect_ratio=16:9\r\n", false, false, true, 4, 0, 0,
     true},
    // cnc-ddraw 7.1.0.0 src/config.c:121
    {"lock_mouse_top_left turns adjmouse off", V7_1, "[ddraw]\r\nlock_mouse_top_left=TRUE\r\n", false,
     false, false, 4, 0, 0, true},
    // cnc-ddraw 5.7.0.0 src/config.c:30; 5.8.0.0 has no handlemouse
    {"5.7: handlemouse=false scales the pointer", V5_7, "[ddraw]\r\nadjmouse=false\r\nhandlemouse=false\r\n",
     false, false, true, 4, 0, 0, true},
    {"5.8 knows no handlemouse", V5_8, "[ddraw]\r\nadjmouse=false\r\nhandlemouse=false\r\n", false, false,
     false, 4, 0, 0, true},
    // cnc-ddraw 4.4.1.0 src/config.c:43 and :112; src/dd.c:525
    {"4.4.1: handlemouse=false stretches", V4_4_1, "[ddraw]\r\nboxing=true\r\nhandlemouse=false\r\n", false,
     false, true, 4, 0, 0, true},
    {"4.4.1: adjmouse off by default", V4_4_1, "", false, false, false, 4, 0, 0, true},
};

TEST(WrapperPicture, ReadsCncDdrawsSettingsAsEachReleaseDoes) {
    for (const SettingsCase& c : SETTINGS) {
        ScratchFolder folder(false);
        ASSERT_TRUE(write_file("ddraw.ini", c.file));
        ASSERT_TRUE(write_file("here.txt", ""));
        std::string path = folder.path() + "\\ddraw.ini";
        CncDdrawFile file = {path.c_str(), "game", NULL, c.release};
        CncDdrawSettings settings = {};
        read_cnc_ddraw_file(file, &settings);
        EXPECT_EQ(c.boxing, settings.boxing) << c.what;
        EXPECT_EQ(c.maintas, settings.maintas) << c.what;
        EXPECT_EQ(c.adjmouse, settings.adjmouse) << c.what;
        EXPECT_EQ(c.hook, settings.hook) << c.what;
        EXPECT_EQ(c.aspect_x, settings.aspect_x) << c.what;
        EXPECT_EQ(c.aspect_y, settings.aspect_y) << c.what;
        EXPECT_EQ(c.aspect_valid, settings.aspect_valid) << c.what;
    }
}

// The tools read a game folder from elsewhere: a relative checkfile is the
// game's, as the wrapper finds it from the game's own folder.
TEST(WrapperPicture, TakesARelativeCheckfileFromTheGamesFolder) {
    ScratchFolder folder(false);
    ASSERT_TRUE(CreateDirectoryA("game folder", NULL));
    ASSERT_TRUE(write_file("game folder\\ddraw.ini", "[game]\r\ncheckfile=data\\here.txt\r\nboxing=true\r\n"));
    ASSERT_TRUE(CreateDirectoryA("game folder\\data", NULL));
    ASSERT_TRUE(write_file("game folder\\data\\here.txt", ""));
    std::string game_folder = folder.path() + "\\game folder";
    std::string path = game_folder + "\\ddraw.ini";
    CncDdrawSettings settings = {};
    CncDdrawFile from_here = {path.c_str(), "game", NULL, V7_1};
    read_cnc_ddraw_file(from_here, &settings);
    EXPECT_FALSE(settings.boxing);
    CncDdrawFile from_the_game = {path.c_str(), "game", game_folder.c_str(), V7_1};
    read_cnc_ddraw_file(from_the_game, &settings);
    EXPECT_TRUE(settings.boxing);
}

struct ReleaseCase {
    const char* what;
    WrapperRelease release;
    bool draws_cursor;
    int cursor_side;
};

const ReleaseCase DDRAWCOMPAT_RELEASES[] = {
    // DDrawCompat 0.3.2: the system draws the cursor.
    {"0.3.2", wrapper_release(0, 3, 2, 0), false, 0},
    // DDrawCompat 0.4.0 D3dDdi/ShaderBlitter.cpp:210 (cursorBlt at the
    // cursor's own size), D3dDdi/Resource.cpp:1424 (while scaled)
    {"0.4.0", wrapper_release(0, 4, 0, 0), true, 0},
    // DDrawCompat 0.5.0 D3dDdi/SurfaceRepository.cpp:143 (CopyImage 32x32)
    {"0.5.0", wrapper_release(0, 5, 0, 0), true, 32},
    // DDrawCompat 0.7.1 D3dDdi/SurfaceRepository.cpp:164
    {"0.7.1", wrapper_release(0, 7, 1, 0), true, 32},
};

TEST(WrapperPicture, FollowsEachDDrawCompatRelease) {
    for (const ReleaseCase& c : DDRAWCOMPAT_RELEASES) {
        WrapperPicture picture = release_picture(WRAPPER_DDRAWCOMPAT, c.release);
        EXPECT_EQ(c.draws_cursor, picture.draws_cursor) << c.what;
        EXPECT_EQ(c.cursor_side, picture.cursor_side) << c.what;
        // Magnified with the frame: automatic mode loads at the own size.
        if (c.draws_cursor) {
            EXPECT_EQ(1.0f, wrapper_cursor_scale(picture, 2560, 1440, MODE_WIDTH, MODE_HEIGHT)) << c.what;
        }
    }
    EXPECT_EQ(0, release_picture(WRAPPER_CNC_DDRAW, wrapper_release(0, 5, 0, 0)).cursor_side);
}

}  // namespace
