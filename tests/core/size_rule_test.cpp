// The one rule for the cursors' size, as a table of what is known and what
// it gives; and the module's asks of the system (pointer size, cursors shown
// as built, the screen's own pixels) answered as Windows 11 answers them.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include "base/system_functions.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "scaling/cursor_scaling.h"
#include "scaling/size_rule.h"
#include "support/scratch_folder.h"

namespace {

WrapperPicture no_wrapper() {
    WrapperPicture picture = {};
    picture.known = true;
    return picture;
}

WrapperPicture cnc_aspect() {
    WrapperPicture picture = no_wrapper();
    picture.kind = WRAPPER_CNC_DDRAW;
    picture.fit = FIT_ASPECT;
    return picture;
}

WrapperPicture compat(bool draws_cursor, int cursor_side) {
    WrapperPicture picture = no_wrapper();
    picture.kind = WRAPPER_DDRAWCOMPAT;
    picture.draws_cursor = draws_cursor;
    picture.cursor_side = cursor_side;
    return picture;
}

struct RuleCase {
    const char* what;
    float setting;
    int width, height;              // the window as the game sees it
    int shown_width, shown_height;  // on screen
    WrapperPicture wrapper;
    int pointer;
    int side;             // a 32 px cursor's, as built
    const char* reason;   // one step the reasons must give
};

const RuleCase RULES[] = {
    {"automatic, the game's own size", 0.0f, 640, 480, 640, 480, no_wrapper(), 0, 32,
     "1 times the game's 640x480"},
    {"automatic, pointer 96", 0.0f, 640, 480, 640, 480, no_wrapper(), 96, 96,
     "your pointer size 96 px: 3 times that"},
    {"automatic, 1280x960, pointer 96", 0.0f, 1280, 960, 1280, 960, no_wrapper(), 96, 192,
     "2 times the game's 640x480"},
    {"fixed 2.0, pointer 96", 2.0f, 640, 480, 640, 480, no_wrapper(), 96, 192,
     "Size=2: 2 times each cursor's own size"},
    {"own size, pointer 96", 1.0f, 1280, 960, 1280, 960, no_wrapper(), 96, 96,
     "Size=1: each cursor at its own size"},
    {"own size", 1.0f, 1280, 960, 1280, 960, no_wrapper(), 0, 32, "a 32 px cursor at 32 px"},
    {"below 1 is own size", 0.5f, 1280, 960, 1280, 960, no_wrapper(), 0, 32, "Size=0.5: each"},
    {"a small window is never below own size", 0.0f, 320, 240, 320, 240, no_wrapper(), 0, 32,
     "never below a cursor's own size"},
    {"at most 256", 0.0f, 1920, 1440, 1920, 1440, no_wrapper(), 256, 256, "at most 256"},
    {"a pointer size below 32 counts as 32", 0.0f, 640, 480, 640, 480, no_wrapper(), 20, 32,
     "1 times"},
    {"a pointer size past 256 counts as 256", 1.0f, 640, 480, 640, 480, no_wrapper(), 1000, 256,
     "your pointer size 256 px: 8 times"},
    {"a window not measured: own size", 0.0f, 0, 0, 0, 0, no_wrapper(), 96, 96,
     "can't be measured now"},
    {"cnc-ddraw keeping the aspect on 1920x1080", 0.0f, 1920, 1080, 1920, 1080, cnc_aspect(), 0,
     72, "cnc-ddraw keeps the aspect: picture 1440x1080, 2.25 times"},
    {"cnc-ddraw, pointer 96", 0.0f, 1920, 1080, 1920, 1080, cnc_aspect(), 96, 216,
     "a 32 px cursor at 216 px, at most 256"},
    {"a wrapper magnifying the cursor with the frame", 0.0f, 2560, 1440, 2560, 1440,
     compat(true, 0), 0, 32, "draws the cursor into the game's picture"},
    {"a wrapper redrawing every cursor at 32 px", 2.0f, 2560, 1440, 2560, 1440, compat(true, 32),
     96, 32, "Size and the pointer size have no effect there"},
    {"150 % display scaling, cursors shown as built", 0.0f, 640, 480, 960, 720, no_wrapper(), 0,
     48, "640x480, 960x720 on screen (display scaling)"},
};

TEST(SizeRule, UnderGamescopeNoCursorIsBuiltBelowWhatItRedrawsThemAt) {
    SizeFacts facts = {};
    facts.setting = 1.0f;
    facts.gamescope = true;
    CursorSize size = decide_cursor_size(facts);
    EXPECT_EQ(36, built_side(size, STANDARD_POINTER_SIZE)) << size.reasons;
    EXPECT_NE(nullptr, strstr(size.reasons, "gamescope")) << size.reasons;
    facts.setting = 2.0f;
    EXPECT_EQ(64, built_side(decide_cursor_size(facts), STANDARD_POINTER_SIZE));
}

TEST(SizeRule, GivesTheSideAndItsReasons) {
    for (const RuleCase& c : RULES) {
        SizeFacts facts = {};
        facts.setting = c.setting;
        facts.window_width = c.width;
        facts.window_height = c.height;
        facts.shown_width = c.shown_width;
        facts.shown_height = c.shown_height;
        facts.screen_width = 640;
        facts.screen_height = 480;
        facts.wrapper = c.wrapper;
        facts.pointer_size = c.pointer;
        CursorSize size = decide_cursor_size(facts);
        EXPECT_EQ(c.side, built_side(size, STANDARD_POINTER_SIZE)) << c.what << ": " << size.reasons;
        EXPECT_NE(nullptr, strstr(size.reasons, c.reason)) << c.what << ": " << size.reasons;
    }
}

TEST(SizeRule, OwnSizeStaysOwnSizeAndOtherSidesScale) {
    SizeFacts facts = {};
    facts.setting = 1.0f;
    EXPECT_EQ(0.0f, decide_cursor_size(facts).scale) << "files in several sizes keep theirs";
    facts.pointer_size = 64;
    CursorSize size = decide_cursor_size(facts);
    EXPECT_EQ(2.0f, size.scale);
    EXPECT_EQ(96, built_side(size, 48));
    EXPECT_EQ(256, built_side(size, 200)) << "never above 256";
    facts.wrapper.cursor_side = 32;
    EXPECT_EQ(32, built_side(decide_cursor_size(facts), 48)) << "the wrapper's side for any file";
}

// Answers as Windows 11 gives them, counted.
UINT creation_scaling = 2;  // CURSOR_CREATION_SCALING_DEFAULT
int creation_scaling_calls;
UINT WINAPI fake_creation_scaling(UINT dpi) {
    ++creation_scaling_calls;
    UINT previous = creation_scaling;
    creation_scaling = dpi;
    return previous;
}
int display_percent = 150;
BOOL WINAPI fake_logical_to_physical(HWND, POINT* point) {
    point->x = point->x * display_percent / 100;
    point->y = point->y * display_percent / 100;
    return TRUE;
}
DWORD stored_pointer_size;
LONG WINAPI fake_registry(HKEY, const char* key, const char* value, DWORD, DWORD*, void* data,
                          DWORD* size) {
    if (!stored_pointer_size || strcmp(key, "Control Panel\\Cursors") != 0 ||
        strcmp(value, "CursorBaseSize") != 0)
        return ERROR_FILE_NOT_FOUND;
    *static_cast<DWORD*>(data) = stored_pointer_size;
    *size = sizeof(DWORD);
    return ERROR_SUCCESS;
}

class SizeSystem : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA("plugin\\Cursors", NULL);
        CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
        set_host_screen_size(640, 480);
        window = create_host_window(640, 480);
        saved = size_functions;
        size_functions = {fake_creation_scaling, fake_logical_to_physical, ClientToScreen,
                          fake_registry};
        display_percent = 150;
        stored_pointer_size = 0;
        cursor_scale = 0.0f;
        load_cursors_at_start();
    }
    void TearDown() override {
        size_functions = saved;
        pointer_size = 0;
    }
    int arrow_side() {
        int width = 0, height = 0;
        probe_cursor_size(base_cursors[0], &width, &height);
        return width;
    }
    ScratchFolder scratch;
    HWND window = NULL;
    SizeFunctions saved = {};
};

TEST_F(SizeSystem, CursorsAreBuiltForTheScreensPixelsAndShownAsBuilt) {
    EXPECT_EQ(48, arrow_side()) << "640x480 at 150 % is 960x720 on screen";
    EXPECT_GE(creation_scaling_calls, 2);
    EXPECT_EQ(2u, creation_scaling) << "the thread's own setting is given back";
    // Moved to a monitor at 200 %: a move alone, the game's size unchanged.
    EXPECT_FALSE(screen_pixels_changed());
    display_percent = 200;
    EXPECT_TRUE(screen_pixels_changed());
    auto_rescale();
    EXPECT_EQ(64, arrow_side());
    // Where cursors are not shown as built, the system scales them with the
    // window: they are built for the window as the game sees it.
    size_functions.set_cursor_creation_scaling = NULL;
    EXPECT_FALSE(screen_pixels_changed());
    auto_rescale();
    EXPECT_EQ(32, arrow_side());
}

TEST_F(SizeSystem, ThePointerSizeMultipliesEveryModeWhenItChanges) {
    size_functions.logical_to_physical = NULL;
    auto_rescale();
    EXPECT_EQ(32, arrow_side());
    stored_pointer_size = 96;
    EXPECT_TRUE(pointer_size_changed());
    auto_rescale();
    EXPECT_EQ(96, arrow_side());
    EXPECT_FALSE(pointer_size_changed());
    cursor_scale = 2.0f;  // a fixed size reloads only for a new pointer size
    auto_rescale();
    EXPECT_EQ(96, arrow_side());
    stored_pointer_size = 128;
    EXPECT_TRUE(pointer_size_changed());
    EXPECT_TRUE(window_scale_changed());
    auto_rescale();
    EXPECT_EQ(256, arrow_side()) << "2 times 4 times 32, at most 256";
    stored_pointer_size = 0;  // the value removed: the standard size
    EXPECT_TRUE(pointer_size_changed());
    auto_rescale();
    EXPECT_EQ(64, arrow_side());
}

}  // namespace
