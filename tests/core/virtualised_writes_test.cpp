// Where Windows would redirect the module's writes into the player's
// VirtualStore (an old game in Program Files), the module writes no default
// cursor, and the defaults show all the same, from its own copy.
#include <gtest/gtest.h>

#include "base/file_virtualisation.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "host/runtime/host_state.h"
#include "support/scratch_folder.h"

namespace {

const char ANIMATED_WITH_DEFAULT[] = "plugin\\Cursors\\Animated\\cursor5.ani";

int files_in(const char* pattern) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        count += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

class VirtualisedWrites : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA("plugin\\Cursors", NULL);
        CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
        set_host_cursor_kind(0);
        set_host_state_flags(0);
    }
    void TearDown() override { answer_file_writes_virtualised(VIRTUALISATION_ASK); }
    ScratchFolder scratch;
};

TEST_F(VirtualisedWrites, NoDefaultIsWrittenAndEveryDefaultStillShows) {
    answer_file_writes_virtualised(VIRTUALISATION_ON);
    for (float scale : {0.0f, 2.0f}) {
        load_cursor_set(scale);
        EXPECT_EQ(0, files_in("plugin\\Cursors\\*")) << scale;
        EXPECT_EQ(0, files_in("plugin\\Cursors\\Animated\\*")) << scale;
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
            ASSERT_TRUE(base_cursors[slot] != NULL) << slot;
        EXPECT_TRUE(animated_cursors[5] != NULL && animated_cursors[5] != base_cursors[5]);
        int width = 0, height = 0;
        probe_cursor_size(base_cursors[0], &width, &height);
        EXPECT_EQ(scale == 0.0f ? 32 : 64, width);
    }
    // The same folders where writes are not redirected: the defaults go in.
    answer_file_writes_virtualised(VIRTUALISATION_OFF);
    load_cursor_set(0.0f);
    EXPECT_EQ(22, files_in("plugin\\Cursors\\*"));
    EXPECT_TRUE(file_exists(ANIMATED_WITH_DEFAULT));
}

TEST_F(VirtualisedWrites, NoSystemHereRedirectsWrites) {
    // Wine has no redirection: asked through advapi32, the token says no.
    EXPECT_FALSE(file_writes_virtualised());
}

}  // namespace
