// The judged copy the system is handed: it ends before any structure the
// file cuts short, a frame's images lie inside its chunk, and every pixel
// the system decodes is counted.
#include <gtest/gtest.h>

#include "cursors/cursor_layout.h"
#include "tests/support/cursor_builders.h"

namespace {

// An animated cursor of one 32 by 32 frame followed by `tail`, its RIFF
// length the file's own.
std::string ani_ending_with(const std::string& tail) {
    AniLayout layout;
    layout.frames = {cursor_file(32, 32)};
    std::string file = ani_file(layout) + tail;
    set32(file, 4, static_cast<uint32_t>(file.size() - 8));
    return file;
}

bool judge(std::string* bytes, CursorLayout* layout) {
    return judge_cursor_file(reinterpret_cast<uint8_t*>(&(*bytes)[0]),
                             static_cast<uint32_t>(bytes->size()), layout);
}

TEST(CursorCopy, EndsBeforeAStructureTheFileCutsShort) {
    std::string length(4, '\x10');
    const std::string tails[] = {
        "r", "rate", "rate" + length.substr(0, 2), "LIST" + std::string("\4\0\0\0", 4) + "fr",
        std::string("JUNK\0\0\0\0", 8), std::string("JUNK\2\0\0\0ab", 10),  // too short for a list's type
    };
    for (const std::string& tail : tails) {
        std::string file = ani_ending_with(tail);
        size_t whole = file.size() - tail.size();
        CursorLayout layout;
        ASSERT_TRUE(judge(&file, &layout)) << tail;
        EXPECT_EQ(whole, layout.size) << tail;
        EXPECT_EQ(whole - 8, get32(file, 4)) << "the RIFF length ends with the copy";
    }
}

// A frame whose entry points past its own chunk, at an image another chunk
// holds, is refused: the system would decode it for every frame.
TEST(CursorCopy, AFramesImageLiesInsideItsChunk) {
    AniLayout layout;
    std::string frame = cursor_file(32, 32);
    layout.frames = {frame, frame};
    std::string file = ani_file(layout);
    size_t second = file.rfind("icon");
    set32(file, second + 8 + 6 + 12, 0xffff0000u);  // far past its chunk
    CursorLayout judged;
    EXPECT_FALSE(judge(&file, &judged));
}

// Images counted at the size the system decodes them, whatever their
// entries say; an entry count beyond what its bytes can hold images for is
// refused without looking at each entry against the others.
TEST(CursorCopy, CountsWhatTheSystemDecodes) {
    AniLayout claims_small;
    claims_small.frames.assign(64, icon_file(2, {{1, 1, dib_image(256, 256, 1), 0, 0}}));
    std::string file = ani_file(claims_small);
    CursorLayout layout;
    EXPECT_FALSE(judge(&file, &layout)) << "64 x 256 x 256 decoded pixels pass the limit";
    claims_small.frames.resize(32);
    file = ani_file(claims_small);
    ASSERT_TRUE(judge(&file, &layout));
    EXPECT_EQ(32u * (256 * 256 + 1), cursor_cost(reinterpret_cast<const uint8_t*>(file.data()),
                                                  layout, 0, 0, MAX_CURSOR_PIXELS).pixels);

    std::string crowded = icon_file(2, {{32, 32, dib_image(32, 32, 32), 0, 0}});
    set16(crowded, 4, 4000);  // 4,000 entries in a file with room for one image
    EXPECT_FALSE(judge(&crowded, &layout));
}

}  // namespace
