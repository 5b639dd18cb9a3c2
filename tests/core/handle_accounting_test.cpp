// Every cursor handle the loader creates is counted at its imports: across
// many reloads at changing scales, none leaks, none is destroyed twice, and
// none is destroyed while a table still holds it.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "support/cursor_builders.h"
#include "support/cursor_ledger.h"
#include "support/scratch_folder.h"

namespace {

bool held_by_a_table(HCURSOR cursor) {
    for (int slot = 0; slot < CURSOR_SLOT_COUNT; ++slot)
        if (base_cursors[slot] == cursor || animated_cursors[slot] == cursor)
            return true;
    return false;
}

TEST(HandleAccounting, HundredReloadsAtChangingScalesLeakNothing) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
    // The module's code is linked into this program: its imports are ours.
    ASSERT_TRUE(ledger::install(GetModuleHandleA(NULL)));
    ledger::set_holder_check(held_by_a_table);

    const float scales[] = {0.0f, 2.0f, 1.5f, 1.0f, 3.0f, 0.5f, 1.875f, INFINITY, 2.5f, 0.0f};
    for (int round = 0; round < 100; ++round) {
        // Players change files between loads: an own animated file comes and
        // goes, a base file breaks and is mended.
        if (round == 30)
            write_file("plugin\\Cursors\\Animated\\cursor7.ani", make_ani(32, 32));
        if (round == 40)
            write_file("plugin\\Cursors\\cursor7.ani", "broken");
        if (round == 60)
            DeleteFileA("plugin\\Cursors\\Animated\\cursor7.ani");
        if (round == 70)
            DeleteFileA("plugin\\Cursors\\cursor7.ani");
        load_cursor_set(scales[round % 10]);
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
            ASSERT_TRUE(ledger::is_live(base_cursors[slot])) << "round " << round << " slot " << slot;
            ASSERT_TRUE(ledger::is_live(animated_cursors[slot])) << "round " << round << " slot " << slot;
        }
    }

    std::set<HCURSOR> held;
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        held.insert(base_cursors[slot]);
        held.insert(animated_cursors[slot]);
    }
    LedgerCounts counts = ledger::counts();
    EXPECT_EQ(0, counts.double_destroys);
    EXPECT_EQ(0, counts.destroyed_while_held);
    EXPECT_EQ(0, counts.stale_set_cursor);
    EXPECT_EQ(held, ledger::live()) << "every handle alive is held by a table";
    EXPECT_EQ(counts.created - counts.destroyed, static_cast<long>(ledger::live().size()));
    EXPECT_EQ(0, ledger::open_icon_bitmaps()) << "measuring deletes the bitmaps it is given";
    printf("created %ld, destroyed %ld, alive %u\n", counts.created, counts.destroyed,
           static_cast<unsigned>(ledger::live().size()));
}

}  // namespace
