// A cursor's pixels as the module makes them: images of every kind decoded
// to known pixels (and unsound ones refused), the one rendering filter, the
// written resources read back by the system, and players' real files decoded
// exactly as the system decodes them.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "base/icon_bitmaps.h"
#include "cursors/cursor_format.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_parse.h"
#include "cursors/cursor_pixels.h"
#include "support/cursor_builders.h"
#include "support/png_builder.h"
#include "support/scratch_folder.h"

namespace {

const uint32_t ARENA_SIZE = 8u << 20;

// An arena in memory of the test's own.
struct Arena {
    Arena() : memory(ARENA_SIZE), arena{memory.data(), ARENA_SIZE, 0} {}
    std::vector<uint8_t> memory;
    PixelArena arena;
};

std::string bytes_of(std::initializer_list<uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

// A 40-byte bitmap header (or a larger one, zero past the first 40 bytes);
// `rows` counts colour and mask rows, negative for top-down.
std::string info_header(int32_t width, int32_t rows, uint16_t bits, uint32_t compression = 0,
                        uint32_t colours = 0, uint32_t size = 40) {
    std::string header;
    append32(header, size);
    append32(header, static_cast<uint32_t>(width));
    append32(header, static_cast<uint32_t>(rows));
    append16(header, 1);
    append16(header, bits);
    append32(header, compression);
    header += std::string(12, '\0');
    append32(header, colours);
    append32(header, 0);
    return header + std::string(size - 40, '\0');
}

std::string words(std::initializer_list<uint32_t> values) {
    std::string out;
    for (uint32_t value : values)
        append32(out, value);
    return out;
}

struct Decoded {
    const char* name;
    std::string image;
    uint32_t width, height;
    bool alpha;
    std::vector<uint32_t> colour;  // top-down
    std::vector<uint8_t> mask;
};

std::string classic_pair() {
    // 2 by 2, bottom row first: colour rows 10 and 01, AND rows 10 and 10.
    return info_header(2, 4, 1) + words({0, 0xffffff}) + words({0x80, 0x40}) + words({0x80, 0x80});
}

std::string bit_fields_in_larger_header() {
    std::string image = info_header(1, 2, 32, 3, 0, 124);
    set32(image, 40, 0xff);
    set32(image, 44, 0xff00);
    set32(image, 48, 0xff0000);
    return image + words({0xff332211, 0});
}

// Pixel (x, y) of the interlaced test image.
std::string rgb_at(uint32_t x, uint32_t y) { return bytes_of({uint8_t(x * 50), uint8_t(y * 50), 7}); }

std::string interlaced_rows() {
    // 3 by 3: the passes that hold pixels, each a row of filter byte and pixels.
    const uint8_t passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                  {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    std::string rows;
    for (const auto& pass : passes)
        for (uint32_t y = pass[1]; y < 3; y += pass[3]) {
            if (pass[0] >= 3)
                break;
            rows += '\0';
            for (uint32_t x = pass[0]; x < 3; x += pass[2])
                rows += rgb_at(x, y);
        }
    return rows;
}

std::vector<uint32_t> interlaced_colours() {
    std::vector<uint32_t> colours;
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 3; ++x)
            colours.push_back(0xff000000u | (x * 50) << 16 | (y * 50) << 8 | 7);
    return colours;
}

const PngParts RGBA_PNG = {2, 1, 8, 6, 0, bytes_of({0, 10, 20, 30, 40, 1, 2, 3, 0}), "", "", {}};

std::string rgba_png_with(const std::vector<std::string>& chunks, const std::string& more_rows = "") {
    PngParts parts = RGBA_PNG;
    parts.chunks = chunks;
    parts.rows += more_rows;
    return png_file(parts);
}

std::string rgba_png_with_transparency() {
    PngParts parts = RGBA_PNG;
    parts.transparency = std::string(6, '\0');
    return png_file(parts);
}

std::vector<Decoded> decoded_images() {
    return {
        {"1-bit classic pair, inverting pixel kept", classic_pair(), 2, 2, false,
         {0, 0xffffff, 0xffffff, 0}, {1, 0, 1, 0}},
        {"4-bit, an index past the palette reads black",
         info_header(2, 2, 4, 0, 2) + words({0x112233, 0x445566, 0x1f, 0x40}), 2, 1, false,
         {0x445566, 0}, {0, 1}},
        {"8-bit top-down", info_header(1, -4, 8, 0, 3) + words({1, 2, 3, 2, 1, 0, 0x80}), 1, 2,
         false, {3, 2}, {0, 1}},
        {"16-bit 5-5-5", info_header(1, 2, 16) + words({0x7c10, 0}), 1, 1, false, {0xff0084}, {0}},
        {"16-bit bit fields 5-6-5",
         info_header(2, 2, 16, 3) + words({0xf800, 0x07e0, 0x001f, 0x082107e0, 0}), 2, 1, false,
         {0x00ff00, 0x080408}, {0, 0}},
        {"24-bit bottom-up", info_header(1, 4, 24) + words({0x030201, 0x060504, 0, 0}), 1, 2, false,
         {0x060504, 0x030201}, {0, 0}},
        {"32-bit with alpha: the mask is where alpha is 0",
         info_header(2, 2, 32) + words({0x80ff0000, 0x00123456, 0}), 2, 1, true,
         {0x80ff0000, 0x00123456}, {0, 1}},
        {"32-bit without alpha keeps its AND mask",
         info_header(2, 2, 32) + words({0xffffff, 0, 0xc0}), 2, 1, false, {0xffffff, 0}, {1, 1}},
        {"32-bit bit fields in a 124-byte header", bit_fields_in_larger_header(), 1, 1, true,
         {0xff112233}, {0}},
        {"core header, 1 bit",
         words({12, 0x00020001, 0x00010001}) + bytes_of({0, 0, 0, 0xff, 0, 0}) + words({0x80, 0}), 1,
         1, false, {0x0000ff}, {0}},
        {"PNG, straight alpha", png_file(RGBA_PNG), 2, 1, true, {0x280a141e, 0x00010203}, {0, 1}},
        {"PNG with text and a profile, none of them inflated",
         rgba_png_with({png_chunk("zTXt", std::string("k\0\0junk", 7)),
                        png_chunk("iCCP", std::string("p\0\0junk", 7)),
                        png_chunk("iTXt", std::string("k\0\1\0\0\0junk", 10))}),
         2, 1, true, {0x280a141e, 0x00010203}, {0, 1}},
        {"PNG with alpha and a transparency chunk it has no use for", rgba_png_with_transparency(), 2,
         1, true, {0x280a141e, 0x00010203}, {0, 1}},
        {"PNG palette and transparency, an index past the palette reads black",
         png_file({3, 1, 8, 3, 0, bytes_of({0, 0, 1, 5}), bytes_of({255, 0, 0, 0, 255, 0}),
                   bytes_of({0x80}), {}}),
         3, 1, true, {0x80ff0000, 0xff00ff00, 0xff000000}, {0, 0, 0}},
        {"PNG 16-bit grey", png_file({1, 1, 16, 0, 0, bytes_of({0, 0xab, 0xcd}), "", "", {}}), 1, 1,
         true, {0xffababab}, {0}},
        {"PNG interlaced", png_file({3, 3, 8, 2, 1, interlaced_rows(), "", "", {}}), 3, 3, true,
         interlaced_colours(), std::vector<uint8_t>(9, 0)},
    };
}

TEST(CursorPixels, EveryKindOfImageDecodesToItsPixels) {
    for (const Decoded& expected : decoded_images()) {
        SCOPED_TRACE(expected.name);
        Arena memory;
        Picture picture;
        const uint8_t* image = reinterpret_cast<const uint8_t*>(expected.image.data());
        ASSERT_TRUE(decode_image(image, static_cast<uint32_t>(expected.image.size()), &memory.arena, &picture));
        ASSERT_EQ(expected.width, picture.width);
        ASSERT_EQ(expected.height, picture.height);
        EXPECT_EQ(expected.alpha, picture.alpha);
        uint32_t pixels = picture.width * picture.height;
        EXPECT_EQ(expected.colour, std::vector<uint32_t>(picture.colour, picture.colour + pixels));
        EXPECT_EQ(expected.mask, std::vector<uint8_t>(picture.mask, picture.mask + pixels));
    }
}

TEST(CursorPixels, UnsoundImagesAreRefused) {
    PngParts too_wide = {1025, 1, 8, 0, 0, std::string(1026, '\0'), "", "", {}};
    std::string no_end = png_file(RGBA_PNG);
    no_end.resize(no_end.size() - 12);
    const struct {
        const char* name;
        std::string image;
        uint32_t arena_size;
    } refused[] = {
        {"colour rows past the image", classic_pair().substr(0, 40 + 8 + 6), ARENA_SIZE},
        {"wider than 1024", info_header(1025, 2, 8, 0, 1) + std::string(1028 + 132, '\0'), ARENA_SIZE},
        {"run-length compression", info_header(1, 2, 8, 1, 1) + std::string(12, '\0'), ARENA_SIZE},
        {"an arena without room", classic_pair(), 16},
        {"PNG data that inflates a byte past its rows", rgba_png_with({}, "x"), ARENA_SIZE},
        {"PNG data that inflates a megabyte past its rows",
         rgba_png_with({}, std::string(1 << 20, 'x')), ARENA_SIZE},
        {"PNG with an unknown critical chunk", rgba_png_with({png_chunk("QUIL", "x")}), ARENA_SIZE},
        {"PNG wider than 1024", png_file(too_wide), ARENA_SIZE},
        {"PNG without its end", no_end, ARENA_SIZE},
    };
    for (const auto& image : refused) {
        SCOPED_TRACE(image.name);
        Arena memory;
        memory.arena.size = image.arena_size;
        Picture picture;
        EXPECT_FALSE(decode_image(reinterpret_cast<const uint8_t*>(image.image.data()),
                                  static_cast<uint32_t>(image.image.size()), &memory.arena, &picture));
        EXPECT_LE(memory.arena.used, memory.arena.size);
    }
}

// The judgement of a file and the decoder read an image's header in one
// place: a file whose image the decoder refuses is no cursor, and one whose
// image it decodes is, bit fields (as the system's loader takes them) and
// the decoder's own PNG limits among them.
TEST(CursorPixels, AFileIsACursorExactlyWhenItsImageDecodes) {
    std::string odd_depth = png_file(RGBA_PNG), unknown_interlace = odd_depth;
    odd_depth[24] = 3;          // a depth no colour type has
    unknown_interlace[28] = 2;  // no such interlace method
    const struct {
        const char* name;
        std::string image;
        bool sound;
    } images[] = {
        {"32-bit bit fields, the standard masks",
         info_header(1, 2, 32, 3) + words({0xff0000, 0xff00, 0xff, 0x80112233, 0}), true},
        {"16-bit bit fields 5-6-5", info_header(1, 2, 16, 3) + words({0xf800, 0x07e0, 0x001f, 0x1234, 0}),
         true},
        {"32-bit bit fields in a 124-byte header", bit_fields_in_larger_header(), true},
        {"core header, 24 bits", core_dib_image(2, 2, 24), true},
        {"classic pair", classic_pair(), true},
        {"run-length compression", info_header(1, 2, 8, 1, 1) + std::string(12, '\0'), false},
        {"bit fields at 8 bits", info_header(1, 2, 8, 3, 1) + std::string(24, '\0'), false},
        {"colour rows past the image", classic_pair().substr(0, 40 + 8 + 6), false},
        {"PNG", png_file(RGBA_PNG), true},
        {"PNG of a depth no colour type has", odd_depth, false},
        {"PNG of an unknown interlace method", unknown_interlace, false},
    };
    CursorTable* table = new CursorTable;
    for (const auto& image : images) {
        SCOPED_TRACE(image.name);
        std::string file = icon_file(2, {{1, 1, image.image, 0, 0}});
        EXPECT_EQ(image.sound, parse_cursor_file(reinterpret_cast<const uint8_t*>(file.data()),
                                                 static_cast<uint32_t>(file.size()), table));
        Arena memory;
        Picture picture;
        EXPECT_EQ(image.sound, decode_image(reinterpret_cast<const uint8_t*>(image.image.data()),
                                            static_cast<uint32_t>(image.image.size()),
                                            &memory.arena, &picture));
    }
    delete table;
}

// A picture over the test's own vectors.
struct Pixels {
    Pixels(uint32_t width, uint32_t height, bool alpha, std::vector<uint32_t> colour,
           std::vector<uint8_t> mask)
        : colour(colour), mask(mask), picture{width, height, this->colour.data(), this->mask.data(), alpha} {}
    std::vector<uint32_t> colour;
    std::vector<uint8_t> mask;
    Picture picture;
};

const uint32_t RED = 0xffff0000, BLUE = 0xff0000ff, CLEAR = 0, WHITE = 0xffffff, BLACK = 0;

TEST(CursorPixels, RenderingRepeatsAveragesAreasAndWeighsByAlpha) {
    const struct {
        const char* name;
        Pixels source;
        uint32_t width, height;
        std::vector<uint32_t> colour;
        std::vector<uint8_t> mask;
    } renders[] = {
        {"twice: each pixel repeated", Pixels(2, 1, true, {RED, BLUE}, {0, 0}), 4, 2,
         {RED, RED, BLUE, BLUE, RED, RED, BLUE, BLUE}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"1.5 times: every pixel 1.5 wide, soft only where two meet",
         Pixels(4, 1, true, {RED, BLUE, RED, BLUE}, {0, 0, 0, 0}), 6, 1,
         {RED, 0xff800080, BLUE, RED, 0xff800080, BLUE}, {0, 0, 0, 0, 0, 0}},
        {"halved: colour weighted by alpha, no dark fringe",
         Pixels(2, 2, true, {RED, CLEAR, 0x40ff0000, CLEAR}, {0, 1, 0, 1}), 1, 1, {0x50ff0000}, {0}},
        {"halved to nothing: transparent, colour 0",
         Pixels(2, 2, true, {0x01ffffff, CLEAR, CLEAR, CLEAR}, {0, 1, 1, 1}), 1, 1, {CLEAR}, {1}},
        {"without alpha, one mask: colour averaged",
         Pixels(2, 1, false, {WHITE, BLACK}, {0, 0}), 1, 1, {0x808080}, {0}},
        {"without alpha, masks that differ: the nearest pixel's colour; the mask always nearest",
         Pixels(3, 1, false, {WHITE, BLACK, WHITE}, {0, 1, 1}), 2, 1, {WHITE, 0xaaaaaa}, {0, 1}},
    };
    for (const auto& render : renders) {
        SCOPED_TRACE(render.name);
        Arena memory;
        Picture target;
        ASSERT_TRUE(render_picture(render.source.picture, render.width, render.height, EDGES_SQUARE,
                                   &memory.arena, &target));
        uint32_t pixels = render.width * render.height;
        EXPECT_EQ(render.colour, std::vector<uint32_t>(target.colour, target.colour + pixels));
        EXPECT_EQ(render.mask, std::vector<uint8_t>(target.mask, target.mask + pixels));
    }
}

// A bitmap's pixels as the system holds them: 32 bits, top-down.
std::vector<uint32_t> bitmap_pixels(HBITMAP bitmap, uint32_t width, uint32_t height) {
    std::vector<uint32_t> pixels(width * height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(NULL);
    int rows = GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    EXPECT_EQ(static_cast<int>(height), rows);
    return pixels;
}

// What the system built: its colour bitmap (null for a monochrome cursor,
// whose mask holds the AND rows over the XOR rows) and its mask, one value
// a pixel (1 where the AND mask is set).
struct Built {
    bool monochrome;
    std::vector<uint32_t> colour;
    std::vector<uint8_t> mask;
};

Built built_pixels(HICON icon, uint32_t width, uint32_t height) {
    Built built = {false, {}, {}};
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) {
        ADD_FAILURE() << "GetIconInfo failed";
        return built;
    }
    built.monochrome = !info.hbmColor;
    std::vector<uint32_t> mask = bitmap_pixels(info.hbmMask, width, built.monochrome ? 2 * height : height);
    for (uint32_t i = 0; i < width * height; ++i)
        built.mask.push_back((mask[i] & 0xffffff) != 0);
    if (built.monochrome)
        for (uint32_t i = 0; i < width * height; ++i)
            built.colour.push_back(mask[width * height + i] & 0xffffff);
    else
        built.colour = bitmap_pixels(info.hbmColor, width, height);
    delete_icon_bitmaps(info);
    return built;
}

TEST(CursorPixels, WrittenCursorsAreBuiltByTheSystemWithTheirPixels) {
    // 5 wide: the mask rows are padded. With alpha, a transparent pixel's
    // colour is written as 0; without, an inverting pixel stays inverting.
    const Pixels pictures[] = {
        Pixels(5, 2, true, {RED, 0x00123456, 0x80336699, BLUE, RED, CLEAR, RED, BLUE, RED, 0x01020304},
               {0, 1, 0, 0, 0, 1, 0, 0, 0, 0}),
        Pixels(5, 2, false, {WHITE, BLACK, 0x336699, WHITE, BLACK, 0x102030, WHITE, BLACK, WHITE, BLACK},
               {1, 1, 0, 0, 0, 0, 1, 0, 1, 0}),
    };
    for (const Pixels& pixels : pictures) {
        const Picture& picture = pixels.picture;
        SCOPED_TRACE(picture.alpha ? "with alpha" : "without alpha");
        std::vector<uint8_t> bytes(cursor_image_size(5, 2));
        ASSERT_EQ(bytes.size(), emit_cursor_image(picture, 4, 1, bytes.data()));
        HICON cursor = CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), FALSE,
                                                0x00030000, 5, 2, 0);
        ASSERT_TRUE(cursor);
        Built built = built_pixels(cursor, 5, 2);
        DestroyCursor(cursor);
        for (uint32_t i = 0; i < 10; ++i) {
            uint32_t colour = picture.colour[i];
            if (picture.alpha && !(colour >> 24))
                colour = 0;
            EXPECT_EQ(colour, built.colour[i]) << "pixel " << i;
            EXPECT_EQ(picture.mask[i], built.mask[i]) << "pixel " << i;
        }
    }
}

TEST(CursorPixels, WrittenAnimatedCursorsHaveEveryFrameStepAndRate) {
    Pixels frames[] = {Pixels(2, 1, true, {RED, CLEAR}, {0, 1}), Pixels(2, 1, true, {BLUE, RED}, {0, 0})};
    const uint16_t frame_of_step[] = {1, 0, 1};
    const uint32_t rate_of_step[] = {7, 8, 9};
    uint32_t size = animated_cursor_size(2, 3, 2, 1);
    std::vector<uint8_t> bytes(size);
    AnimatedWriter writer;
    begin_animated_cursor(bytes.data(), 2, 3, 2, 1, &writer);
    add_animated_frame(&writer, frames[0].picture, 1, 0);
    add_animated_frame(&writer, frames[1].picture, 0, 0);
    ASSERT_EQ(size, end_animated_cursor(&writer, frame_of_step, rate_of_step));
    const uint8_t* anih = bytes.data() + RIFF_HEADER_SIZE + CHUNK_HEADER_SIZE;
    EXPECT_EQ(words({ANIH_SIZE, 2, 3, 2, 1, 32, 1, 7, 3}), std::string(anih, anih + ANIH_SIZE));
    std::string tail(bytes.end() - 40, bytes.end());
    EXPECT_EQ(std::string("seq ") + words({12, 1, 0, 1}) + "rate" + words({12, 7, 8, 9}), tail);
    HICON cursor = CreateIconFromResourceEx(bytes.data(), size, FALSE, 0x00030000, 2, 1, 0);
    ASSERT_TRUE(cursor);
    Built built = built_pixels(cursor, 2, 1);
    DestroyCursor(cursor);
    EXPECT_EQ(std::vector<uint32_t>({BLUE, RED}), built.colour) << "the first step shows frame 1";
}

// The folder of players' real cursor files beside the project, or "".
std::string real_cursors_folder() {
    for (const char* up : {"\\..\\shared\\real-cursors", "\\..\\..\\shared\\real-cursors"}) {
        std::string folder = std::string(QUILLMERE_SOURCE_DIR) + up;
        if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
            return folder;
    }
    return "";
}

// The first pixel where the module's decode and the system's differ, or "".
std::string first_difference(const Picture& picture, const Built& built) {
    for (uint32_t i = 0; i < picture.width * picture.height; ++i) {
        // The system keeps an alpha image's colour with its alpha, and its
        // AND mask as the file has it (the module's mask follows alpha);
        // without alpha it keeps the colour and the mask.
        uint32_t ours = picture.alpha ? picture.colour[i] : picture.colour[i] & 0xffffff;
        uint32_t theirs = picture.alpha ? built.colour[i] : built.colour[i] & 0xffffff;
        bool masks_differ = !picture.alpha && picture.mask[i] != built.mask[i];
        if (ours != theirs || masks_differ) {
            char text[96];
            snprintf(text, sizeof text, "pixel %u: %08x mask %d, the system's %08x mask %d", i, ours,
                     picture.mask[i], theirs, built.mask[i]);
            return text;
        }
    }
    return "";
}

// The first image of a cursor file as the module reads it, decoded into
// `picture`; false when the module refuses the file. `one_image`: the file
// holds no other (the system then can't choose another) and is no animation
// (whose frames are compared elsewhere; it is not decoded here).
bool decode_as_the_module(const std::string& bytes, std::vector<uint8_t>* memory,
                          Picture* picture, bool* one_image) {
    static CursorTable table;
    const uint8_t* file = reinterpret_cast<const uint8_t*>(bytes.data());
    if (!parse_cursor_file(file, static_cast<uint32_t>(bytes.size()), &table))
        return false;
    *one_image = !table.animated && table.image_count == 1;
    if (table.animated)
        return true;
    PixelArena arena = {memory->data(), static_cast<uint32_t>(memory->size()), 0};
    return decode_image(file + table.images[0].offset, table.images[0].length, &arena, picture);
}

// The files of `folder` matching `pattern`, as paths.
std::vector<std::string> files_in(const std::string& folder, const char* pattern) {
    std::vector<std::string> paths;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return paths;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            paths.push_back(folder + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return paths;
}

// Against the system's own loader: every single-image cursor file of the
// real packs and of the fuzzing corpus that both read has the same size and
// the same pixels at its own size, and the module reads every real file the
// system reads.
TEST(CursorPixels, FilesBothReadHaveTheSystemsSizeAndPixels) {
    std::string root = real_cursors_folder();
    std::vector<std::string> real;
    for (const char* pack : {"\\packs-1\\", "\\packs-2\\"})
        for (const std::string& path : files_in(root.empty() ? "" : root + pack, "*.cur"))
            real.push_back(path);
    std::vector<std::string> paths = real;
    for (const std::string& path :
         files_in(std::string(QUILLMERE_SOURCE_DIR) + "\\fuzz\\corpus\\fuzz_cursor_parse\\", "*"))
        paths.push_back(path);
    std::vector<uint8_t> memory(32u << 20);
    int compared = 0;
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        SCOPED_TRACE(path);
        Picture picture;
        bool one_image = false;
        bool ours = decode_as_the_module(read_file(path), &memory, &picture, &one_image);
        bool real_file = i < real.size();
        // Of the corpus, the system's loader is handed only single images
        // the module reads: on some damaged files (animations among them)
        // it faults.
        if (!real_file && !(ours && one_image))
            continue;
        HANDLE own = LoadImageA(NULL, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE);
        if (!ours) {
            EXPECT_FALSE(own) << "the system reads what the module refuses";
        } else if (own && one_image) {
            int width = 0, height = 0;
            if (probe_cursor_size(static_cast<HCURSOR>(own), &width, &height)) {
                EXPECT_EQ(picture.width, static_cast<uint32_t>(width));
                EXPECT_EQ(picture.height, static_cast<uint32_t>(height));
            }
            HANDLE sized = LoadImageA(NULL, path.c_str(), IMAGE_CURSOR, static_cast<int>(picture.width),
                                      static_cast<int>(picture.height), LR_LOADFROMFILE);
            if (sized) {
                Built built = built_pixels(static_cast<HICON>(sized), picture.width, picture.height);
                EXPECT_EQ("", first_difference(picture, built));
                DestroyCursor(static_cast<HCURSOR>(sized));
                ++compared;
            }
        }
        if (own)
            DestroyCursor(static_cast<HCURSOR>(own));
    }
    EXPECT_TRUE(root.empty() || compared > 0);
    printf("compared %d of %zu files pixel for pixel\n", compared, paths.size());
}

}  // namespace
