// Players' own cursor files in a slot of the real module: the host shows each
// sound one at the size asked; for a broken one, the slot's built-in cursor
// from the module's own copy, and the player's file stays as it was.
#include "host/runtime/host_state.h"
#include "support/cursor_builders.h"
#include "support/players_files.h"
#include "tests/module/module_fixture.h"

void PrintTo(const PlayersFile& file, std::ostream* out) { *out << file.name; }

namespace {

// The defaults' own sides: 32, cursors 10 and 12 35.
int default_side(int slot) { return slot == 10 || slot == 12 ? 35 : 32; }

std::string slot_file(int slot) {
    return "plugin\\Cursors\\cursor" + std::to_string(slot) + ".ani";
}

class PlayersFilesInHost : public ModuleInHost, public testing::WithParamInterface<PlayersFile> {};

TEST_P(PlayersFilesInHost, ShowAtTwiceTheirSizeOrTheDefaultInstead) {
    const PlayersFile& file = GetParam();
    ASSERT_TRUE(CreateDirectoryA("plugin\\Cursors", NULL));
    ASSERT_TRUE(write_file(slot_file(3), file.bytes));
    write_size_setting("2.0");
    ASSERT_TRUE(start_plugin().initialised);
    set_host_cursor_kind(3);
    EXPECT_EQ(2 * (file.loads ? file.own_side : default_side(3)), shown_cursor_size().cx);
    EXPECT_EQ(file.bytes, read_file(slot_file(3)));
    set_host_cursor_kind(0);
    EXPECT_EQ(64, shown_cursor_size().cx) << "the other cursors load";
}

INSTANTIATE_TEST_SUITE_P(Classes, PlayersFilesInHost, testing::ValuesIn(players_files()),
                         [](const testing::TestParamInfo<PlayersFile>& info) {
                             return test_name(info.param);
                         });

// Files that fail at start-up, in the slots players reported: the pointer
// never vanishes over what uses them.
class BrokenFilesInHost : public ModuleInHost, public testing::WithParamInterface<float> {};

TEST_P(BrokenFilesInHost, ShowTheBuiltInCursorAndStayUnchanged) {
    const float scale = GetParam();
    std::string truncated = make_ani(32, 32, 2);
    truncated.resize(truncated.size() / 2);
    const struct {
        int slot;
        std::string bytes;
    } broken[] = {
        {8, "a note saved under a cursor's name\r\n"},
        {9, truncated},
        {12, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {13, ""},
    };
    const int huge_slot = 14;  // over 4 GB: written sparse
    ASSERT_TRUE(CreateDirectoryA("plugin\\Cursors", NULL));
    for (const auto& file : broken)
        ASSERT_TRUE(write_file(slot_file(file.slot), file.bytes));
    HANDLE huge = CreateFileA(slot_file(huge_slot).c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0,
                              NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, huge);
    LONG high = 1;
    SetFilePointer(huge, 16, &high, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(huge));
    CloseHandle(huge);
    write_size_setting(scale == 2.0f ? "2.0" : "1.0");

    ASSERT_TRUE(start_plugin().initialised);
    for (int slot : {8, 9, 12, 13, huge_slot}) {
        set_host_cursor_kind(slot);
        EXPECT_EQ(static_cast<int>(default_side(slot) * scale), shown_cursor_size().cx) << slot;
    }
    for (const auto& file : broken)
        EXPECT_EQ(file.bytes, read_file(slot_file(file.slot))) << file.slot;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExA(slot_file(huge_slot).c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(1u, data.nFileSizeHigh);
    EXPECT_EQ(16u, data.nFileSizeLow);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BrokenFilesInHost, testing::Values(1.0f, 2.0f),
                         [](const testing::TestParamInfo<float>& info) {
                             return info.param == 2.0f ? std::string("twice") : "own_size";
                         });

}  // namespace
