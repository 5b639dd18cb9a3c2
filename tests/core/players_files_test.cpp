// Players' own cursor files through the module's loading code, at their own
// size and at twice it: what the system reads must load (with every frame
// and the image made for the size), what would take a loader outside the
// file, past the pixel limit or into leaks must not, and no load may leave
// GDI objects behind.
#include <gtest/gtest.h>

#include "base/icon_bitmaps.h"
#include "cursors/cursor_file.h"
#include "cursors/cursor_loader.h"
#include "support/cursor_builders.h"
#include "support/gdi_objects.h"
#include "support/players_files.h"
#include "support/scratch_folder.h"

void PrintTo(const PlayersFile& file, std::ostream* out) { *out << file.name; }

namespace {

const char PATH[] = ".\\plugin\\Cursors\\cursor0.ani";

struct Loaded {
    int side, steps, hotspot;
};

Loaded load_at(float scale) {
    Loaded loaded = {0, 0, -1};
    HCURSOR cursor = load_cursor_file(PATH, scale);
    int width = 0, height = 0;
    if (!cursor || !probe_cursor_size(cursor, &width, &height))
        return loaded;
    EXPECT_EQ(width, height);
    loaded.side = width;
    loaded.steps = cursor_steps(cursor);
    ICONINFO info = {};
    if (GetIconInfo(cursor, &info)) {
        loaded.hotspot = static_cast<int>(info.xHotspot);
        delete_icon_bitmaps(info);
    }
    DestroyCursor(cursor);
    return loaded;
}

class PlayersFiles : public testing::TestWithParam<PlayersFile> {
protected:
    void SetUp() override {
        CreateDirectoryA("plugin\\Cursors", NULL);
        ASSERT_TRUE(write_file(PATH + 2, GetParam().bytes));
    }
    ScratchFolder scratch;
};

TEST_P(PlayersFiles, LoadAsTheSystemReadsThemOrNotAtAll) {
    const PlayersFile& file = GetParam();
    const struct {
        float scale;
        int factor;
        int hotspot;
    } loads[] = {{0.0f, 1, file.hotspot_own}, {2.0f, 2, file.hotspot_doubled}};
    for (const auto& at : loads) {
        Loaded loaded = load_at(at.scale);
        EXPECT_EQ(file.own_side * at.factor, loaded.side) << "scale " << at.scale;
        EXPECT_EQ(file.steps, loaded.steps) << "scale " << at.scale;
        if (at.hotspot >= 0) {
            EXPECT_EQ(at.hotspot, loaded.hotspot) << "scale " << at.scale << ": another image";
        }
    }
    // Reloads, as every automatic rescale makes, cost nothing.
    load_at(2.0f);
    long before = gdi_objects(NULL);
    for (int i = 0; i < 10; ++i)
        load_at(2.0f);
    EXPECT_EQ(before, gdi_objects(NULL));
}

INSTANTIATE_TEST_SUITE_P(Classes, PlayersFiles, testing::ValuesIn(players_files()),
                         [](const testing::TestParamInfo<PlayersFile>& info) {
                             return test_name(info.param);
                         });

// Between the check and the load nobody can change the file: it is held
// open, sharing reads only.
TEST(CursorFileCopy, NobodyWritesTheFileWhileItIsOpen) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    ASSERT_TRUE(write_file(PATH + 2, cursor_file(32, 32)));
    CursorFile file;
    ASSERT_TRUE(open_cursor_file(PATH, &file));
    HANDLE writer = CreateFileA(PATH, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, 0, NULL);
    EXPECT_EQ(INVALID_HANDLE_VALUE, writer);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
    HCURSOR reader = static_cast<HCURSOR>(LoadImageA(NULL, PATH, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    EXPECT_TRUE(reader != NULL) << "the system's loader still reads it";
    DestroyCursor(reader);
    close_cursor_file(&file);
    writer = CreateFileA(PATH, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_NE(INVALID_HANDLE_VALUE, writer);
    CloseHandle(writer);
}

}  // namespace

namespace {

// The colours a cursor draws at its own size over black.
std::vector<DWORD> drawn(HCURSOR cursor) {
    const int SIDE = 32;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, SIDE, -SIDE, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = NULL;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ before = SelectObject(dc, canvas);
    DrawIconEx(dc, 0, 0, cursor, SIDE, SIDE, 0, NULL, DI_NORMAL);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + SIDE * SIDE);
    SelectObject(dc, before);
    DeleteObject(canvas);
    DeleteDC(dc);
    return pixels;
}

// A frame that holds its image in 4 and in 32 bits per pixel shows the 32
// bits the player made, as the file's own loader picks them, even where
// the cursor is built from memory.
TEST(PlayersAnimatedFiles, ShowTheDeepestImageOfEachFrame) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    std::string deep = dib_image(32, 32, 32);
    AniLayout both, deep_only;
    both.frames = {icon_file(2, {{32, 32, dib_image(32, 32, 4), 3, 3}, {32, 32, deep, 3, 3}})};
    deep_only.frames = {icon_file(2, {{32, 32, deep, 3, 3}})};
    std::vector<DWORD> expected, seen;
    for (auto* result : {&expected, &seen}) {
        ASSERT_TRUE(write_file(PATH + 2, ani_file(result == &seen ? both : deep_only)));
        for (float scale : {0.0f, 1.0f}) {
            HCURSOR cursor = load_cursor_file(PATH, scale);
            ASSERT_TRUE(cursor != NULL);
            std::vector<DWORD> pixels = drawn(cursor);
            result->insert(result->end(), pixels.begin(), pixels.end());
            DestroyCursor(cursor);
        }
    }
    EXPECT_TRUE(expected == seen);
}

}  // namespace
