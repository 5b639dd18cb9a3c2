// Writes the generated seeds of the fuzz corpus: varied cursor files from a
// fixed seed, built by the test builders. Each goes to the check's corpus as
// it is, and to the private copy's corpus behind the two bytes that choose
// the size asked (0, 0 for most).
//   make_seeds CHECK_FOLDER COPY_FOLDER
#include <stdio.h>

#include <string>

#include "fuzz/fuzz_support.h"
#include "tests/support/varied_cursors.h"

namespace {

const uint64_t SEED = 0x6675727a73656564ull;
const int FILES = 24;
const size_t LARGEST_SEED = 16384;  // keeps the committed corpus small
const int ASKED_SIZE_EVERY = 4;  // every fourth copy seed asks for a size

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: make_seeds CHECK_FOLDER COPY_FOLDER\n");
        return 2;
    }
    Random random(SEED);
    for (int i = 0; i < FILES;) {
        VariedCursor file = varied_cursor(random);
        if (file.bytes.size() > LARGEST_SEED)
            continue;
        char name[32];
        snprintf(name, sizeof name, "/varied-%02d", i);
        std::string size_bytes(2, '\0');
        if (i % ASKED_SIZE_EVERY == ASKED_SIZE_EVERY - 1)
            size_bytes = std::string("\4\4", 2);  // 32 by 32
        if (!write_file(argv[1] + std::string(name), file.bytes) ||
            !write_file(argv[2] + std::string(name), size_bytes + file.bytes)) {
            fprintf(stderr, "make_seeds: cannot write %s\n", name);
            return 1;
        }
        printf("%s: %zu bytes, %s\n", name + 1, file.bytes.size(), file.description.c_str());
        ++i;
    }
    return 0;
}
