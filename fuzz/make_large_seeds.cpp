// Writes the large seeds of the fuzz targets: the robustness suite's files
// of 64 KiB to 2 MiB (page-sized files cut short at their end; many
// entries, chunks and frames; images decoded past their entries' sizes),
// made afresh at fuzzing time rather than committed. Each goes to the parse
// target's folder as it is, and to the pipeline target's folder behind the
// two bytes that choose the scale and the budget (every other one 2.0).
//   make_large_seeds PARSE_FOLDER PIPELINE_FOLDER
#include <stdio.h>

#include <string>

#include "fuzz/fuzz_support.h"
#include "support/malformed_corpus.h"

namespace {

const std::string OWN_SIZE("\0\0", 2), TWICE("\5\0", 2);

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: make_large_seeds PARSE_FOLDER PIPELINE_FOLDER\n");
        return 2;
    }
    int index = 0;
    for (const SeedFile& file : large_malformed_files()) {
        char name[32];
        snprintf(name, sizeof name, "/large-%03d", index);
        const std::string& size_bytes = index % 2 ? TWICE : OWN_SIZE;
        if (!write_file(argv[1] + std::string(name), file.bytes) ||
            !write_file(argv[2] + std::string(name), size_bytes + file.bytes)) {
            fprintf(stderr, "make_large_seeds: cannot write %s\n", name);
            return 1;
        }
        ++index;
    }
    printf("make_large_seeds: %d files\n", index);
    return 0;
}
