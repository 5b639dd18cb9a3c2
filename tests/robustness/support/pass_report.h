// The parent side of a malformed-file pass: runs the shards as child processes,
// sums their figures, prints them, and checks the ones that must be zero.
#pragma once

#include <string>

#include "support/child_runs.h"

// Runs `shards` children with "<shard_option> K shards" and returns the
// summed figures, with "children" and "crashes" (children that ended by an
// exception, stalled, or printed no figures) added.
Figures run_pass_shards(const char* shard_option, int shards, const char* title);

// Figures a pass prints that must be zero.
extern const char* const MUST_BE_ZERO[];

// Expects every figure of MUST_BE_ZERO to be zero in a pass's sum; without
// `tables_seen` (the real module's tables are inside it) the destroys of
// handles a table still held are not counted and not asked for.
void expect_clean_pass(const Figures& figures, bool tables_seen);

// Runs the pass over the whole malformed corpus in `shards` children and
// expects it whole and clean: every child and every file counted, the
// figures of MUST_BE_ZERO zero, and more than 500 slot loads (a good share
// of the corpus still loads: it reaches the loaders).
void expect_clean_corpus_pass(const char* shard_option, int shards, const char* title,
                              bool tables_seen);
