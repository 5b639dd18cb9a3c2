// Every malformed cursor file of the corpus in every kind of slot, loaded by
// the module's code at scales 0, 1.5, 2.0 and automatic. Shards run as child
// processes, so a crash is counted rather than ending the test.
#include <gtest/gtest.h>

#include <stdio.h>

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "scaling/cursor_scaling.h"
#include "settings/scale_policy.h"
#include "support/cursor_ledger.h"
#include "support/malformed_corpus.h"
#include "support/scratch_folder.h"
#include "tests/robustness/core/core_pass.h"
#include "tests/robustness/support/malformed_pass.h"
#include "tests/robustness/support/pass_report.h"
#include "tests/robustness/support/slot_files.h"

namespace {

const int CORE_SHARDS = 4;

bool in_tables(HCURSOR cursor) {
    for (int slot = 0; slot < CURSOR_SLOT_COUNT; ++slot)
        if (base_cursors[slot] == cursor || animated_cursors[slot] == cursor)
            return true;
    return false;
}

// Automatic mode measures the host window: client sizes giving 2.0, 1.875,
// 1.25 and 0.5 (raised to 1) on the 640 by 480 host screen, in turn.
const SIZE AUTOMATIC_CLIENTS[] = {{1280, 960}, {1600, 900}, {800, 600}, {320, 240}};

class LinkedModule : public PassTarget {
public:
    explicit LinkedModule(HWND window) : window_(window) {}
    void load(int scale) override {
        const float fixed[] = {0.0f, 1.5f, 2.0f};
        if (scale < 3) {
            load_cursor_set(fixed[scale]);
            return;
        }
        SIZE client = AUTOMATIC_CLIENTS[automatic_loads_++ % 4];
        set_client_size(window_, client.cx, client.cy);
        cursor_scale = 0.0f;
        auto_rescale();
    }
    HCURSOR slot(bool animated, int slot) override {
        return animated ? animated_cursors[slot] : base_cursors[slot];
    }
    int slots_to_check() override { return CURSOR_SLOT_COUNT; }

private:
    HWND window_;
    int automatic_loads_ = 0;
};

TEST(MalformedCursorFiles, TheModulesCodeMeetsEveryFileInEverySlotAtEveryScale) {
    expect_clean_corpus_pass(CORE_SHARD_OPTION, CORE_SHARDS,
                             "malformed cursor files, module code linked in", true);
}

}  // namespace

int run_core_shard(int shard, int shards) {
    ScratchFolder scratch;
    if (!ledger::install(GetModuleHandleA(NULL))) {
        printf("could not redirect the imports\n");
        return 3;
    }
    ledger::set_holder_check(in_tables);
    HWND window = open_pass_host_window();
    if (!window) {
        printf("no host window\n");
        return 3;
    }
    LinkedModule target(window);
    return print_pass_shard(target, malformed_cursor_corpus(), shard, shards);
}

int run_core_file(int index) {
    std::vector<MalformedCursor> corpus = malformed_cursor_corpus();
    if (index < 0) {  // a list of the whole corpus
        for (const MalformedCursor& file : corpus)
            printf("%u %s, %u bytes\n", static_cast<unsigned>(file.index), file.family,
                   static_cast<unsigned>(file.bytes.size()));
        return 0;
    }
    if (static_cast<size_t>(index) >= corpus.size())
        return 2;
    const MalformedCursor& file = corpus[static_cast<size_t>(index)];
    printf("file %d: %s, %u bytes\n", index, file.family, static_cast<unsigned>(file.bytes.size()));
    char dump[MAX_PATH];
    if (GetEnvironmentVariableA("QUILLMERE_PASS_DUMP", dump, sizeof dump))
        write_file(dump, file.bytes);
    ScratchFolder scratch;
    SlotFiles slots;
    const float scales[] = {0.0f, 1.5f, 2.0f};
    for (int slot_file : {0, SLOTS_PER_TABLE}) {
        slots.place(slot_file, file);
        for (float scale : scales) {
            printf("slot file %s at %.1f", slot_file_path(slot_file).c_str(), scale);
            fflush(stdout);
            DWORD start = GetTickCount();
            load_cursor_set(scale);
            printf(": %lu ms\n", GetTickCount() - start);
        }
        slots.clear(slot_file);
    }
    printf("done\n");
    return 0;
}
