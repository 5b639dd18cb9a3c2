// The straight line a cursor file takes: parsed into a table, planned, and
// made into a resource of the module's own, which a strict reader reads
// back as exactly the planned frames, size, steps and hotspots.
#include <gtest/gtest.h>

#include "support/cursor_builders.h"
#include "support/cursor_pipeline.h"
#include "support/emitted_reader.h"

namespace {

PipelineRun run(const std::string& file, float scale, uint32_t pixels = WHOLE_LOAD_PIXELS,
                uint8_t fill = 0) {
    return run_pipeline(reinterpret_cast<const uint8_t*>(file.data()),
                        static_cast<uint32_t>(file.size()), scale, pixels, WHOLE_LOAD_FRAMES, fill);
}

// An animated cursor of one 32 by 32 frame followed by `tail`, its RIFF
// length the file's own.
std::string ani_ending_with(const std::string& tail) {
    AniLayout layout;
    layout.frames = {cursor_file(32, 32)};
    std::string file = ani_file(layout) + tail;
    set32(file, 4, static_cast<uint32_t>(file.size() - 8));
    return file;
}

TEST(CursorPipeline, EmitsExactlyWhatItPlanned) {
    AniLayout sequenced;
    sequenced.frames = {make_cur(32, 32, 31, 17), make_cur(32, 32, 3, 2), make_cur(32, 32, 0, 0)};
    sequenced.flags = 3;
    sequenced.sequence = {0, 1, 2, 1};
    sequenced.rates = {5, 6, 7, 8};
    std::string several = icon_file(2, {{16, 16, dib_image(16, 16, 32), 1, 1},
                                        {48, 48, dib_image(48, 48, 32), 5, 5},
                                        {32, 32, dib_image(32, 32, 32), 3, 3}});
    const struct {
        std::string file;
        float scale;
        uint32_t side, frames, steps, hot_x, hot_y;
    } cases[] = {
        {make_cur(32, 32, 31, 17), 0.0f, 32, 1, 1, 31, 17},
        {make_cur(32, 32, 31, 17), 1.5f, 48, 1, 1, 47, 26},  // its pixel's centre scaled, floored
        {make_cur(32, 32, 31, 17), 2.0f, 64, 1, 1, 63, 35},
        {ani_file(sequenced), 2.25f, 72, 3, 4, 70, 39},
        {several, 1.5f, 48, 1, 1, 5, 5},  // the standard 32 x 1.5: the 48 image
        {several, 0.0f, 32, 1, 1, 3, 3},
        {ani_ending_with("rate" + std::string(2, '\x10')), 1.0f, 32, 1, 1, 16, 16},  // cut short
        // Every hotspot lies inside the cursor: one past the image is its
        // last pixel, and none wraps in 16 bits as it scales.
        {make_cur(1, 1, 1, 1), 3.0f, 3, 1, 1, 1, 1},
        {make_cur(32, 32, 32, 65535), 8.0f, 256, 1, 1, 252, 252},
        // An icon's entry holds planes and bit count, not a hotspot: the
        // system centres an icon's.
        {icon_file(1, {{32, 32, dib_image(32, 32, 32), 1, 32}}), 1.5f, 48, 1, 1, 24, 24},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << test.file.size() << " bytes at " << test.scale);
        PipelineRun first = run(test.file, test.scale, WHOLE_LOAD_PIXELS, 0x00);
        ASSERT_FALSE(first.resource.empty());
        EmittedCursor read;
        ASSERT_TRUE(read_emitted_cursor(first.resource.data(),
                                        static_cast<uint32_t>(first.resource.size()),
                                        first.table->animated, &read));
        EXPECT_EQ(test.side, read.width);
        EXPECT_EQ(test.side, read.height);
        EXPECT_EQ(test.frames, read.frames);
        EXPECT_EQ(test.steps, read.steps);
        EXPECT_EQ(first.plan.bytes, first.resource.size());
        EXPECT_EQ(test.hot_x, read.hot_x[first.table->frame_of_step[0]]);
        EXPECT_EQ(test.hot_y, read.hot_y[first.table->frame_of_step[0]]);
        for (uint32_t step = 0; step < read.steps && first.table->animated; ++step)
            EXPECT_EQ(first.table->frame_of_step[step], read.frame_of_step[step]);
        // The same file again, in memory filled otherwise: the same bytes.
        EXPECT_TRUE(run(test.file, test.scale, WHOLE_LOAD_PIXELS, 0xa5).resource == first.resource);
    }
    PipelineRun rated = run(ani_file(sequenced), 1.0f);
    EXPECT_EQ(7u, rated.table->rate_of_step[2]);
}

// A frame whose chosen image does not decode is made from its next sound
// image in the order sizes are chosen by, the hotspot with it; a frame with
// none that decodes is no cursor.
TEST(CursorPipeline, AFrameWhoseImageDoesNotDecodeUsesItsNextImage) {
    std::string damaged = png_image(32, 32).substr(0, 40);  // cut off after its header
    const struct {
        std::vector<IconImage> images;
        bool made;
        uint32_t image, hot;
    } cases[] = {
        {{{48, 48, dib_image(48, 48, 32), 30, 30}, {32, 32, damaged, 3, 3}}, true, 0, 20},
        {{{16, 16, dib_image(16, 16, 8), 8, 8},
          {48, 48, dib_image(48, 48, 24), 30, 30},
          {16, 16, dib_image(16, 16, 32), 4, 4},
          {32, 32, damaged, 3, 3}},
         true, 2, 9},  // as close as the first, and deeper
        {{{32, 32, damaged, 3, 3}}, false, 0, 0},
    };
    for (const auto& test : cases) {
        PipelineRun made = run(icon_file(2, test.images), 0.0f);
        ASSERT_TRUE(made.planned);
        ASSERT_EQ(test.made, !made.resource.empty());
        if (!test.made)
            continue;
        EmittedCursor read;
        ASSERT_TRUE(read_emitted_cursor(made.resource.data(),
                                        static_cast<uint32_t>(made.resource.size()), false, &read));
        EXPECT_EQ(STANDARD_SIDE, read.width);
        EXPECT_EQ(test.image, made.plan.image_of_frame[0]);
        EXPECT_EQ(test.hot, read.hot_x[0]);
        EXPECT_EQ(test.hot, made.plan.hot_x[0]);
    }
}

// An image lies after its directory's entries and inside its own frame;
// anything else is no image, and a frame without one no cursor.
TEST(CursorPipeline, AnImageLiesAfterItsEntriesAndInsideItsFrame) {
    AniLayout layout;
    std::string frame = cursor_file(32, 32);
    layout.frames = {frame, frame};
    std::string file = ani_file(layout);
    ASSERT_TRUE(run(file, 1.0f).planned);
    size_t second = file.rfind("icon") + 8;
    const uint32_t offsets[] = {0xffff0000u, 6, 6 + 15, static_cast<uint32_t>(frame.size())};
    for (uint32_t offset : offsets) {
        std::string moved = file;
        set32(moved, second + 6 + 12, offset);
        EXPECT_FALSE(run(moved, 1.0f).parsed) << offset;
    }
}

// The load is charged what is emitted, exactly, and a cursor over what is
// left is shown at the largest size that fits, found without a search.
TEST(CursorPipeline, ChargesWhatItEmitsAndFitsTheRest) {
    AniLayout claims_small;
    claims_small.frames.assign(32, icon_file(2, {{1, 1, dib_image(256, 256, 32), 0, 0}}));
    PipelineRun small = run(ani_file(claims_small), 0.0f);
    ASSERT_TRUE(small.planned);
    EXPECT_EQ(1u, small.plan.width) << "counted at its entry's size, built at it";
    EXPECT_EQ(32u, small.plan.pixels);
    EXPECT_EQ(MAX_DECODED_PIXELS, small.plan.decoded_pixels);
    claims_small.frames.push_back(claims_small.frames[0]);
    EXPECT_FALSE(run(ani_file(claims_small), 0.0f).planned) << "decoding past the limit";

    AniLayout animation;
    animation.frames.assign(10, cursor_file(30, 20));
    std::string file = ani_file(animation);
    for (uint32_t pixels : {10u * 30 * 20, 10u * 30 * 20 - 1, 5000u, 999u, 60u, 9u}) {
        PipelineRun fitted = run(file, 3.0f, pixels);
        // The largest side the slow way: each longer side from 90 down.
        uint32_t expected = 0;
        for (uint32_t side = 90; side >= 1 && !expected; --side) {
            uint32_t width = side, height = side * 60 / 90 ? side * 60 / 90 : 1;
            if (10 * width * height <= pixels)
                expected = width;
        }
        EXPECT_EQ(expected, fitted.planned ? fitted.plan.width : 0) << pixels;
        if (fitted.planned) {
            EXPECT_LE(fitted.plan.pixels, pixels);
        }
    }
}

}  // namespace
