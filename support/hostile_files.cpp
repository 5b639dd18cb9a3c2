// Files shaped against the module's own line: images whose entries claim
// other sizes, images that start inside their directory's entries, PNG
// images whose text chunks inflate to megabytes or whose data inflates far
// past their rows, and a pack of small files each spending a large share of
// a load. Each must load at a sound size or show its default.
#include "support/malformed_corpus.h"

#include "support/cursor_builders.h"
#include "support/png_builder.h"

namespace {

const uint32_t MANY_FRAMES = 1024;
const uint32_t DEFLATE_LONGEST_MATCH = 258;
const uint32_t INFLATED_TEXT = 1u << 20;   // each text chunk inflates to 1 MiB
const uint32_t TEXT_CHUNKS = 150;          // some 1 MiB of chunks, 150 MiB inflated
const uint32_t INFLATED_ROWS = 64u << 20;  // image data inflating to 64 MiB
const uint32_t PACK_FRAMES = 48;           // at 256 x 256: 3 Mi pixels a file

// Bits written into a deflate stream, least significant first.
class BitWriter {
public:
    void bits(uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bit((value >> i) & 1);
    }
    // A Huffman code, its most significant bit first.
    void code(uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i)
            bit((value >> i) & 1);
    }
    std::string bytes() const {
        return out_ + (filled_ ? std::string(1, static_cast<char>(byte_)) : "");
    }

private:
    void bit(uint32_t value) {
        byte_ |= static_cast<uint8_t>(value << filled_);
        if (++filled_ == 8) {
            out_ += static_cast<char>(byte_);
            byte_ = 0;
            filled_ = 0;
        }
    }
    std::string out_;
    uint8_t byte_ = 0;
    int filled_ = 0;
};

// A zlib stream that inflates to `size` zero bytes (one literal, then the
// longest matches of the fixed codes; `size` is 1 + a multiple of 258),
// some 160 times smaller.
std::string zeros_zlib(uint32_t size) {
    BitWriter writer;
    writer.bits(1, 1);     // the last block
    writer.bits(1, 2);     // fixed codes
    writer.code(0x30, 8);  // literal 0
    for (uint32_t i = 0; i < (size - 1) / DEFLATE_LONGEST_MATCH; ++i) {
        writer.code(0xc5, 8);  // length 258 (code 285)
        writer.code(0, 5);     // distance 1
    }
    writer.code(0, 7);  // end of block
    std::string stream = std::string("\x78\x01", 2) + writer.bytes();
    // Adler-32 of zeros: the low sum stays 1.
    uint32_t adler = (size % 65521) << 16 | 1;
    for (int shift = 24; shift >= 0; shift -= 8)
        stream += static_cast<char>((adler >> shift) & 0xff);
    return stream;
}

uint32_t zeros_size(uint32_t at_least) {
    return 1 +
           (at_least + DEFLATE_LONGEST_MATCH - 1) / DEFLATE_LONGEST_MATCH * DEFLATE_LONGEST_MATCH;
}

// A 32 by 32 black PNG (8-bit RGB rows, all 0), with `chunks` before its
// data.
PngParts black_png(const std::vector<std::string>& chunks) {
    PngParts parts = {32, 32, 8, 2, 0, std::string(32 * (1 + 32 * 3), '\0'), "", "", chunks};
    return parts;
}

std::string frame_of(const std::string& image, int entry_side, int hotspot) {
    return icon_file(2, {{entry_side, entry_side, image, hotspot, hotspot}});
}

std::string animation_of(const std::string& frame, uint32_t frames, uint32_t header_side = 0) {
    AniLayout layout;
    layout.frames.assign(frames, frame);
    layout.width = layout.height = header_side;
    return ani_file(layout);
}

// A cursor file whose first entry's image starts inside the entries: at the
// second entry, whose bytes read as a 40-byte header of a 40 by 2,048
// image; the third entry's image is a sound `side` by `side` one.
std::string image_inside_entries(int side) {
    std::string image = dib_image(side, side, 32);
    std::string file = icon_file(
        2, {{side, side, image, 1, 1}, {side, side, image, 2, 2}, {side, side, image, 3, 3}});
    const size_t second = 6 + 16;
    set32(file, 6 + 12, static_cast<uint32_t>(second));  // the first entry's image offset
    set32(file, second, 40);                             // header size
    set32(file, second + 4, 40);                         // width
    set32(file, second + 8, 2 * 2048);                   // height, colour and mask rows
    set32(file, second + 12, 0x00200001u);               // 1 plane, 32 bits
    return file;
}

}  // namespace

void add_hostile_files(std::vector<SeedFile>& files) {
    std::string png_1x1 = png_image(1, 1);
    files.push_back({"hostile: 1,024 PNG frames of 1x1 whose entries claim 255x255",
                     animation_of(frame_of(png_1x1, 255, 0), MANY_FRAMES)});
    files.push_back(
        {"hostile: an image starting inside its directory's entries", image_inside_entries(32)});
    files.push_back({"hostile: 1,024 frames whose first image starts inside their entries",
                     animation_of(image_inside_entries(4), MANY_FRAMES)});
    std::string text = "Comment";
    text += std::string(2, '\0') + zeros_zlib(zeros_size(INFLATED_TEXT));
    std::string texty =
        png_file(black_png(std::vector<std::string>(TEXT_CHUNKS, png_chunk("zTXt", text))));
    files.push_back(
        {"hostile: a PNG whose 150 text chunks inflate to 150 MiB", frame_of(texty, 32, 3)});
    files.push_back({"hostile: a PNG frame whose 150 text chunks inflate to 150 MiB",
                     animation_of(frame_of(texty, 32, 3), 1)});
    PngParts parts = black_png({});
    std::string png = png_file(parts);
    std::string header = png.substr(0, 8 + 25);
    std::string inflating =
        header + png_chunk("IDAT", zeros_zlib(zeros_size(INFLATED_ROWS))) + png_chunk("IEND", "");
    files.push_back(
        {"hostile: a PNG whose data inflates to 64 MiB past its rows", frame_of(inflating, 32, 3)});
    files.push_back(
        {"hostile: 64 PNG frames whose data inflates far past their rows",
         animation_of(frame_of(header + png_chunk("IDAT", zeros_zlib(zeros_size(1u << 20))) +
                                   png_chunk("IEND", ""),
                               32, 3),
                      64)});
}

std::string budget_spending_file() {
    return animation_of(frame_of(dib_image(1, 1, 32), 1, 0), PACK_FRAMES, 256);
}
