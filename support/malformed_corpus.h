// The malformed cursor files the robustness suite feeds the module: made
// deterministically (fixed seed) from a handful of valid files by cutting
// them at every chunk boundary and at random points, flipping bytes, giving
// chunks wrong lengths, declaring absurd frame counts and sizes, breaking the
// frame list, and by files that are empty, folders or locked.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

enum class EntryKind {
    FILE,        // a file holding `bytes`
    FOLDER,      // a folder in place of the file
    UNREADABLE,  // a file holding `bytes`, held open with no sharing while loading
};

struct MalformedCursor {
    size_t index;  // place in the corpus
    const char* family;
    EntryKind kind;
    std::string bytes;
};

const uint64_t CORPUS_SEED = 0x5175696c6c6d6572ull;

// Every file of the corpus, in a fixed order.
std::vector<MalformedCursor> malformed_cursor_corpus(uint64_t seed = CORPUS_SEED);

// The valid files the corpus starts from, with a name each.
struct SeedFile {
    const char* name;
    std::string bytes;
};
std::vector<SeedFile> corpus_seed_files();

// Files of 64 KiB and more (the module maps them instead of reading them),
// most of them whole pages long, whose last entry, header or chunk ends at
// the file's end or just past it (large_files.cpp).
std::vector<SeedFile> large_malformed_files();

// Files shaped against the module's own line (hostile_files.cpp): images
// whose entries claim other sizes or that start inside their directory's
// entries, PNG images whose text or data inflates far; added to `files`.
void add_hostile_files(std::vector<SeedFile>& files);

// A small animated cursor that spends some 3 Mi pixels of a load (48 frames
// its header sets at 256 x 256): a pack of them spends the load's budget.
std::string budget_spending_file();
