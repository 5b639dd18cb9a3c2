// The selection rule, read through the host globals at their real addresses
// and observed through what SetCursor really did.
#include <gtest/gtest.h>

#include "cursors/cursor_table.h"
#include "host/runtime/host_state.h"

namespace {

class Selection : public testing::Test {
protected:
    void SetUp() override {
        // Shared system cursors stand in for loaded ones: never destroyed.
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
            base_cursors[slot] = LoadCursorA(NULL, IDC_ARROW);
            animated_cursors[slot] = LoadCursorA(NULL, IDC_WAIT);
        }
        base_cursors[7] = LoadCursorA(NULL, IDC_CROSS);
        animated_cursors[7] = LoadCursorA(NULL, IDC_IBEAM);
        set_host_state_flags(0);
        set_host_cursor_kind(0);
    }
    void TearDown() override {
        for (int slot = 0; slot < CURSOR_SLOT_COUNT; ++slot)
            base_cursors[slot] = animated_cursors[slot] = NULL;
    }
    HCURSOR shown_for(uint8_t kind, uint32_t flags) {
        set_host_cursor_kind(kind);
        set_host_state_flags(flags);
        SetCursor(LoadCursorA(NULL, IDC_HAND));  // something else first
        apply_current_cursor();
        return GetCursor();
    }
};

TEST_F(Selection, OnlyBit0x40ChoosesTheAnimatedTable) {
    EXPECT_EQ(base_cursors[7], shown_for(7, 0));
    EXPECT_EQ(animated_cursors[7], shown_for(7, 0x40));
    EXPECT_EQ(animated_cursors[7], shown_for(7, 0xFFFFFFFF));
    EXPECT_EQ(base_cursors[7], shown_for(7, 0xBF));
    EXPECT_EQ(base_cursors[7], shown_for(7, 0xFFFFFFBF));
}

TEST_F(Selection, KindsAboveTheLoadedSlotsHideTheCursor) {
    EXPECT_EQ(NULL, shown_for(200, 0));
    EXPECT_EQ(NULL, shown_for(255, 0x40));
    EXPECT_EQ(NULL, shown_for(22, 0));
    EXPECT_EQ(base_cursors[21], shown_for(21, 0));
}

TEST_F(Selection, HostValuesAreReadAfreshAtEveryCall) {
    set_host_cursor_kind(7);
    set_host_state_flags(0);
    EXPECT_EQ(base_cursors[7], current_cursor());
    set_host_state_flags(0x40);
    EXPECT_EQ(animated_cursors[7], current_cursor());
    set_host_cursor_kind(3);
    EXPECT_EQ(animated_cursors[3], current_cursor());
    base_cursors[3] = LoadCursorA(NULL, IDC_NO);
    set_host_state_flags(0);
    EXPECT_EQ(base_cursors[3], current_cursor());
}

}  // namespace
