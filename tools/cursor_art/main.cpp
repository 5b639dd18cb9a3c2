// cursor_art: draws the default cursor set and writes it as animated cursor
// files, plus an optional PNG contact sheet for review.
//
// Usage: cursor_art <out_dir> [<sheet.png>]
// Output is deterministic: the same build writes the same bytes every run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "ani_writer.h"
#include "artwork.h"
#include "contact_sheet.h"

namespace {

namespace fs = std::filesystem;

bool write_file(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) {
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <out_dir> [<sheet.png>]\n", argv[0]);
        return EXIT_FAILURE;
    }
    const fs::path out_dir = argv[1];
    const std::vector<cursor_art::CursorFile> files = cursor_art::build_default_cursors();

    for (const cursor_art::CursorFile& file : files) {
        const fs::path path = out_dir / fs::path(file.relative_path);
        if (!write_file(path, cursor_art::encode_ani(file))) {
            std::fprintf(stderr, "cursor_art: cannot write %s\n", path.string().c_str());
            return EXIT_FAILURE;
        }
    }

    if (argc == 3 && !cursor_art::write_contact_sheet(files, argv[2])) {
        std::fprintf(stderr, "cursor_art: cannot write %s\n", argv[2]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
