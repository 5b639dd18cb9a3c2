#include "ani_writer.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace cursor_art {
namespace {

constexpr std::uint32_t ANIH_SIZE = 36;
constexpr std::uint32_t ANIH_FLAG_ICON_FRAMES = 1;  // frames are icon-format images
constexpr std::uint32_t BITS_PER_PIXEL = 32;
constexpr std::uint32_t PLANES = 1;

constexpr std::uint16_t ICON_TYPE_CURSOR = 2;
constexpr std::uint32_t ICON_HEADER_SIZE = 6;
constexpr std::uint32_t ICON_ENTRY_SIZE = 16;
constexpr std::uint32_t IMAGE_OFFSET = ICON_HEADER_SIZE + ICON_ENTRY_SIZE;  // 22
constexpr std::uint32_t BITMAP_HEADER_SIZE = 40;
constexpr std::uint32_t BI_RGB = 0;

// The only layouts the defaults use, with their exact byte counts.
struct KnownLayout {
    int size;
    int frames;
    std::uint32_t image_length;     // bitmap header + colour + mask
    std::uint32_t icon_chunk_length;
    std::uint32_t file_length;
};
constexpr KnownLayout KNOWN_LAYOUTS[] = {
    {32, 1, 4264, 4286, 4362},
    {35, 1, 5220, 5242, 5318},
    {32, 2, 4264, 4286, 8656},
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "cursor_art: %s\n", message.c_str());
    std::exit(EXIT_FAILURE);
}

const KnownLayout& layout_for(const CursorFile& file) {
    const int size = file.frames.front().image.width;
    for (const KnownLayout& layout : KNOWN_LAYOUTS) {
        if (layout.size == size && layout.frames == static_cast<int>(file.frames.size())) {
            return layout;
        }
    }
    fail(file.relative_path + ": no known layout for this image size and frame count");
}

void check_length(const CursorFile& file, const char* what, size_t actual, std::uint32_t expected) {
    if (actual != expected) {
        fail(file.relative_path + ": " + what + " is " + std::to_string(actual) + " bytes, expected " +
             std::to_string(expected));
    }
}

class ByteWriter {
public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v & 0xFF));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v & 0xFFFF));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void tag(const char (&four)[5]) {
        for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(four[i]));
    }
    void append(const std::vector<std::uint8_t>& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
    size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// Mask rows hold one bit per pixel, padded to a whole 32-bit word.
size_t mask_row_bytes(int width) { return static_cast<size_t>((width + 31) / 32) * 4; }

void write_colour_rows(ByteWriter& out, const Image& image) {
    // Bottom-up rows of B, G, R, A; transparent pixels are already all zero.
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* px = &image.rgba[static_cast<size_t>(y * image.width + x) * 4];
            out.u8(px[2]);
            out.u8(px[1]);
            out.u8(px[0]);
            out.u8(px[3]);
        }
    }
}

void write_mask_rows(ByteWriter& out, const Image& image) {
    // A set bit marks a transparent pixel; padding bits stay clear.
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(mask_row_bytes(image.width), 0);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t alpha = image.rgba[static_cast<size_t>(y * image.width + x) * 4 + 3];
            if (alpha == 0) {
                row[static_cast<size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.append(row);
    }
}

std::vector<std::uint8_t> encode_frame(const CursorFrame& frame) {
    const Image& image = frame.image;
    const auto colour_bytes = static_cast<std::uint32_t>(image.width * image.height * 4);
    const auto mask_bytes = static_cast<std::uint32_t>(mask_row_bytes(image.width) * image.height);
    const std::uint32_t image_length = BITMAP_HEADER_SIZE + colour_bytes + mask_bytes;

    ByteWriter out;
    out.u16(0);  // reserved
    out.u16(ICON_TYPE_CURSOR);
    out.u16(1);  // one image
    out.u8(static_cast<std::uint8_t>(image.width));
    out.u8(static_cast<std::uint8_t>(image.height));
    out.u8(0);  // colour count: not palettised
    out.u8(0);  // reserved
    out.u16(static_cast<std::uint16_t>(frame.hotspot_x));
    out.u16(static_cast<std::uint16_t>(frame.hotspot_y));
    out.u32(image_length);
    out.u32(IMAGE_OFFSET);

    out.u32(BITMAP_HEADER_SIZE);
    out.u32(static_cast<std::uint32_t>(image.width));
    out.u32(static_cast<std::uint32_t>(image.height * 2));  // colour and mask stacked
    out.u16(static_cast<std::uint16_t>(PLANES));
    out.u16(static_cast<std::uint16_t>(BITS_PER_PIXEL));
    out.u32(BI_RGB);
    out.u32(colour_bytes + mask_bytes);
    out.u32(0);  // horizontal resolution
    out.u32(0);  // vertical resolution
    out.u32(0);  // colours used
    out.u32(0);  // important colours
    write_colour_rows(out, image);
    write_mask_rows(out, image);
    return out.bytes();
}

}  // namespace

std::vector<std::uint8_t> encode_ani(const CursorFile& file) {
    const KnownLayout& layout = layout_for(file);
    const auto frame_count = static_cast<std::uint32_t>(file.frames.size());
    const CursorFrame& first = file.frames.front();

    std::vector<std::vector<std::uint8_t>> icons;
    for (const CursorFrame& frame : file.frames) {
        icons.push_back(encode_frame(frame));
        check_length(file, "frame image", icons.back().size() - IMAGE_OFFSET, layout.image_length);
        check_length(file, "icon chunk", icons.back().size(), layout.icon_chunk_length);
    }

    ByteWriter list;
    list.tag("fram");
    for (const std::vector<std::uint8_t>& icon : icons) {
        list.tag("icon");
        list.u32(static_cast<std::uint32_t>(icon.size()));
        list.append(icon);  // always even, so no pad byte follows
    }

    ByteWriter body;
    body.tag("ACON");
    body.tag("anih");
    body.u32(ANIH_SIZE);
    body.u32(ANIH_SIZE);
    body.u32(frame_count);
    body.u32(frame_count);  // steps: frames play once each, in order
    body.u32(file.header_has_size ? static_cast<std::uint32_t>(first.image.width) : 0);
    body.u32(file.header_has_size ? static_cast<std::uint32_t>(first.image.height) : 0);
    body.u32(file.header_has_size ? BITS_PER_PIXEL : 0);
    body.u32(file.header_has_size ? PLANES : 0);
    body.u32(file.rate);
    body.u32(ANIH_FLAG_ICON_FRAMES);
    body.tag("LIST");
    body.u32(static_cast<std::uint32_t>(list.size()));
    body.append(list.bytes());

    ByteWriter riff;
    riff.tag("RIFF");
    riff.u32(static_cast<std::uint32_t>(body.size()));
    riff.append(body.bytes());
    check_length(file, "file", riff.size(), layout.file_length);
    return riff.bytes();
}

}  // namespace cursor_art
