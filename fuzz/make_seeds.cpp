// Writes the generated seeds of the fuzz corpus: varied cursor files from a
// fixed seed, built by the test builders. Each goes to the parse target's
// corpus as it is, and to the pipeline target's corpus behind the two bytes
// that choose the scale and the budget (0, 0 for most). Single images of every kind go to the
// pixels' corpus, behind the two bytes that choose the size rendered.
//   make_seeds PARSE_FOLDER PIPELINE_FOLDER PIXELS_FOLDER
#include <stdio.h>

#include <string>

#include "fuzz/fuzz_support.h"
#include "support/cursor_builders.h"
#include "support/png_builder.h"
#include "support/varied_cursors.h"

namespace {

const uint64_t SEED = 0x6675727a73656564ull;
const int FILES = 24;
const size_t LARGEST_SEED = 16384;  // keeps the committed corpus small
const int ASKED_SIZE_EVERY = 4;  // every fourth copy seed asks for a size

// One image of each depth and header, rendered larger, smaller or alike.
bool write_image_seeds(const std::string& folder) {
    struct Seed {
        const char* name;
        std::string image;
        char width, height;  // the size rendered, less 1
    };
    const Seed seeds[] = {
        {"dib-1", dib_image(32, 32, 1), 63, 63},   {"dib-4", dib_image(16, 16, 4), 23, 23},
        {"dib-8", dib_image(32, 32, 8), 15, 15},   {"dib-16", dib_image(8, 8, 16), 11, 7},
        {"dib-24", dib_image(33, 35, 24), 31, 31}, {"dib-32", dib_image(32, 32, 32), 47, 47},
        {"core-1", core_dib_image(16, 16, 1), 31, 31}, {"core-8", core_dib_image(8, 8, 8), 2, 2},
        {"png", png_image(24, 24), 35, 35},
        {"png-palette", png_file({4, 2, 4, 3, 0, std::string("\0\x01\x23\0\x45\x67", 6),
                                  std::string("\xff\0\0\0\xff\0\0\0\xff", 9), "\x80", {}}),
         7, 3},
        {"png-grey-16", png_file({2, 2, 16, 4, 0, std::string("\0\x12\x34\x56\x78\x9a\xbc\xde\xf0"
                                                             "\0\x12\x34\x56\x78\x9a\xbc\xde\xf0", 18),
                                  "", "", {}}), 3, 3},
        // Black, the rows of all seven passes unfiltered.
        {"png-interlaced", png_file({9, 9, 8, 2, 1, std::string(262, '\0'), "", "",
                                     {png_chunk("tEXt", "Comment")}}), 19, 19},
    };
    for (const Seed& seed : seeds)
        if (!write_file(folder + "/" + seed.name, std::string{seed.width, seed.height} + seed.image))
            return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: make_seeds PARSE_FOLDER PIPELINE_FOLDER PIXELS_FOLDER\n");
        return 2;
    }
    if (!write_image_seeds(argv[3])) {
        fprintf(stderr, "make_seeds: cannot write the image seeds\n");
        return 1;
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
            size_bytes = std::string("\5\0", 2);  // at 2.0
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
