#include "tests/robustness/support/pass_report.h"

#include "support/malformed_corpus.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <vector>

const char* const MUST_BE_ZERO[] = {
    "crashes",          "leaked",         "stale_slots",          "double_destroys",
    "destroyed_while_held", "stale_set_cursor", "bitmaps_leaked", "loads_leaving_bitmaps",
    "unloadable_changed", "sharing_broken", "unloaded_slot_filled", "placing_failed",
    NULL};

namespace {

const int PARALLEL_CHILDREN = 2;
const DWORD CHILD_TIMEOUT_MS = 100000;

}  // namespace

void expect_clean_pass(const Figures& figures, bool tables_seen) {
    for (const char* const* name = MUST_BE_ZERO; *name; ++name) {
        if (tables_seen || strcmp(*name, "destroyed_while_held") != 0) {
            EXPECT_EQ(0, figures.get(*name)) << *name;
        }
    }
}

void expect_clean_corpus_pass(const char* shard_option, int shards, const char* title,
                              bool tables_seen) {
    size_t corpus_size = malformed_cursor_corpus().size();
    ASSERT_GE(corpus_size, 2000u);
    Figures figures = run_pass_shards(shard_option, shards, title);
    EXPECT_EQ(shards, figures.get("children"));
    EXPECT_EQ(static_cast<long>(corpus_size), figures.get("files"));
    expect_clean_pass(figures, tables_seen);
    EXPECT_GT(figures.get("slot_loads"), 500);
}

Figures run_pass_shards(const char* shard_option, int shards, const char* title) {
    std::vector<std::string> arguments;
    char text[64];
    for (int shard = 0; shard < shards; ++shard) {
        snprintf(text, sizeof text, "%s %d %d", shard_option, shard, shards);
        arguments.push_back(text);
    }
    DWORD start = GetTickCount();
    std::vector<ChildRun> runs = run_self(arguments, PARALLEL_CHILDREN, CHILD_TIMEOUT_MS);
    Figures total;
    total.add("children", 0);
    total.add("crashes", 0);
    for (const ChildRun& run : runs) {
        Figures figures = parse_figures(run.output);
        bool finished = run.exit_code == 0 && !figures.values.empty();
        total.add("children", 1);
        total.add("crashes", finished ? 0 : 1);
        if (!finished)
            printf("child '%s' ended with 0x%08lx%s:\n%s\n", run.command_line.c_str(), run.exit_code,
                   ended_by_exception(run.exit_code) ? " (an exception)" : "",
                   run.output.c_str());
        for (const auto& value : figures.values)
            if (value.first == "slowest_load_ms")
                total.keep_max(value.first, value.second);
            else
                total.add(value.first, value.second);
    }
    printf("%s (%lu ms):\n", title, GetTickCount() - start);
    for (const auto& value : total.values)
        printf("  %-22s %ld\n", value.first.c_str(), value.second);
    fflush(stdout);
    return total;
}
