// Windows' pointer size, set in the registry of a Wine prefix of its own
// (tests/module/pointer_size.sh sets 96 there), followed by the real module
// in the stand-in host in every mode, and a change of it while playing
// followed through a real WM_SETTINGCHANGE.
#include <stdlib.h>

#include "host/runtime/host_window.h"
#include "tests/module/module_fixture.h"

namespace {

const char POINTER_KEY[] = "Control Panel\\Cursors";
const char POINTER_VALUE[] = "CursorBaseSize";
const DWORD PREFIX_POINTER_SIZE = 96;

void store_pointer_size(DWORD size) {
    RegSetKeyValueA(HKEY_CURRENT_USER, POINTER_KEY, POINTER_VALUE, REG_DWORD, &size, sizeof size);
}

class PointerSize : public ModuleInHost {
protected:
    void SetUp() override {
        if (!getenv("QUILLMERE_POINTER_PREFIX"))
            GTEST_SKIP() << "runs in the prefix of tests/module/pointer_size.sh";
        ModuleInHost::SetUp();
    }
    // Whatever a case did, the prefix keeps its pointer size (a skipped
    // case, in another prefix, touches nothing).
    void TearDown() override {
        if (IsSkipped())
            return;
        store_pointer_size(PREFIX_POINTER_SIZE);
        ModuleInHost::TearDown();
    }
    LONG shown_side(const char* size_setting, int width, int height) {
        if (size_setting)
            write_size_setting(size_setting);
        set_client_size(window, width, height);
        EXPECT_TRUE(start_plugin().initialised);
        return shown_cursor_size().cx;
    }
};

TEST_F(PointerSize, AutomaticAtTheGamesOwnSize) { EXPECT_EQ(96, shown_side(NULL, 640, 480)); }

TEST_F(PointerSize, AutomaticInADoubledWindow) { EXPECT_EQ(192, shown_side(NULL, 1280, 960)); }

TEST_F(PointerSize, FixedTwice) { EXPECT_EQ(192, shown_side("2.0", 640, 480)); }

TEST_F(PointerSize, OwnSize) { EXPECT_EQ(96, shown_side("1.0", 1280, 960)); }

TEST_F(PointerSize, AChangeWhilePlayingShowsWithinASecondAndAHalf) {
    ASSERT_EQ(96, shown_side(NULL, 640, 480));
    store_pointer_size(128);
    DWORD changed = GetTickCount();
    SendMessageA(window, WM_SETTINGCHANGE, SPI_SETCURSORS, 0);
    LONG side = 0;
    while (GetTickCount() - changed < 1500 && (side = shown_cursor_size().cx) != 128) {
        // The pointer never goes: a cursor shows all along.
        EXPECT_TRUE(side > 0);
        pump_messages_for(10);
    }
    EXPECT_EQ(128, side) << "after " << GetTickCount() - changed << " ms";
}

}  // namespace
