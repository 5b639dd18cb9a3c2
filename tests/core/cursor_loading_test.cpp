// Loading both cursor tables from real files in a scratch folder, with the
// module's default resources linked into this program.
#include <gtest/gtest.h>

#include <cmath>

#include "cursors/cursor_build.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_resource.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"
#include "host/runtime/host_state.h"
#include "host/runtime/screenshot.h"
#include "support/cursor_builders.h"
#include "support/players_files.h"
#include "support/scratch_folder.h"

namespace {

const char CURSOR_FOLDER[] = "plugin\\Cursors";
const char ANIMATED_FOLDER[] = "plugin\\Cursors\\Animated";

std::string base_file(int slot) { return "plugin\\Cursors\\cursor" + std::to_string(slot) + ".ani"; }
std::string animated_file(int slot) {
    return "plugin\\Cursors\\Animated\\cursor" + std::to_string(slot) + ".ani";
}

std::string resource_bytes(int identifier) {
    HMODULE self = GetModuleHandleA(NULL);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(identifier), RT_RCDATA);
    if (!found)
        return std::string();
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(self, found)));
    return std::string(bytes, SizeofResource(self, found));
}

SIZE size_of(HCURSOR cursor) {
    SIZE size = {-1, -1};
    int width, height;
    if (probe_cursor_size(cursor, &width, &height)) {
        size.cx = width;
        size.cy = height;
    }
    return size;
}

class CursorLoading : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(CURSOR_FOLDER, NULL);
        CreateDirectoryA(ANIMATED_FOLDER, NULL);
        set_host_cursor_kind(0);
        set_host_state_flags(0);
    }
    void expect_slot_size(int slot, int width, int height) {
        SIZE size = size_of(base_cursors[slot]);
        EXPECT_EQ(width, size.cx) << "slot " << slot;
        EXPECT_EQ(height, size.cy) << "slot " << slot;
    }
    ScratchFolder scratch;
};

TEST_F(CursorLoading, FirstRunWritesTheDefaultsAndSharesMissingAnimatedSlots) {
    load_cursor_set(0.0f);
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        EXPECT_EQ(resource_bytes(BASE_DEFAULT_FIRST_ID + slot), read_file(base_file(slot))) << slot;
        ASSERT_TRUE(base_cursors[slot] != NULL) << slot;
        if (slot == 5) {
            EXPECT_NE(base_cursors[slot], animated_cursors[slot]);
            EXPECT_TRUE(animated_cursors[slot] != NULL);
        } else {
            EXPECT_EQ(base_cursors[slot], animated_cursors[slot]) << slot;
            EXPECT_FALSE(file_exists(animated_file(slot))) << slot;
        }
    }
    EXPECT_EQ(resource_bytes(2005), read_file(animated_file(5)));
    EXPECT_EQ(8656u, read_file(animated_file(5)).size());
    for (int slot = LOADED_SLOT_COUNT; slot < CURSOR_SLOT_COUNT; ++slot)
        EXPECT_TRUE(base_cursors[slot] == NULL && animated_cursors[slot] == NULL) << slot;
    expect_slot_size(0, 32, 32);
    expect_slot_size(10, 35, 35);
    // The end of a load shows the current cursor.
    EXPECT_EQ(base_cursors[0], GetCursor());
}

TEST_F(CursorLoading, ExtractingWritesNothingWithoutAResourceOrAFolder) {
    extract_default_cursor(GetModuleHandleA(NULL), 2003, "plugin\\Cursors\\Animated\\cursor3.ani");
    EXPECT_FALSE(file_exists("plugin\\Cursors\\Animated\\cursor3.ani"));
    extract_default_cursor(GetModuleHandleA(NULL), 2005, "plugin\\NoSuchFolder\\cursor5.ani");
    EXPECT_FALSE(file_exists("plugin\\NoSuchFolder\\cursor5.ani"));
    extract_default_cursor(GetModuleHandleA(NULL), 1003, "plugin\\Cursors\\cursor3.ani");
    EXPECT_EQ(resource_bytes(1003), read_file("plugin\\Cursors\\cursor3.ani"));
}

TEST_F(CursorLoading, ADeletedDefaultIsWrittenAgainAtTheNextLoad) {
    load_cursor_set(0.0f);
    ASSERT_TRUE(DeleteFileA(base_file(3).c_str()));
    load_cursor_set(0.0f);
    EXPECT_EQ(resource_bytes(1003), read_file(base_file(3)));
    EXPECT_TRUE(base_cursors[3] != NULL);
}

TEST_F(CursorLoading, DefaultsScaleToTheRequestedSize) {
    load_cursor_set(2.0f);
    expect_slot_size(0, 64, 64);
    expect_slot_size(13, 64, 64);  // size only in its frames
    expect_slot_size(10, 70, 70);
    EXPECT_EQ(64, size_of(animated_cursors[5]).cx);
    load_cursor_set(1.5f);
    expect_slot_size(0, 48, 48);
    expect_slot_size(12, 52, 52);  // 52.5 truncated
    EXPECT_EQ(48, size_of(animated_cursors[5]).cy);
    // Below 1 counts as 1; 0 is native size.
    load_cursor_set(0.5f);
    expect_slot_size(0, 32, 32);
    expect_slot_size(10, 35, 35);
}

TEST_F(CursorLoading, ScaledLoadingLeavesThePlayersFileUntouched) {
    load_cursor_set(0.0f);
    std::string before = read_file(base_file(0));
    load_cursor_set(2.0f);
    EXPECT_EQ(before, read_file(base_file(0)));
}

TEST_F(CursorLoading, UserFilesScaleFromTheirOwnSize) {
    ASSERT_TRUE(write_file(base_file(2), make_ani(48, 48)));
    ASSERT_TRUE(write_file(base_file(4), make_cur(48, 48, 1, 1)));
    ASSERT_TRUE(write_file(base_file(6), make_ani(40, 40, 3, false)));
    load_cursor_set(2.0f);
    expect_slot_size(2, 96, 96);
    expect_slot_size(4, 96, 96);
    expect_slot_size(6, 80, 80);
}

TEST_F(CursorLoading, LargeFilesLoadAndScaleFromAPrivateMapping) {
    // Two 100 by 100 frames make a file of over 64 KiB, past the read buffer.
    std::string large = make_ani(100, 100, 2);
    ASSERT_GT(large.size(), 64u * 1024);
    ASSERT_TRUE(write_file(base_file(2), large));
    load_cursor_set(0.0f);
    expect_slot_size(2, 100, 100);
    load_cursor_set(2.0f);
    expect_slot_size(2, 200, 200);
    EXPECT_EQ(large, read_file(base_file(2))) << "the player's file is never changed";
}

TEST_F(CursorLoading, AMonochromeCursorMeasuresItsImageHeight) {
    ASSERT_TRUE(write_file(base_file(1), make_cur(32, 32, 0, 0, 1)));
    load_cursor_set(0.0f);
    expect_slot_size(1, 32, 32);
    load_cursor_set(2.0f);
    expect_slot_size(1, 64, 64);
}

TEST_F(CursorLoading, AnAnimatedFileAddedLaterReplacesTheSharedHandleWithoutDestroyingIt) {
    load_cursor_set(0.0f);
    HCURSOR shared = base_cursors[7];
    ASSERT_EQ(shared, animated_cursors[7]);
    ASSERT_TRUE(write_file(animated_file(7), make_ani(32, 32)));
    ASSERT_TRUE(write_file(base_file(7), "not a cursor"));
    load_cursor_set(0.0f);
    EXPECT_EQ(shared, base_cursors[7]);
    EXPECT_NE(shared, animated_cursors[7]);
    EXPECT_TRUE(animated_cursors[7] != NULL);
    EXPECT_EQ(32, size_of(shared).cx) << "the shared handle must still be alive";
}

TEST_F(CursorLoading, AnAnimatedSlotKeepsItsOwnHandleAfterItsFileIsGone) {
    ASSERT_TRUE(write_file(animated_file(8), make_ani(40, 40)));
    load_cursor_set(0.0f);
    HCURSOR own = animated_cursors[8];
    ASSERT_NE(base_cursors[8], own);
    ASSERT_TRUE(DeleteFileA(animated_file(8).c_str()));
    load_cursor_set(2.0f);
    EXPECT_EQ(own, animated_cursors[8]);
    EXPECT_EQ(40, size_of(own).cx);
}

TEST_F(CursorLoading, BadFilesAffectOnlyTheirOwnSlot) {
    std::string truncated = make_ani(32, 32).substr(0, 100);
    std::string huge = make_ani(32, 32);
    set32(huge, 12 + 8 + 12, 65535);  // anih width
    set32(huge, 12 + 8 + 16, 65535);  // anih height
    ASSERT_TRUE(write_file(base_file(1), ""));
    ASSERT_TRUE(write_file(base_file(2), truncated));
    ASSERT_TRUE(write_file(base_file(3), std::string(5000, '\x5a')));
    ASSERT_TRUE(CreateDirectoryA(base_file(4).c_str(), NULL));
    ASSERT_TRUE(write_file(base_file(6), huge));
    load_cursor_set(2.0f);
    // Failing on the first load, each shows its built-in cursor from memory.
    for (int slot : {1, 2, 3, 4}) {
        expect_slot_size(slot, 64, 64);
        EXPECT_EQ(base_cursors[slot], animated_cursors[slot]) << slot;
    }
    EXPECT_TRUE(folder_exists(base_file(4)));
    EXPECT_EQ("", read_file(base_file(1))) << "a player's file is never overwritten";
    for (int slot : {0, 5, 7, 21})
        expect_slot_size(slot, 64, 64);
    HCURSOR kept = base_cursors[2];
    load_cursor_set(1.5f);
    EXPECT_EQ(kept, base_cursors[2]) << "a later load keeps the slot's cursor";
}

TEST_F(CursorLoading, RequestedSidesTruncateAndRejectAbsurdProducts) {
    EXPECT_EQ(52, requested_side(35, 1.5f));
    EXPECT_EQ(65, requested_side(35, 1.875f));
    EXPECT_EQ(0, requested_side(32, 0.0f));
    EXPECT_EQ(0, requested_side(32, INFINITY));
    EXPECT_EQ(0, requested_side(32, NAN));
    EXPECT_EQ(0, requested_side(32, 1e30f));
    EXPECT_EQ(0, requested_side(32, 1e9f));  // beyond a positive 32-bit int
    EXPECT_EQ(1.0f, effective_scale(0.5f));
    EXPECT_EQ(1.0f, effective_scale(-3.0f));
    EXPECT_EQ(0.0f, effective_scale(-0.0f));
    EXPECT_TRUE(std::signbit(effective_scale(-0.0f)));
    EXPECT_TRUE(std::isnan(effective_scale(NAN)));
    EXPECT_EQ(INFINITY, effective_scale(INFINITY));
}

// No side is built above 256, for every cursor alike, and a file over the
// pixel limit at the size asked is built at the largest size that fits, its
// shape kept.
TEST_F(CursorLoading, EachFileIsBuiltAtTheLargestSizeThatFits) {
    AniLayout claims;
    claims.frames.assign(1024, icon_file(2, {{255, 255, dib_image(1, 1, 32), 0, 0}}));
    ASSERT_TRUE(write_file(base_file(1), ani_file(claims)));
    ASSERT_TRUE(write_file(base_file(2), make_cur(48, 32, 0, 0)));
    const struct {
        float scale;
        int slot, width, height;
    } loads[] = {
        {31.0f, 0, 256, 256}, {31.0f, 10, 256, 256},  // 992 and 1,085 asked
        {31.0f, 2, 256, 170},                         // 1,488 by 992 asked
        {31.0f, 1, 64, 64},  // 1,024 frames of 64 x 64 pixels fit the limit, no more
        {0.0f, 1, 64, 64},   {2.0f, 2, 96, 64},
    };
    for (const auto& at : loads) {
        load_cursor_set(at.scale);
        expect_slot_size(at.slot, at.width, at.height);
    }
    EXPECT_EQ(1024, cursor_steps(base_cursors[1]));
}

// One load holds at most 1,100 frames (USER objects on Windows), the old
// set's beside it: a file that would pass that fails to load, and its slot
// shows the built-in default, as for any file failing on the first load.
TEST_F(CursorLoading, ALoadStopsBuildingFramesAtItsObjectBudget) {
    AniLayout many;
    many.frames.assign(1024, cursor_file(8, 8));
    ASSERT_TRUE(write_file(base_file(1), ani_file(many)));
    ASSERT_TRUE(write_file(base_file(2), ani_file(many)));
    load_cursor_set(0.0f);
    EXPECT_EQ(1024, cursor_steps(base_cursors[1]));
    ASSERT_TRUE(base_cursors[2] != NULL);
    EXPECT_GT(1024, cursor_steps(base_cursors[2]));
    expect_slot_size(3, 32, 32);
}

// The largest region of address space a crowded 32-bit process has left.
SIZE_T room;
LPVOID WINAPI reserve_in_crowded_space(LPVOID address, SIZE_T bytes, DWORD type, DWORD protect) {
    return bytes <= room ? VirtualAlloc(address, bytes, type, protect) : NULL;
}

// Where the address space has no room for the whole pixel memory, the module
// works in the largest of halving sizes it has room for, down to what the
// defaults need at the largest side: they always show, there at 256 (a
// player's file that needs more is not built). Below that nothing is built.
TEST_F(CursorLoading, TheDefaultsShowWhereThePixelMemoryHasLittleRoom) {
    std::string large = make_ani(32, 32, 40);  // 40 frames of 256 by 256: 11 MB
    ASSERT_TRUE(write_file("large.ani", large));
    const struct {
        SIZE_T room;
        uint32_t reserved;
        bool built;  // the defaults at 8 times their size (256), else the set before
        CursorOutcome large_file;
    } spaces[] = {
        {ARENA_SIZE, ARENA_SIZE, true, CURSOR_BUILT},
        {ARENA_SIZE - 1, ARENA_SIZE / 2, true, CURSOR_BUILT},
        {10u << 20, DEFAULTS_ARENA_SIZE, true, CURSOR_NOT_PLANNED},
        {DEFAULTS_ARENA_SIZE - 1, 0, false, CURSOR_NOT_PLANNED},
    };
    reserve_region_fn = reserve_in_crowded_space;
    for (const auto& space : spaces) {
        SCOPED_TRACE(space.room);
        room = ARENA_SIZE;
        load_cursor_set(1.0f);
        free_pixel_memory();
        room = space.room;
        EXPECT_EQ(space.reserved, pixel_memory_size());
        load_cursor_set(8.0f);
        expect_slot_size(0, space.built ? 256 : 32, space.built ? 256 : 32);
        expect_slot_size(10, space.built ? 256 : 35, space.built ? 256 : 35);
        EXPECT_EQ(space.built ? 256 : 32, size_of(animated_cursors[5]).cx);
        CursorLoad load;
        DestroyCursor(load_cursor_file("large.ani", 8.0f, &load));
        EXPECT_EQ(space.large_file, load.outcome);
    }
    reserve_region_fn = VirtualAlloc;
    free_pixel_memory();
}

TEST_F(CursorLoading, InfiniteScaleLoadsTheFilesOwnSize) {
    load_cursor_set(INFINITY);
    expect_slot_size(0, 32, 32);
    expect_slot_size(10, 35, 35);
}

}  // namespace
