// Faults the robustness suite found in the module, each kept as a test of
// its own with the smallest file or condition that showed it.
#include <gtest/gtest.h>

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "support/cursor_builders.h"
#include "support/cursor_pipeline.h"
#include "support/malformed_corpus.h"
#include "support/players_files.h"
#include "support/scratch_folder.h"
#include "tests/robustness/support/slot_files.h"

namespace {

std::string ani_with_png_frame(const std::string& png) {
    AniLayout layout;
    layout.frames = {icon_file(2, {{32, 32, png, 3, 3}})};
    return ani_file(layout);
}

bool sound(const std::string& bytes) {
    return module_accepts(reinterpret_cast<const uint8_t*>(bytes.data()),
                          static_cast<uint32_t>(bytes.size()));
}

// Fault 1: an animated cursor whose frame is a PNG image that does not start
// with its header chunk (renamed, moved behind another chunk, cut after the
// signature, or of another length) passed the check, and the system's reader
// then followed a null pointer: the host crashed at the load.
TEST(FoundFaults, APngFrameWithoutItsHeaderChunkFirstIsNeverLoaded) {
    std::string png = png_image(32, 32);
    ASSERT_EQ(std::string("\0\0\0\x0dIHDR", 8), png.substr(8, 8));
    std::string renamed = png, longer = png;
    renamed.replace(12, 4, "ihdr");
    longer[11] = 14;
    const std::string broken[] = {
        renamed,
        png.substr(0, 8) + std::string("\0\0\0\0tEXt\0\0\0\0", 12) + png.substr(8),
        png.substr(0, 8),
        longer,
        png.substr(0, 8 + 8 + 13),  // the header chunk without its checksum
    };
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    for (const std::string& frame : broken) {
        std::string file = ani_with_png_frame(frame);
        EXPECT_FALSE(sound(file));
        ASSERT_TRUE(write_file("plugin\\Cursors\\cursor0.ani", file));
        for (float scale : {0.0f, 2.0f})
            EXPECT_TRUE(load_cursor_file(".\\plugin\\Cursors\\cursor0.ani", scale) == NULL);
    }
    // A whole PNG frame still passes and loads.
    std::string whole = ani_with_png_frame(png);
    EXPECT_TRUE(sound(whole));
    ASSERT_TRUE(write_file("plugin\\Cursors\\cursor0.ani", whole));
    HCURSOR cursor = load_cursor_file(".\\plugin\\Cursors\\cursor0.ani", 0.0f);
    EXPECT_TRUE(cursor != NULL);
    int width = 0, height = 0;
    EXPECT_EQ(1, probe_cursor_size(cursor, &width, &height));
    EXPECT_EQ(32, width);
    DestroyCursor(cursor);
}

// A cursor frame whose image has the small core header (width, height,
// planes, bits) and 32-bit rows: height / 2 colour rows, then the mask rows.
std::string core_header_frame(int width, int height) {
    std::string image;
    append32(image, 12);
    append16(image, static_cast<unsigned>(width));
    append16(image, static_cast<unsigned>(height));
    append16(image, 1);
    append16(image, 8);
    for (int i = 0; i < 256; ++i)  // a grey palette of 3-byte entries
        image.append(3, static_cast<char>(i));
    image.append(static_cast<size_t>(((width + 3) / 4) * 4 * (height / 2)), '\x80');
    image.append(static_cast<size_t>(((width + 31) / 32) * 4 * (height / 2)), '\0');
    return icon_file(2, {{width, height / 2, image, 0, 0}});
}

std::string ani_with_frame(const std::string& frame) {
    AniLayout layout;
    layout.frames = {frame};
    return ani_file(layout);
}

// Fault 2: an animated cursor whose frame image is one row high in all (a
// bitmap height of 1 or -1, counting colour and mask rows together, so no
// row of either) passed the check, and the system's reader divided by zero:
// the host crashed at the load.
TEST(FoundFaults, AFrameImageWithoutARowIsNeverLoaded) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    const char* path = ".\\plugin\\Cursors\\cursor0.ani";
    const size_t HEIGHT_FIELD = 6 + 16 + 8;  // in the frame: directory, entry, then the header
    std::vector<std::string> broken;
    for (int height : {1, -1}) {
        std::string frame = cursor_file(32, 32);
        set32(frame, HEIGHT_FIELD, static_cast<uint32_t>(height));
        broken.push_back(ani_with_frame(frame));
    }
    broken.push_back(ani_with_frame(core_header_frame(32, 1)));
    for (const std::string& file : broken) {
        EXPECT_FALSE(sound(file));
        ASSERT_TRUE(write_file(path + 2, file));
        for (float scale : {0.0f, 1.5f})
            EXPECT_TRUE(load_cursor_file(path, scale) == NULL);
    }
    // Two rows (one of colour, one of mask) are enough, in either header.
    for (const std::string& file :
         {ani_with_frame(core_header_frame(32, 2)), ani_with_frame(cursor_file(32, 1))}) {
        EXPECT_TRUE(sound(file));
        ASSERT_TRUE(write_file(path + 2, file));
        HCURSOR cursor = load_cursor_file(path, 0.0f);
        EXPECT_TRUE(cursor != NULL);
        DestroyCursor(cursor);
    }
}

// Fault 3: a single-image cursor or icon file (not animated, so never
// checked) whose image has no row or no column loaded at its own size, but
// asked for a size (any scale above 1) the system's loader divided by zero:
// the host crashed at the first scaled load.
TEST(FoundFaults, ACursorOrIconImageWithoutARowOrColumnIsNeverLoaded) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    const char* path = ".\\plugin\\Cursors\\cursor0.ani";
    const size_t BITMAP = 6 + 16;  // a one-image file's bitmap header
    std::vector<std::string> broken;
    for (uint32_t height : {0u, 1u, 0xffffffffu}) {
        std::string file = cursor_file(32, 32);
        set32(file, BITMAP + 8, height);
        broken.push_back(file);
    }
    std::string no_width = cursor_file(48, 48, 1);
    set32(no_width, BITMAP + 4, 0);
    broken.push_back(no_width);
    std::string icon = icon_file(1, {{16, 16, dib_image(16, 16, 24), 0, 0}});
    set32(icon, BITMAP, 12);  // read as a core header: 16 wide, 0 high
    broken.push_back(icon);
    for (const std::string& file : broken) {
        EXPECT_FALSE(sound(file));
        ASSERT_TRUE(write_file(path + 2, file));
        for (float scale : {0.0f, 1.5f, 2.0f})
            EXPECT_TRUE(load_cursor_file(path, scale) == NULL);
    }
    // Whole cursor and icon files still load, at the size asked.
    for (const std::string& file :
         {cursor_file(32, 32), cursor_file(48, 48, 1),
          icon_file(1, {{16, 16, dib_image(16, 16, 24), 0, 0}, {32, 32, dib_image(32, 32, 32), 0, 0}})}) {
        EXPECT_TRUE(sound(file));
        ASSERT_TRUE(write_file(path + 2, file));
        HCURSOR cursor = load_cursor_file(path, 1.5f);
        int width = 0, height = 0;
        EXPECT_EQ(1, probe_cursor_size(cursor, &width, &height));
        EXPECT_EQ(width, height);
        EXPECT_TRUE(width == 24 || width == 48 || width == 72) << "width " << width;  // 1.5 x 16, 32, 48
        DestroyCursor(cursor);
    }
}

// Fault 4: an animated cursor with a frame list of length 0 followed by a
// chunk named "fram" passed the check, which skipped the short list and
// checked a later, whole one; the system's reader takes the first list whose
// type it finds after the header, reads frames from bytes that are none, and
// followed a null pointer: the host crashed at the load.
TEST(FoundFaults, AListTooShortForTheTypeItShowsIsNeverLoaded) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    const char* path = ".\\plugin\\Cursors\\cursor0.ani";
    AniLayout layout;
    layout.frames = {cursor_file(32, 32)};
    std::string whole = ani_file(layout);
    size_t list = whole.find("LIST");
    ASSERT_NE(std::string::npos, list);
    std::string header = whole.substr(12, list - 12), frames = whole.substr(list);
    std::string icon = frames.substr(12);
    auto riff = [](const std::string& body) { return riff_chunk("RIFF", "ACON" + body); };
    std::string garbled = riff(header + std::string("LIST\0\0\0\0", 8) + riff_chunk("fram", icon) + frames);
    EXPECT_FALSE(sound(garbled));
    ASSERT_TRUE(write_file(path + 2, garbled));
    EXPECT_TRUE(load_cursor_file(path, 0.0f) == NULL);
    // A first list whose frames follow its type is taken as every reader
    // takes it, the first, its frames read past its short length.
    std::string short_first = riff(header + std::string("LIST\2\0\0\0", 8) + "fram" + icon + frames);
    ASSERT_TRUE(write_file(path + 2, short_first));
    HCURSOR made_safe = load_cursor_file(path, 0.0f);
    EXPECT_EQ(1, cursor_steps(made_safe));
    DestroyCursor(made_safe);
    // A list of another type before the frame list is skipped as before.
    std::string with_info = riff(header + riff_list("INFO", riff_chunk("INAM", "ab")) + frames);
    EXPECT_TRUE(sound(with_info));
    ASSERT_TRUE(write_file(path + 2, with_info));
    HCURSOR cursor = load_cursor_file(path, 0.0f);
    EXPECT_TRUE(cursor != NULL);
    DestroyCursor(cursor);
}

SIZE loaded_size(const char* path, float scale) {
    HCURSOR cursor = load_cursor_file(path, scale);
    SIZE size = {-1, -1};
    int width, height;
    if (probe_cursor_size(cursor, &width, &height)) {
        size.cx = width;
        size.cy = height;
    }
    if (cursor)
        DestroyCursor(cursor);
    return size;
}

// Fault 5: a small animated file declaring many frames at a large size in its
// header (80 KB: 1,024 frames of 1 by 1 pixel, built at the header's 1,024
// by 1,024) passed the check; the system spent 6.5 s and 2 GB of the host's
// memory building it, and a cursor that loaded could take 500 MB of it for
// good. Asked sizes did the same: a fixed scale of 128 asked for cursors of
// 4,096 by 4,096 (200 MB each, 22 of them). Every cursor now stays within
// MAX_CURSOR_SIDE and MAX_CURSOR_PIXELS (the pixels it holds, all frames
// together), built at the largest size that fits.
TEST(FoundFaults, NoCursorTakesMoreThanItsPixelBudget) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    const char* path = ".\\plugin\\Cursors\\cursor0.ani";
    AniLayout many;
    many.frames.assign(1024, cursor_file(1, 1));
    many.width = many.height = 1024;
    AniLayout some = many;
    some.frames.resize(64);
    AniLayout wide_png;
    std::string png = png_image(8, 8);
    set32(png, 16, 0x60ea0000u);  // IHDR width 60,000 (big-endian)
    wide_png.frames = {icon_file(2, {{32, 32, png, 0, 0}})};
    EXPECT_FALSE(sound(ani_file(wide_png)));
    ASSERT_TRUE(write_file(path + 2, ani_file(wide_png)));
    EXPECT_TRUE(load_cursor_file(path, 0.0f) == NULL);
    // 1,024 frames fit at 64 x 64, not larger; 64 frames at the side limit.
    const struct {
        AniLayout layout;
        float scale;
        int side;
    } sizes[] = {{many, 0.0f, 64}, {some, 0.0f, 256}};
    for (const auto& at : sizes) {
        ASSERT_TRUE(write_file(path + 2, ani_file(at.layout)));
        EXPECT_EQ(at.side, loaded_size(path, at.scale).cx) << at.layout.frames.size() << " frames";
    }
    // 64 frames of 32 by 32 load at the size asked up to the side limit
    // (64 x 256 x 256 pixels are the limit), and a single image too.
    AniLayout animation;
    animation.frames.assign(64, cursor_file(32, 32));
    ASSERT_TRUE(sound(ani_file(animation)));
    ASSERT_TRUE(write_file(path + 2, ani_file(animation)));
    EXPECT_EQ(64, loaded_size(path, 2.0f).cx);
    EXPECT_EQ(144, loaded_size(path, 4.5f).cx);
    EXPECT_EQ(256, loaded_size(path, 8.0f).cx);
    ASSERT_TRUE(write_file(path + 2, cursor_file(32, 32)));
    EXPECT_EQ(256, loaded_size(path, 8.0f).cx);
    EXPECT_EQ(256, loaded_size(path, 33.0f).cx);
    EXPECT_EQ(256, loaded_size(path, 128.0f).cx);
}

// Fault 6: small files that each spend a large share of a load (48 frames a
// tiny image each, their header's 256 x 256) held 290 MB for five of them,
// and with 22 such files slots 8 to 21 showed no cursor at all, not even
// their default: the defaults drew on the spent budget. The load is now
// charged exactly what is emitted, the files share what the defaults leave,
// and every slot shows its file at the largest size that fits, or its
// default. What the load may spend counts the bytes the system holds.
TEST(FoundFaults, APackSpendingTheLoadLeavesNoSlotEmpty) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
    std::string spender = budget_spending_file();
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
        ASSERT_TRUE(write_file("plugin\\Cursors\\cursor" + std::to_string(slot) + ".ani", spender));
    for (float scale : {1.0f, 2.0f}) {
        ASSERT_TRUE(load_cursor_set(scale));
        uint64_t bytes = 0;
        int whole = 0, defaults = 0;
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
            int width = 0, height = 0;
            ASSERT_EQ(1, probe_cursor_size(base_cursors[slot], &width, &height)) << slot;
            if (cursor_steps(base_cursors[slot]) == 48) {
                bytes += system_bytes(48, static_cast<uint32_t>(width),
                                      static_cast<uint32_t>(height));
                whole += width == 256;
            } else {
                // Its default from the first load: a reload keeps what a
                // failing slot shows.
                EXPECT_EQ(slot == 10 || slot == 12 ? 35 : 32, width) << slot;
                ++defaults;
            }
        }
        EXPECT_LE(bytes, LOAD_BYTES - DEFAULT_BYTES);
        EXPECT_EQ(2, whole) << "26 MB each the system holds, of some 67 MB";
        EXPECT_LE(16, defaults);
    }
}

}  // namespace
