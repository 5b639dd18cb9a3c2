// Malformed files of 64 KiB and more: the module reads smaller files into
// its buffer but maps larger ones, so a read past such a file's end may
// leave the mapping (and fault at once when the file fills whole pages).
// Each file is a page multiple or near one, and its last directory entry,
// image header or chunk ends exactly at the file's end, or just past it.
#include "tests/robustness/support/malformed_corpus.h"

#include "tests/support/cursor_builders.h"

namespace {

const uint32_t SIZES[] = {65536, 69632, 131072};  // 16, 17 and 32 pages of 4 KiB
const uint32_t NEAR_SIZES[] = {65535, 65537};     // the last buffered size, the first mapped past it
const size_t DIR_HEADER = 6, DIR_ENTRY = 16;
const size_t ENTRY_IMAGE_SIZE = DIR_HEADER + 8, ENTRY_IMAGE_OFFSET = DIR_HEADER + 12;
const char FILLER = '\x5a';

// An icon directory of one 32 by 32 entry (type 2) whose image of
// `image_size` bytes is the file's last, in a file of `size` bytes;
// `image` fills the end (zeros where it is shorter).
std::string icon_ending_at_end(uint32_t size, uint32_t image_size, const std::string& image) {
    std::string file = icon_file(2, {{32, 32, std::string(), 16, 16}});
    file.resize(size, FILLER);
    set32(file, ENTRY_IMAGE_SIZE, image_size);
    set32(file, ENTRY_IMAGE_OFFSET, size - image_size);
    std::string tail = image.substr(0, image_size);
    tail.resize(image_size, '\0');
    file.replace(size - image_size, image_size, tail);
    return file;
}

// A core header claiming a 32 by 32 image, and nothing after it.
std::string core_header_only() { return core_dib_image(32, 32, 8).substr(0, 12); }

// An animated cursor of `size` bytes: header, frames, a filler chunk, then
// `last` (which ends the file). False when `last` does not fit.
bool animated_ending_with(uint32_t size, uint32_t flags, const std::string& last, std::string* out) {
    std::string header;
    for (uint32_t value : {36u, 2u, 4u, 32u, 32u, 32u, 1u, 10u, flags})
        append32(header, value);
    std::string body = "ACON" + riff_chunk("anih", header) +
                       riff_list("fram", riff_chunk("icon", cursor_file(32, 32)) +
                                             riff_chunk("icon", cursor_file(32, 32, 1)));
    size_t before = 8 + body.size() + 8 + last.size();  // RIFF header, filler header
    if (before > size)
        return false;
    body += "JUNK";
    append32(body, static_cast<uint32_t>(size - before));
    body.append(size - before, FILLER);
    body += last;
    *out = "RIFF";
    append32(*out, static_cast<uint32_t>(body.size()));
    *out += body;
    return true;
}

// A cursor whose one 32-bit image (past 64 KiB on its own where the file
// has room) ends at the file's end, the directory's image size being
// `size_change` off from it.
std::string large_image_at_end(uint32_t size, int size_change) {
    int side = size > 65536 ? 128 : 124;
    std::string image = dib_image(side, side, 32);
    std::string file = icon_file(2, {{side, side, std::string(), side / 2, side / 2}});
    uint32_t offset = static_cast<uint32_t>(size - image.size());
    file.resize(offset, FILLER);
    file += image;
    set32(file, ENTRY_IMAGE_SIZE, static_cast<uint32_t>(image.size() + size_change));
    set32(file, ENTRY_IMAGE_OFFSET, offset);
    return file;
}

}  // namespace

std::vector<SeedFile> large_malformed_files() {
    std::vector<SeedFile> files;
    for (uint32_t size : SIZES) {
        // Images too small for any header, at the file's end.
        for (uint32_t image_size : {0u, 4u, 7u})
            files.push_back({"large: an image too small for a header, at the end",
                             icon_ending_at_end(size, image_size, std::string())});
        files.push_back({"large: a core header at the end, its rows missing",
                         icon_ending_at_end(size, 12, core_header_only())});
        files.push_back({"large: a 40-byte header at the end, its rows missing",
                         icon_ending_at_end(size, 40, dib_image(32, 32, 32))});
        files.push_back({"large: a PNG signature at the end",
                         icon_ending_at_end(size, 8, png_image(32, 32))});
        files.push_back({"large: an image ending at the end, entry size one past",
                         large_image_at_end(size, 1)});
        files.push_back({"large: an image ending at the end, entry size 4 short",
                         large_image_at_end(size, -4)});

        std::string animated;
        // The sequence flag without a sequence, the rates ending the file;
        // then rates and a sequence that claim more than the file holds.
        if (animated_ending_with(size, 3, riff_u32_chunk("rate", {5, 5, 5, 5}), &animated))
            files.push_back({"large: sequence flag, no sequence, rates ending the file", animated});
        std::string rates = riff_u32_chunk("rate", {5, 5, 5, 5});
        set32(rates, 4, 20);
        if (animated_ending_with(size, 1, rates, &animated))
            files.push_back({"large: rates claiming 4 bytes past the file", animated});
        std::string sequence = riff_u32_chunk("seq ", {0, 1, 1, 0});
        set32(sequence, 4, 24);
        if (animated_ending_with(size, 3, sequence, &animated))
            files.push_back({"large: a sequence claiming 8 bytes past the file", animated});
        if (animated_ending_with(size, 3, "seq ", &animated))
            files.push_back({"large: a sequence's chunk name ending the file", animated});
    }
    for (uint32_t size : NEAR_SIZES) {
        files.push_back({"large: an image too small for a header, at the end",
                         icon_ending_at_end(size, 4, std::string())});
        files.push_back({"large: a core header at the end, its rows missing",
                         icon_ending_at_end(size, 12, core_header_only())});
    }
    return files;
}
