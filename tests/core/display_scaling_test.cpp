// Cursor sizes follow Size alone, not the display's DPI: a file whose images
// come in several sizes takes the standard cursor size at 96 DPI as its own,
// in a process that is DPI-aware too. Run here at 96 DPI, and by
// high_dpi_sizes.sh in a Wine prefix at 144 DPI (150 %), where the system's
// cursor size is 48 for every process: the sizes must be the same.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "cursors/cursor_loader.h"
#include "support/cursor_builders.h"
#include "support/scratch_folder.h"

namespace {

const char PATH[] = "plugin\\cursor.ani";

std::string several_sizes_image() {
    std::vector<IconImage> images;
    for (int side : {32, 48, 64})
        images.push_back({side, side, dib_image(side, side, 32), 1, 1});
    return icon_file(2, images);
}

struct SizeCase {
    const char* name;
    std::string bytes;
    int side_at_1, side_at_2;  // what 96 DPI gives at Size 1.0 and 2.0
};

std::vector<SizeCase> size_cases() {
    AniLayout animated;
    animated.frames = {several_sizes_image(), several_sizes_image()};
    return {
        {"one image of 40", make_cur(40, 40, 1, 1), 40, 80},
        {"one image of 32", make_cur(32, 32, 1, 1), 32, 64},
        {"images of 32, 48 and 64", several_sizes_image(), 32, 64},
        {"animated, frames of 32, 48 and 64", ani_file(animated), 32, 64},
    };
}

int side_at(float scale) {
    HCURSOR cursor = load_cursor_file(PATH, scale);
    int width = 0, height = 0;
    probe_cursor_size(cursor, &width, &height);
    if (cursor)
        DestroyCursor(cursor);
    EXPECT_EQ(width, height);
    return width;
}

// The script running these in the 144 DPI prefix names the system cursor
// size it must see there, proving the prefix is what it says.
void expect_the_display_asked_for() {
    const char* metric = getenv("QUILLMERE_EXPECT_CURSOR_METRIC");
    if (metric) {
        ASSERT_EQ(atoi(metric), GetSystemMetrics(SM_CXCURSOR));
    }
}

void expect_sizes_as_at_96_dpi() {
    ScratchFolder scratch;
    for (const SizeCase& file : size_cases()) {
        ASSERT_TRUE(write_file(PATH, file.bytes));
        EXPECT_EQ(file.side_at_1, side_at(1.0f)) << file.name;
        EXPECT_EQ(file.side_at_2, side_at(2.0f)) << file.name;
    }
}

TEST(DisplayScaling, SizesAsAt96DpiInAProcessNotDpiAware) {
    expect_the_display_asked_for();
    expect_sizes_as_at_96_dpi();
}

TEST(DisplayScaling, SizesAsAt96DpiInADpiAwareProcess) {
    ASSERT_TRUE(SetProcessDPIAware());
    expect_the_display_asked_for();
    expect_sizes_as_at_96_dpi();
}

}  // namespace
