#include "support/varied_cursors.h"

#include <vector>

#include "support/cursor_builders.h"

namespace {

const int SIDES[] = {1, 2, 16, 24, 31, 32, 33, 48, 64, 96};
const int LARGE_SIDE = 128;  // one 32-bit image of it passes 64 KiB
const int DIB_BITS[] = {1, 4, 8, 16, 24, 32};
const int CORE_BITS[] = {1, 4, 8, 24};
const int MANY_FRAMES = 40;
const size_t DIR_ENTRY_SIZE_OFFSET = 6 + 8;  // first entry's image size
const uint32_t SEQUENCE_FLAG = 2;

template <typename T, size_t N>
T pick(Random& random, const T (&values)[N]) {
    return values[random.below(N)];
}

bool chance(Random& random, uint32_t percent) { return random.below(100) < percent; }

void note(std::string* description, const std::string& text) {
    if (!description->empty())
        *description += ", ";
    *description += text;
}

std::string image(Random& random, int side, std::string* description) {
    uint32_t kind = random.below(10);
    if (kind == 0 && side <= 64) {
        note(description, "png " + std::to_string(side));
        return png_image(side, side);
    }
    if (kind == 1) {
        int bits = pick(random, CORE_BITS);
        note(description, "core " + std::to_string(side) + "px " + std::to_string(bits) + "-bit");
        return core_dib_image(side, side, bits);
    }
    int bits = pick(random, DIB_BITS);
    note(description, "dib " + std::to_string(side) + "px " + std::to_string(bits) + "-bit");
    return dib_image(side, side, bits);
}

// An icon-format file of one to three images; the first entry's size may
// claim more (bytes follow in the file) or less (the mask left out) than
// its image holds.
std::string icon(Random& random, bool large, std::string* description) {
    std::vector<IconImage> images;
    int count = chance(random, 15) ? 2 + static_cast<int>(random.below(2)) : 1;
    for (int i = 0; i < count; ++i) {
        if (large && i == 0) {
            note(description, "dib 128px 32-bit");
            images.push_back({LARGE_SIDE, LARGE_SIDE, dib_image(LARGE_SIDE, LARGE_SIDE, 32), 0, 0});
            continue;
        }
        int side = pick(random, SIDES);
        images.push_back({side, side, image(random, side, description), side / 2, side / 3});
    }
    std::string file = icon_file(chance(random, 80) ? 2 : 1, images);
    uint32_t declared = get32(file, DIR_ENTRY_SIZE_OFFSET);
    uint32_t change = random.below(10);
    if (change == 0 && count == 1) {
        uint32_t extra = 1 + random.below(64);
        file.append(extra, '\x5a');
        set32(file, DIR_ENTRY_SIZE_OFFSET, declared + extra);
        note(description, "entry size +" + std::to_string(extra));
    } else if (change == 1 && images[0].data.compare(1, 3, "PNG") != 0) {
        int side = images[0].width;
        uint32_t mask = static_cast<uint32_t>(((side + 31) / 32) * 4 * side);
        set32(file, DIR_ENTRY_SIZE_OFFSET, declared - mask);
        note(description, "entry size without mask");
    }
    return file;
}

// Names frames that no step shows (the loaders still build them), and
// whether one lies before a shown frame.
void note_unshown_frames(uint32_t frames, uint32_t steps, uint32_t flags,
                         const std::string& sequence, std::string* description) {
    std::vector<bool> shown(frames, false);
    for (uint32_t step = 0; step < steps; ++step) {
        uint32_t frame = (flags & SEQUENCE_FLAG) && !sequence.empty() ? get32(sequence, 8 + 4 * step) : step;
        if (frame < frames)
            shown[frame] = true;
    }
    bool unshown = false, before_shown = false;
    for (uint32_t frame = 0; frame < frames; ++frame) {
        if (!shown[frame])
            unshown = true;
        else if (unshown)
            before_shown = true;
    }
    if (unshown)
        note(description, before_shown ? "a middle frame no step shows" : "last frames no step shows");
}

VariedCursor animated(Random& random) {
    VariedCursor out;
    std::string* description = &out.description;
    uint32_t frames = chance(random, 10) ? 1 + random.below(MANY_FRAMES) : 1 + random.below(4);
    bool large = chance(random, 6);
    note(description, "animated, " + std::to_string(frames) + " frames");

    std::string frame_chunks;
    for (uint32_t i = 0; i < frames; ++i) {
        std::string data = icon(random, large && i == 0, description);
        if (chance(random, 20) && !(data.size() & 1)) {
            data += '\x33';  // odd: the chunk carries a pad byte the loaders skip
            note(description, "odd frame");
        }
        bool last = i + 1 == frames;
        std::string chunk = riff_chunk("icon", data);
        if (last && (data.size() & 1) && chance(random, 50))
            chunk.resize(chunk.size() - 1);  // the last frame ends the file, no pad
        frame_chunks += chunk;
    }
    std::string list = riff_list("fram", frame_chunks);
    if (chance(random, 10)) {
        set32(list, 4, 4 + 8);  // the list reaches only into its first frame
        note(description, "frame list too short");
    }

    uint32_t steps = frames, flags = 1;
    std::string sequence, rates;
    if (chance(random, 35)) {
        flags |= SEQUENCE_FLAG;
        if (chance(random, 80)) {
            std::vector<uint32_t> order;
            steps = 1 + random.below(2 * frames + 2);
            for (uint32_t i = 0; i < steps; ++i)
                order.push_back(random.below(frames));
            sequence = riff_u32_chunk("seq ", order);
            note(description, std::to_string(steps) + " steps in a sequence");
        } else {
            steps = 1 + random.below(frames);
            note(description, "sequence flag, no sequence");
        }
    } else if (chance(random, 25)) {
        steps = 1 + random.below(frames);
        note(description, "steps without a sequence: " + std::to_string(steps));
    }
    note_unshown_frames(frames, steps, flags, sequence, description);
    if (chance(random, 35)) {
        rates = riff_u32_chunk("rate", std::vector<uint32_t>(steps + random.below(2), 1 + random.below(30)));
        note(description, "rates");
    }
    uint32_t side = chance(random, 40) ? static_cast<uint32_t>(pick(random, SIDES)) : 0;
    std::string header;
    for (uint32_t value : {36u, frames, steps, side, side, 32u, 1u, 1 + random.below(20), flags})
        append32(header, value);

    std::string body = "ACON";
    if (chance(random, 20)) {
        body += riff_list("INFO", riff_chunk("INAM", "odd"));  // a pad byte after it
        note(description, "info");
    }
    body += riff_chunk("anih", header);
    bool frames_last = chance(random, 60);
    std::string extras = rates + sequence;
    body += frames_last ? extras + list : list + extras;
    std::string file = "RIFF";
    append32(file, static_cast<uint32_t>(body.size()));
    file += body;
    uint32_t riff = random.below(8);
    if (riff == 0) {
        set32(file, 4, static_cast<uint32_t>(file.size()));
        note(description, "RIFF length = file size");
    } else if (riff == 1) {
        set32(file, 4, 0xffffffffu);
        note(description, "RIFF length past the file");
    }
    out.bytes = file;
    return out;
}

}  // namespace

VariedCursor varied_cursor(Random& random) {
    if (chance(random, 60))
        return animated(random);
    VariedCursor out;
    out.description = "single image";
    out.bytes = icon(random, chance(random, 5), &out.description);
    return out;
}
