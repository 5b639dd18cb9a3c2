// Players' own cursor files in a slot of the real module, fixed at twice
// their size: the host shows each sound one at that size and nothing for a
// hostile one, and goes on running.
#include "host/runtime/host_state.h"
#include "tests/module/module_fixture.h"
#include "tests/support/players_files.h"

void PrintTo(const PlayersFile& file, std::ostream* out) { *out << file.name; }

namespace {

class PlayersFilesInHost : public ModuleInHost, public testing::WithParamInterface<PlayersFile> {};

TEST_P(PlayersFilesInHost, ShowAtTwiceTheirSizeOrNotAtAll) {
    const PlayersFile& file = GetParam();
    ASSERT_TRUE(CreateDirectoryA("plugin\\Cursors", NULL));
    ASSERT_TRUE(write_file("plugin\\Cursors\\cursor3.ani", file.bytes));
    write_size_setting("2.0");
    ASSERT_TRUE(start_plugin().initialised);
    set_host_cursor_kind(3);
    EXPECT_EQ(file.loads ? 2 * file.own_side : -1, shown_cursor_size().cx);
    set_host_cursor_kind(0);
    EXPECT_EQ(64, shown_cursor_size().cx) << "the other cursors load";
}

INSTANTIATE_TEST_SUITE_P(Classes, PlayersFilesInHost, testing::ValuesIn(players_files()),
                         [](const testing::TestParamInfo<PlayersFile>& info) {
                             return test_name(info.param);
                         });

}  // namespace
