// Malformed files of 64 KiB and more: the module reads smaller files into
// its buffer but maps larger ones, so a read past such a file's end may
// leave the mapping (and fault at once when the file fills whole pages).
// Each file is a page multiple or near one, and its last directory entry,
// image header or chunk ends exactly at the file's end, or just past it, or
// is cut short by it. Then files of about 1 MiB shaped to cost a reader
// more than their reading: many entries, many chunks, many frames, and
// images decoded at sizes their entries do not say.
#include "support/malformed_corpus.h"

#include "support/cursor_builders.h"

namespace {

const uint32_t SIZES[] = {65536, 69632, 131072};  // 16, 17 and 32 pages of 4 KiB
// Page multiples and one short of them, for structures the file cuts short.
const uint32_t CUT_SIZES[] = {65536, 69631, 69632};
const uint32_t LARGEST_ENTRY_COUNT = 65535;
const uint32_t MANY_FRAMES = 1024;
const uint32_t CROWDED_FRAMES = 64;
const uint32_t NEAR_SIZES[] = {65535, 65537};     // the last buffered size, the first mapped past it
const size_t DIR_HEADER = 6;
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
bool animated_ending_with(uint32_t size, uint32_t flags, const std::string& last, std::string* out,
                          uint32_t steps = 4) {
    std::string header;
    for (uint32_t value : {36u, 2u, steps, 32u, 32u, 32u, 1u, 10u, flags})
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

// The first `length` bytes of a chunk header (the rest cut by the file's end).
std::string cut_header(const char* id, uint32_t length) {
    std::string header = id;
    append32(header, 16);
    return header.substr(0, length);
}

// An animated cursor of `size` bytes, its RIFF length the file's own, whose
// header names three frames: two whole ones, the second padded to fill the
// file, then `third`, the third frame's beginning, which ends the file.
bool frames_ending_with(uint32_t size, const std::string& third, std::string* out) {
    std::string header;
    for (uint32_t value : {36u, 3u, 3u, 0u, 0u, 0u, 0u, 10u, 1u})
        append32(header, value);
    std::string first = riff_chunk("icon", cursor_file(32, 32));
    size_t fixed = 12 + 8 + header.size() + 12 + first.size() + 8 + third.size();
    std::string second = cursor_file(32, 32);
    if (fixed + second.size() > size)
        return false;
    second.resize(size - fixed, FILLER);  // past its image, inside its chunk
    std::string frames = "fram" + first + "icon";
    append32(frames, static_cast<uint32_t>(second.size()));
    frames += second + third;
    std::string body = "ACON" + riff_chunk("anih", header) + "LIST";
    append32(body, static_cast<uint32_t>(frames.size()));
    body += frames;
    *out = "RIFF";
    append32(*out, static_cast<uint32_t>(body.size()));
    *out += body;
    return out->size() == size;
}

// A directory of `count` entries of 32 by 32, all pointing at one 32-bit
// image after them.
std::string shared_image_directory(uint32_t count) {
    std::string image = dib_image(32, 32, 32);
    std::string directory;
    append16(directory, 0);
    append16(directory, 2);
    append16(directory, count);
    uint32_t offset = 6 + 16 * count;
    for (uint32_t i = 0; i < count; ++i) {
        directory += std::string("\x20\x20\0\0", 4);
        append16(directory, 16);
        append16(directory, 16);
        append32(directory, static_cast<uint32_t>(image.size()));
        append32(directory, offset);
    }
    return directory + image;
}

// A directory of `count` entries of sizes 1 to 255, each pointing at an
// image of its own (1 by 1 pixel, as decoded).
std::string distinct_image_directory(uint32_t count) {
    std::string image = dib_image(1, 1, 32), directory, images;
    append16(directory, 0);
    append16(directory, 2);
    append16(directory, count);
    uint32_t offset = 6 + 16 * count;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t side = static_cast<uint8_t>(1 + i % 255);
        directory += std::string{static_cast<char>(side), static_cast<char>(side), 0, 0};
        append32(directory, 0);
        append32(directory, static_cast<uint32_t>(image.size()));
        append32(directory, offset + static_cast<uint32_t>(images.size()));
        images += image;
    }
    return directory + images;
}

std::string one_frame_ani(const std::string& frame) {
    AniLayout layout;
    layout.frames = {frame};
    return ani_file(layout);
}

// `frames` frames whose chunks hold only a directory of one 1 by 1 entry,
// each pointing past its own chunk at one PNG image of `side` by `side`
// stored once after the last frame.
std::string frames_sharing_a_png(uint32_t frames, int side) {
    const uint32_t directory_size = 6 + 16, chunk = 8 + directory_size;
    std::string png = png_image(side, side);
    std::string list;
    for (uint32_t i = 0; i < frames; ++i) {
        std::string directory;
        append16(directory, 0);
        append16(directory, 2);
        append16(directory, 1);
        directory += std::string("\x01\x01\0\0\0\0\0\0", 8);
        append32(directory, static_cast<uint32_t>(png.size()));
        // From this directory to the image after the remaining frames.
        append32(directory, (frames - i) * chunk - 8);
        list += riff_chunk("icon", directory);
    }
    std::string header;
    for (uint32_t value : {36u, frames, frames, 0u, 0u, 0u, 0u, 10u, 1u})
        append32(header, value);
    return riff_chunk("RIFF", "ACON" + riff_chunk("anih", header) + riff_list("fram", list + png));
}

// `frames` frames whose one entry says 1 by 1 and whose image, inside the
// frame, is `side` by `side`.
std::string frames_larger_than_their_entries(uint32_t frames, int side) {
    std::string frame = icon_file(2, {{1, 1, dib_image(side, side, 1), 0, 0}});
    AniLayout layout;
    layout.frames.assign(frames, frame);
    return ani_file(layout);
}

// An animated cursor whose header and frame list are surrounded by `count`
// empty chunks.
std::string many_chunks(uint32_t count) {
    std::string header;
    for (uint32_t value : {36u, 1u, 1u, 0u, 0u, 0u, 0u, 10u, 1u})
        append32(header, value);
    std::string empty = riff_chunk("JUNK", std::string()), filler;
    for (uint32_t i = 0; i < count / 2; ++i)
        filler += empty;
    return riff_chunk("RIFF", "ACON" + filler + riff_chunk("anih", header) + filler +
                                  riff_list("fram", riff_chunk("icon", cursor_file(32, 32))) + filler);
}

// Files of about 1 MiB that cost a careless reader far more than their
// reading.
void add_costly_files(std::vector<SeedFile>& files) {
    std::string entries = shared_image_directory(LARGEST_ENTRY_COUNT);
    files.push_back({"costly: 65,535 entries sharing one image, one frame", one_frame_ani(entries)});
    files.push_back({"costly: 65,535 entries sharing one image, a cursor file", entries});
    AniLayout crowded;
    crowded.frames.assign(CROWDED_FRAMES, shared_image_directory(480));
    files.push_back({"costly: 64 frames of 480 entries sharing an image", ani_file(crowded)});
    crowded.frames.assign(CROWDED_FRAMES, distinct_image_directory(250));
    files.push_back({"costly: 64 frames of 250 entries, an image each", ani_file(crowded)});
    files.push_back({"costly: 1,024 frames sharing one 1024x1024 PNG past their chunks",
                     frames_sharing_a_png(MANY_FRAMES, 1024)});
    files.push_back({"costly: 128 frames sharing one 1024x1024 PNG past their chunks",
                     frames_sharing_a_png(128, 1024)});
    files.push_back({"costly: 64 frames of 1x1 entries holding 256x256 images",
                     frames_larger_than_their_entries(64, 256)});
    files.push_back({"costly: 87,000 empty chunks around the header and frames", many_chunks(87000)});
    AniLayout many;
    many.frames.assign(MANY_FRAMES / 4, cursor_file(32, 32));
    files.push_back({"costly: 256 frames of 32x32", ani_file(many)});
}

// Animated cursors whose last chunk header, list type, frame header or
// frame entry is cut short by the file's end, at a page boundary or one
// byte before it.
void add_cut_structures(std::vector<SeedFile>& files) {
    for (uint32_t size : CUT_SIZES) {
        std::string animated;
        for (uint32_t length = 1; length < 8; ++length)
            if (animated_ending_with(size, 1, cut_header("rate", length), &animated, 2))
                files.push_back({"cut: a chunk header cut short at the end", animated});
        std::string list = cut_header("LIST", 8);
        set32(list, 4, 4);
        for (uint32_t type = 0; type < 4; ++type)
            if (animated_ending_with(size, 1, list + std::string("fram").substr(0, type), &animated, 2))
                files.push_back({"cut: a list's type cut short at the end", animated});
        for (uint32_t length : {2u, 6u})
            if (frames_ending_with(size, cut_header("icon", length), &animated))
                files.push_back({"cut: a frame's chunk header cut short at the end", animated});
        std::string third = cut_header("icon", 8);
        set32(third, 4, 22);
        std::string entry = icon_file(2, {{32, 32, std::string(), 0, 0}});
        for (uint32_t length : {4u, 14u})
            if (frames_ending_with(size, third + entry.substr(0, length), &animated))
                files.push_back({"cut: a frame's directory cut short at the end", animated});
    }
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
    add_cut_structures(files);
    add_costly_files(files);
    add_hostile_files(files);
    return files;
}
