#include "support/malformed_corpus.h"

#include <set>

#include "support/cursor_builders.h"
#include "support/file_structure.h"
#include "support/random.h"

namespace {

typedef std::vector<MalformedCursor> Corpus;

const uint32_t HUGE_VALUES[] = {0x7fffffffu, 0x80000000u, 0xfffffff8u, 0xffffffffu};

void add(Corpus& corpus, const char* family, const std::string& bytes,
         EntryKind kind = EntryKind::FILE) {
    corpus.push_back({corpus.size(), family, kind, bytes});
}

bool is_animated(const std::string& bytes) { return bytes.compare(0, 4, "RIFF") == 0; }

void truncations_at_boundaries(Corpus& corpus, const std::vector<SeedFile>& seeds) {
    for (const SeedFile& seed : seeds) {
        std::set<size_t> cuts;
        for (size_t boundary : describe_file_structure(seed.bytes).boundaries)
            for (size_t cut : {boundary - 1, boundary, boundary + 1})
                if (cut > 0 && cut < seed.bytes.size())
                    cuts.insert(cut);
        for (size_t cut : cuts)
            add(corpus, "truncated at a chunk boundary", seed.bytes.substr(0, cut));
    }
}

void truncations_at_random(Corpus& corpus, const std::vector<SeedFile>& seeds, Random& random) {
    for (const SeedFile& seed : seeds)
        for (int i = 0; i < 30; ++i)
            add(corpus, "truncated at a random point",
                seed.bytes.substr(0, 1 + random.below(static_cast<uint32_t>(seed.bytes.size() - 1))));
}

void flipped_bytes(Corpus& corpus, const std::vector<SeedFile>& seeds, Random& random) {
    for (const SeedFile& seed : seeds) {
        uint32_t size = static_cast<uint32_t>(seed.bytes.size());
        for (int i = 0; i < 60; ++i) {
            std::string bytes = seed.bytes;
            int flips = 1 + static_cast<int>(random.below(4));
            for (int flip = 0; flip < flips; ++flip) {
                // Half the flips hit the headers, where lengths and counts live.
                uint32_t at = random.below(2) ? random.below(size < 160 ? size : 160) : random.below(size);
                bytes[at] = static_cast<char>(bytes[at] ^ (1 + random.below(255)));
            }
            add(corpus, "flipped bytes", bytes);
        }
    }
}

void wrong_chunk_lengths(Corpus& corpus, const std::vector<SeedFile>& seeds) {
    for (const SeedFile& seed : seeds) {
        for (const LengthField& field : describe_file_structure(seed.bytes).lengths) {
            uint32_t value = get32(seed.bytes, field.offset);
            uint32_t room = static_cast<uint32_t>(field.room);
            std::set<uint32_t> lengths = {value + 1, value - 1, value + 2, value - 2, value + 3,
                                          value | 1, 0, 1, 3, room + 1, room + 8, room - 1,
                                          value * 2, value + 0x10000};
            lengths.insert(std::begin(HUGE_VALUES), std::end(HUGE_VALUES));
            lengths.erase(value);
            for (uint32_t length : lengths) {
                std::string bytes = seed.bytes;
                set32(bytes, field.offset, length);
                add(corpus, "wrong chunk length", bytes);
            }
        }
    }
}

void frame_counts(Corpus& corpus, const std::vector<SeedFile>& seeds) {
    const uint32_t counts[] = {0, 1, 2, 3, 1024, 1025, 10000, 0xffffffffu};
    for (const SeedFile& seed : seeds) {
        if (!is_animated(seed.bytes))
            continue;
        for (size_t header : describe_file_structure(seed.bytes).anih) {
            for (uint32_t frames : counts) {
                for (uint32_t steps : {frames, 0u, 1u, 10000u}) {
                    std::string bytes = seed.bytes;
                    set32(bytes, header + 4, frames);
                    set32(bytes, header + 8, steps);
                    add(corpus, "frame and step counts", bytes);
                }
            }
        }
    }
    // Files that really hold that many frames, each a tiny cursor.
    for (uint32_t frames : {1024u, 10000u}) {
        AniLayout layout;
        layout.frames.assign(frames, cursor_file(1, 1));
        add(corpus, "frame and step counts", ani_file(layout));
        layout.width = layout.height = 65535;
        add(corpus, "frame and step counts", ani_file(layout));
    }
}

void declared_sizes(Corpus& corpus, const std::vector<SeedFile>& seeds) {
    const uint32_t sides[] = {0, 1, 65535};
    for (const SeedFile& seed : seeds) {
        FileStructure layout = describe_file_structure(seed.bytes);
        for (size_t header : layout.anih)
            for (uint32_t width : sides)
                for (uint32_t height : sides) {
                    std::string bytes = seed.bytes;
                    set32(bytes, header + 12, width);
                    set32(bytes, header + 16, height);
                    add(corpus, "declared sizes", bytes);
                }
        struct Field {
            size_t offset;
            int width;  // 1, 2 or 4 bytes
            std::vector<uint32_t> values;
        };
        std::vector<Field> fields;
        if (!layout.icon_dirs.empty()) {
            size_t dir = layout.icon_dirs[0];
            fields.push_back({dir + 2, 2, {0, 1, 3, 0xffff}});     // type
            fields.push_back({dir + 4, 2, {0, 2, 255, 0xffff}});   // image count
        }
        if (!layout.dir_entries.empty()) {
            size_t entry = layout.dir_entries[0];
            fields.push_back({entry, 1, {0, 1, 255}});              // width
            fields.push_back({entry + 1, 1, {0, 1, 255}});          // height
            fields.push_back({entry + 4, 2, {0, 0xffff}});          // hotspot x / planes
            fields.push_back({entry + 8, 4, {0, 1, 40, 65535, 0xffffffffu}});  // image size
            fields.push_back({entry + 12, 4, {0, 1, 65535, static_cast<uint32_t>(seed.bytes.size()),
                                              0xffffffffu}});       // image offset
        }
        if (!layout.bitmap_headers.empty()) {
            size_t bmp = layout.bitmap_headers[0];
            fields.push_back({bmp, 4, {0, 12, 39, 41, 108, 124, 0xffffffffu}});     // header size
            fields.push_back({bmp + 4, 4, {0, 1, 65535, 0xffffffffu, 0x7fffffffu}});  // width
            fields.push_back({bmp + 8, 4, {0, 1, 2, 65535, 0xffff0001u, 0x7fffffffu}});  // height
            fields.push_back({bmp + 12, 2, {0, 2}});                                  // planes
            fields.push_back({bmp + 14, 2, {0, 1, 2, 3, 64, 0xffff}});              // bits
            fields.push_back({bmp + 16, 4, {1, 2, 3, 4, 5}});                       // compression
            fields.push_back({bmp + 32, 4, {1, 256, 257, 0xffffffffu}});            // colours
        }
        for (const Field& field : fields)
            for (uint32_t value : field.values) {
                std::string bytes = seed.bytes;
                if (field.width == 1)
                    bytes[field.offset] = static_cast<char>(value);
                else if (field.width == 2)
                    set16(bytes, field.offset, value);
                else
                    set32(bytes, field.offset, value);
                if (bytes != seed.bytes)
                    add(corpus, "declared sizes", bytes);
            }
    }
}

// Animated files whose frame list is missing, doubled, nested or mistaken.
void list_structure(Corpus& corpus) {
    std::string frame = cursor_file(32, 32);
    std::string icon = riff_chunk("icon", frame);
    AniLayout plan;
    plan.frames = {frame};
    plan.width = plan.height = 32;
    std::string whole = ani_file(plan);
    FileStructure layout = describe_file_structure(whole);
    std::string header = riff_chunk("anih", whole.substr(layout.anih[0], 36));
    std::string frames = riff_list("fram", icon);
    auto riff = [](const std::string& body) { return riff_chunk("RIFF", "ACON" + body); };

    const std::string bodies[] = {
        header,                                                      // no LIST at all
        header + riff_list("INFO", icon),                            // a list of another type
        header + riff_list("fram", std::string()),                   // an empty frame list
        header + riff_list("fram", frames),                          // frame list nested in one
        header + riff_list("INFO", frames),                          // nested in another list
        frames + header,                                             // frames before the header
        header + frames + frames,                                    // two frame lists
        header + riff_list("fram", "junk") + frames,                 // a broken one first
        header + frames + riff_list("fram", riff_chunk("icon", "x")),
        header + icon,                                               // a frame outside any list
        header + riff_list("fram", riff_chunk("ICON", frame)),       // frames under another name
        header + riff_list("fram", riff_chunk("fram", frame)),
        header + riff_list("fram", icon + icon),                     // more frames than declared
        riff_chunk("anih", whole.substr(layout.anih[0], 20)) + frames,  // a short header
        header + header + frames,
        frames,                                                      // no header
        // A list of length 0 followed by a chunk named like a frame list:
        // loaders that look past a list's end for its type would take it.
        header + std::string("LIST\0\0\0\0", 8) + riff_chunk("fram", icon) + frames,
        header + std::string("LIST\2\0\0\0fr", 10) + std::string("am\0\0", 4) + icon + frames,
        header + std::string("LIST\3\0\0\0fra\0", 12) + frames,
    };
    for (const std::string& body : bodies)
        add(corpus, "frame list missing, nested or mistaken", riff(body));

    std::string other_form = whole;
    other_form.replace(8, 4, "ACOX");
    add(corpus, "frame list missing, nested or mistaken", other_form);
    std::string big_endian = whole;
    big_endian.replace(0, 4, "RIFX");
    add(corpus, "frame list missing, nested or mistaken", big_endian);

    // Sequences and rates that disagree with the header.
    for (const std::vector<uint32_t>& sequence :
         {std::vector<uint32_t>{0, 1, 2}, std::vector<uint32_t>{0xffffffffu}, std::vector<uint32_t>{0}}) {
        AniLayout bad = plan;
        bad.frames = {frame, frame};
        bad.flags = 3;
        bad.sequence = sequence;
        bad.declared_steps = 4;
        add(corpus, "frame list missing, nested or mistaken", ani_file(bad));
        bad.rates = {1};
        add(corpus, "frame list missing, nested or mistaken", ani_file(bad));
    }
    AniLayout no_sequence = plan;
    no_sequence.flags = 3;  // says it has a sequence, has none
    add(corpus, "frame list missing, nested or mistaken", ani_file(no_sequence));
    AniLayout raw = plan;
    raw.flags = 0;  // frames that are not icon files
    add(corpus, "frame list missing, nested or mistaken", ani_file(raw));
}

void other_file_kinds(Corpus& corpus) {
    const char* family = "cursor and icon data, other formats";
    add(corpus, family, png_image(32, 32));
    add(corpus, family, "BM" + dib_image(32, 32, 24));
    add(corpus, family, icon_file(1, {{256, 256, png_image(256, 256), 0, 0}}));
    add(corpus, family, icon_file(2, {{32, 32, dib_image(32, 32, 32), 200, 200}}));  // hotspot outside
    add(corpus, family, icon_file(2, {{4, 4, dib_image(4, 4, 1), 0, 0}}));
    add(corpus, family, icon_file(2, {}));
    add(corpus, family, make_cur(32, 32, 1, 1, 1));
    add(corpus, family, std::string("\0\0\2\0\1\0", 6));
    AniLayout png_sized;
    png_sized.frames = {icon_file(2, {{32, 32, png_image(64, 8), 0, 0}})};
    add(corpus, family, ani_file(png_sized));
}

void empty_and_tiny(Corpus& corpus) {
    const char* family = "empty and tiny files";
    for (const std::string& bytes :
         {std::string(), std::string("R"), std::string("RIFF"), std::string("RIFF\4\0\0\0", 8),
          std::string("RIFF\4\0\0\0ACON", 12), std::string("RIFF\0\0\0\0ACON", 12),
          std::string("RIFF\xff\xff\xff\xff" "ACON", 12), std::string(8, '\0'),
          std::string("\0\0\2\0", 4), std::string(1, '\0')})
        add(corpus, family, bytes);
}

void folders_and_locked_files(Corpus& corpus, const std::vector<SeedFile>& seeds) {
    for (int i = 0; i < 12; ++i)
        add(corpus, "folder in place of the file", std::string(), EntryKind::FOLDER);
    for (const SeedFile& seed : seeds)
        add(corpus, "unreadable file", seed.bytes, EntryKind::UNREADABLE);
    add(corpus, "unreadable file", std::string(), EntryKind::UNREADABLE);
    add(corpus, "unreadable file", "not a cursor", EntryKind::UNREADABLE);
}

void random_junk(Corpus& corpus, Random& random) {
    for (int i = 0; i < 100; ++i) {
        std::string bytes = i % 2 ? std::string("RIFF\0\0\0\0ACON", 12) : std::string();
        if (i % 2)
            set32(bytes, 4, random.next());
        uint32_t length = random.below(4096);
        for (uint32_t j = 0; j < length; ++j)
            bytes += static_cast<char>(random.next());
        add(corpus, "random bytes", bytes);
    }
}

}  // namespace

std::vector<SeedFile> corpus_seed_files() {
    AniLayout one;
    one.frames = {cursor_file(32, 32)};
    one.width = one.height = 32;
    AniLayout three;
    three.frames.assign(3, cursor_file(40, 40));
    AniLayout sequenced;
    sequenced.frames = {cursor_file(32, 32), cursor_file(32, 32, 1)};
    sequenced.flags = 3;
    sequenced.sequence = {0, 1, 1, 0};
    sequenced.rates = {5, 10, 5, 10};
    sequenced.info_list = true;
    AniLayout png;
    png.frames = {icon_file(2, {{32, 32, png_image(32, 32), 3, 3}})};
    AniLayout two_images;
    two_images.frames = {icon_file(2, {{16, 16, dib_image(16, 16, 8), 8, 8},
                                       {32, 32, dib_image(32, 32, 4), 16, 16}})};
    return {
        {"animated, one frame", ani_file(one)},
        {"animated, three frames, no size", ani_file(three)},
        {"animated, sequence, rates, info", ani_file(sequenced)},
        {"animated, PNG frame", ani_file(png)},
        {"animated, two images in a frame", ani_file(two_images)},
        {"animated, test-support layout", make_ani(32, 32, 2)},
        {"cursor, 32-bit", cursor_file(32, 32)},
        {"cursor, monochrome 48", cursor_file(48, 48, 1)},
        {"icon, two images", icon_file(1, {{16, 16, dib_image(16, 16, 24), 0, 0},
                                           {32, 32, dib_image(32, 32, 32), 0, 0}})},
        {"cursor, PNG", icon_file(2, {{48, 48, png_image(48, 48), 1, 1}})},
    };
}

std::vector<MalformedCursor> malformed_cursor_corpus(uint64_t seed) {
    Random random(seed);
    std::vector<SeedFile> seeds = corpus_seed_files();
    Corpus corpus;
    truncations_at_boundaries(corpus, seeds);
    truncations_at_random(corpus, seeds, random);
    flipped_bytes(corpus, seeds, random);
    wrong_chunk_lengths(corpus, seeds);
    frame_counts(corpus, seeds);
    declared_sizes(corpus, seeds);
    list_structure(corpus);
    other_file_kinds(corpus);
    empty_and_tiny(corpus);
    folders_and_locked_files(corpus, seeds);
    random_junk(corpus, random);
    for (const SeedFile& file : large_malformed_files())
        add(corpus, file.name, file.bytes);
    return corpus;
}
