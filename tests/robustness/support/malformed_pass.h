// One shard of a malformed-file pass: every corpus file of the shard placed in a
// base slot and in an animated slot, 44 files at a time, each placement
// loaded at four scales, and after every load the slots, the handles and the
// bitmaps checked. The target says how to load and how to read a slot.
#pragma once

#include <windows.h>

#include <vector>

#include "support/child_runs.h"
#include "support/malformed_corpus.h"

const int SCALES_PER_PLACEMENT = 4;

class PassTarget {
public:
    virtual ~PassTarget() {}
    // Called once, after the first placement and before its loads.
    virtual void begin() {}
    // Loads both sets at scale number `scale` (0 to 3).
    virtual void load(int scale) = 0;
    // The handle slot `slot` of the base (animated false) or animated table holds.
    virtual HCURSOR slot(bool animated, int slot) = 0;
    // The number of slots `slot` may be asked for (22 up to 256).
    virtual int slots_to_check() = 0;
    // Whether the ledger can tell a destroy of a handle a table still holds.
    virtual bool sees_tables_at_destroy() { return true; }
};

// Runs shard `shard` of `shards` (files i with i % shards == shard) of
// `corpus` and returns its figures.
Figures run_pass_shard(PassTarget& target, const std::vector<MalformedCursor>& corpus, int shard,
                       int shards);

// The host's side of a pass's child: host screen, cursor kind and flags set,
// and a host window (null when it can't be made).
HWND open_pass_host_window();

// Runs one shard of `corpus` on `target` and prints its figures line for
// the parent; the child's exit code.
int print_pass_shard(PassTarget& target, const std::vector<MalformedCursor>& corpus, int shard,
                     int shards);

// Reads "<option> K N" from the command line; true when present.
bool shard_arguments(int argc, char** argv, const char* option, int* shard, int* shards);
