#include "tests/robustness/support/malformed_pass.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <set>
#include <vector>

#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "support/cursor_ledger.h"
#include "tests/robustness/support/pass_report.h"
#include "tests/robustness/support/slot_files.h"

namespace {

struct Tables {
    HCURSOR base[SLOTS_PER_TABLE];
    HCURSOR animated[SLOTS_PER_TABLE];
};

Tables read_tables(PassTarget& target) {
    Tables tables;
    for (int slot = 0; slot < SLOTS_PER_TABLE; ++slot) {
        tables.base[slot] = target.slot(false, slot);
        tables.animated[slot] = target.slot(true, slot);
    }
    return tables;
}

// A file that no loader can read leaves its slot as it was.
bool cannot_load(const MalformedCursor& entry) {
    return entry.kind != EntryKind::FILE || entry.bytes.empty();
}

class Shard {
public:
    explicit Shard(PassTarget& target) : target_(target) {
        for (const char* const* name = MUST_BE_ZERO; *name; ++name)
            if (target.sees_tables_at_destroy() || strcmp(*name, "destroyed_while_held") != 0)
                figures_.add(*name, 0);
    }

    void run(const std::vector<const MalformedCursor*>& files) {
        figures_.add("files", static_cast<long>(files.size()));
        bool begun = false;
        for (size_t first = 0; first < files.size(); first += SLOT_FILES) {
            for (int pass = 0; pass < 2; ++pass) {
                place(files, first, pass);
                if (!begun) {
                    begun = true;
                    target_.begin();
                }
                for (int scale = 0; scale < SCALES_PER_PLACEMENT; ++scale)
                    load_and_check(scale);
            }
        }
        finish();
    }

    const Figures& figures() const { return figures_; }

private:
    // Pass 0 puts file first+j in slot file j; pass 1 swaps the base and
    // animated halves, so every file meets both kinds of slot.
    void place(const std::vector<const MalformedCursor*>& files, size_t first, int pass) {
        figures_.add("placements", 1);
        for (int j = 0; j < SLOT_FILES; ++j) {
            int index = (j + pass * SLOTS_PER_TABLE) % SLOT_FILES;
            placed_[index] = first + j < files.size() ? files[first + j] : NULL;
            if (placed_[index]) {
                if (!slots_.place(index, *placed_[index]))
                    figures_.add("placing_failed", 1);
            } else {
                slots_.clear(index);
            }
        }
    }

    void load_and_check(int scale) {
        if (tracing_) {
            printf("load at scale %d, files:", scale);
            for (const MalformedCursor* file : placed_)
                printf(" %d", file ? static_cast<int>(file->index) : -1);
            printf("\n");
            fflush(stdout);
        }
        Tables before = read_tables(target_);
        DWORD start = GetTickCount();
        target_.load(scale);
        figures_.keep_max("slowest_load_ms", static_cast<long>(GetTickCount() - start));
        figures_.add("loads", 1);
        Tables after = read_tables(target_);
        for (int slot = 0; slot < SLOTS_PER_TABLE; ++slot)
            check_slot(slot, before, after);
        for (int slot = SLOTS_PER_TABLE; slot < target_.slots_to_check(); ++slot)
            if (target_.slot(false, slot) || target_.slot(true, slot))
                figures_.add("unloaded_slot_filled", 1);
        if (ledger::open_icon_bitmaps())
            figures_.add("loads_leaving_bitmaps", 1);
    }

    void check_slot(int slot, const Tables& before, const Tables& after) {
        HCURSOR base = after.base[slot], animated = after.animated[slot];
        figures_.add("stale_slots", (base && !ledger::is_live(base)) + (animated && !ledger::is_live(animated)));
        if (!animated && base)
            figures_.add("sharing_broken", 1);
        const MalformedCursor* base_file = placed_[slot];
        const MalformedCursor* animated_file = placed_[slot + SLOTS_PER_TABLE];
        if (base_file && base != before.base[slot])
            figures_.add("slot_loads", 1);
        if (animated_file && animated != before.animated[slot] && animated != base)
            figures_.add("slot_loads", 1);
        if (base_file && cannot_load(*base_file) && base != before.base[slot])
            figures_.add("unloadable_changed", 1);
        if (animated_file && cannot_load(*animated_file)) {
            bool was_shared = before.animated[slot] == before.base[slot];
            HCURSOR expected = was_shared ? base : before.animated[slot];
            if (animated != expected)
                figures_.add("unloadable_changed", 1);
        }
    }

    void finish() {
        Tables tables = read_tables(target_);
        std::set<HCURSOR> held;
        for (int slot = 0; slot < SLOTS_PER_TABLE; ++slot) {
            held.insert(tables.base[slot]);
            held.insert(tables.animated[slot]);
        }
        long leaked = 0;
        for (HCURSOR cursor : ledger::live())
            leaked += held.count(cursor) == 0;
        LedgerCounts counts = ledger::counts();
        figures_.add("leaked", leaked);
        figures_.add("created", counts.created);
        figures_.add("destroyed", counts.destroyed);
        figures_.add("double_destroys", counts.double_destroys);
        if (target_.sees_tables_at_destroy())
            figures_.add("destroyed_while_held", counts.destroyed_while_held);
        figures_.add("stale_set_cursor", counts.stale_set_cursor);
        figures_.add("bitmaps_leaked", ledger::open_icon_bitmaps());
        slots_.clear_all();
    }

    PassTarget& target_;
    bool tracing_ = GetEnvironmentVariableA("QUILLMERE_PASS_TRACE", NULL, 0) != 0;
    SlotFiles slots_;
    const MalformedCursor* placed_[SLOT_FILES] = {};
    Figures figures_;
};

}  // namespace

Figures run_pass_shard(PassTarget& target, const std::vector<MalformedCursor>& corpus, int shard,
                       int shards) {
    std::vector<const MalformedCursor*> files;
    for (size_t i = 0; i < corpus.size(); ++i)
        if (static_cast<int>(i % static_cast<size_t>(shards)) == shard)
            files.push_back(&corpus[i]);
    Shard pass(target);
    pass.run(files);
    return pass.figures();
}

bool shard_arguments(int argc, char** argv, const char* option, int* shard, int* shards) {
    for (int i = 1; i + 2 < argc; ++i)
        if (strcmp(argv[i], option) == 0) {
            *shard = atoi(argv[i + 1]);
            *shards = atoi(argv[i + 2]);
            return *shards > 0 && *shard >= 0 && *shard < *shards;
        }
    return false;
}

HWND open_pass_host_window() {
    set_host_screen_size(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    set_host_cursor_kind(0);
    set_host_state_flags(0);
    return create_host_window(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
}

int print_pass_shard(PassTarget& target, const std::vector<MalformedCursor>& corpus, int shard,
                     int shards) {
    Figures figures = run_pass_shard(target, corpus, shard, shards);
    printf("%s\n", figures.line().c_str());
    fflush(stdout);
    return 0;
}
