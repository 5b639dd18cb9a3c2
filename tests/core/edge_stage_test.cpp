// Pixel art enlarged along its edges: the rules on small pictures of known
// pixels, and the 23 default cursors as the module makes them at 1.5 to 4
// (their own colours only, close to square blocks, the hotspot on its
// pixel), square blocks exactly where the player asks for them.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cursors/cursor_pixels.h"
#include "cursors/cursor_plan.h"
#include "support/scratch_folder.h"

namespace {

const uint32_t ARENA_SIZE = 8u << 20;
const uint32_t TRANSPARENT = 0, OPAQUE_RED = 0xffff0000u, OPAQUE_BLUE = 0xff0000ffu;
// Classic (colour, mask) pairs: drawn black, transparent, inverting.
const uint32_t BLACK = 0, SCREEN = 0, INVERT = 0xffffffu;

struct Arena {
    Arena() : memory(ARENA_SIZE), arena{memory.data(), ARENA_SIZE, 0} {}
    std::vector<uint8_t> memory;
    PixelArena arena;
};

// A picture held by the test: rows of colours, and masks (classic) or none.
struct Held {
    uint32_t width, height;
    bool alpha;
    std::vector<uint32_t> colour;
    std::vector<uint8_t> mask;
    Picture picture() {
        if (alpha)
            for (uint32_t c : colour)
                mask.push_back(!(c >> 24));
        return {width, height, colour.data(), mask.data(), alpha};
    }
};

// A (colour, mask) pair as shown: what the emitted cursor holds.
uint64_t pair_at(const Picture& picture, uint32_t at) {
    uint32_t colour = picture.colour[at];
    if (picture.alpha)
        colour = colour >> 24 ? colour : 0;
    else
        colour &= 0xffffffu;
    return static_cast<uint64_t>(picture.mask[at]) << 32 | colour;
}

std::set<uint64_t> pairs_of(const Picture& picture) {
    std::set<uint64_t> pairs;
    for (uint32_t at = 0; at < picture.width * picture.height; ++at)
        pairs.insert(pair_at(picture, at));
    return pairs;
}

TEST(EdgeStage, StaircasesBecomeLinesInThePicturesOwnColours) {
    // A one-pixel staircase: at 2x the steps fill in by half a pixel; at 3x
    // by a third; at 4x (2x twice) by a quarter; square blocks leave them.
    Held stairs = {3, 3, true,
                   {OPAQUE_RED, TRANSPARENT, TRANSPARENT,
                    OPAQUE_RED, OPAQUE_RED, TRANSPARENT,
                    OPAQUE_RED, OPAQUE_RED, OPAQUE_RED}, {}};
    Held classic = {3, 2, false, {BLACK, INVERT, SCREEN, INVERT, BLACK, SCREEN}, {0, 1, 1, 1, 0, 1}};
    Held soft = {2, 2, true, {OPAQUE_BLUE, 0x80000000u, 0x80000000u, OPAQUE_BLUE}, {}};
    const struct {
        const char* name;
        Held* held;
        uint32_t factor;
        EdgeStyle edges;
        uint32_t x, y;       // a target pixel
        uint64_t expected;   // its (mask, colour)
    } cases[] = {
        {"2x: the step's corner filled", &stairs, 2, EDGES_SMOOTH, 2, 1, OPAQUE_RED},
        {"2x: square blocks keep the step", &stairs, 2, EDGES_SQUARE, 2, 1, 1ull << 32},
        {"3x: the step's corner filled", &stairs, 3, EDGES_SMOOTH, 3, 2, OPAQUE_RED},
        {"3x: the rest of its block kept", &stairs, 3, EDGES_SMOOTH, 4, 2, 1ull << 32},
        {"4x: the step's corner filled", &stairs, 4, EDGES_SMOOTH, 4, 3, OPAQUE_RED},
        {"5x: 4x, then blocks", &stairs, 5, EDGES_SMOOTH, 5, 4, OPAQUE_RED},
        {"a classic step, in its own (colour, mask) pairs", &classic, 2, EDGES_SMOOTH, 1, 2, BLACK},
        {"soft pixels are no edge", &soft, 2, EDGES_SMOOTH, 1, 1, OPAQUE_BLUE},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        Arena memory;
        Picture source = test.held->picture(), target;
        uint32_t width = source.width * test.factor, height = source.height * test.factor;
        ASSERT_TRUE(render_picture(source, width, height, test.edges, &memory.arena, &target));
        EXPECT_EQ(test.expected, pair_at(target, test.y * width + test.x));
        std::set<uint64_t> own = pairs_of(source);
        for (uint64_t pair : pairs_of(target))
            EXPECT_TRUE(own.count(pair)) << "a pair not in the picture: " << std::hex << pair;
        test.held->mask.clear();
    }
}

struct Default {
    std::string name, bytes;
};

std::vector<Default> default_files() {
    std::vector<Default> files;
    std::string folder = std::string(QUILLMERE_SOURCE_DIR) + "\\resources\\cursors\\";
    for (int slot = 0; slot <= 21; ++slot) {
        std::string name = "cursor" + std::to_string(slot) + ".ani";
        files.push_back({name, read_file(folder + name)});
    }
    files.push_back({"Animated\\cursor5.ani", read_file(folder + "Animated\\cursor5.ani")});
    return files;
}

struct Made {
    CursorPlan plan;
    std::vector<Picture> source, shown;  // each frame's
};

Made make(const Default& file, CursorTable* table, float scale, EdgeStyle edges, Arena* memory) {
    Made made;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(file.bytes.data());
    EXPECT_TRUE(parse_cursor_file(bytes, static_cast<uint32_t>(file.bytes.size()), table));
    PlanRequest request = {scale, 32, 32, MAX_CURSOR_PIXELS, MAX_FRAMES, edges, 0};
    EXPECT_TRUE(plan_cursor(*table, request, &made.plan));
    for (uint32_t frame = 0; frame < made.plan.frames; ++frame) {
        const CursorImage& image = table->images[made.plan.image_of_frame[frame]];
        Picture source, shown;
        EXPECT_TRUE(decode_image(bytes + image.offset, image.length, &memory->arena, &source));
        EXPECT_TRUE(render_picture(source, made.plan.width, made.plan.height, edges,
                                   &memory->arena, &shown));
        made.source.push_back(source);
        made.shown.push_back(shown);
    }
    return made;
}

TEST(EdgeStage, DefaultsKeepTheirColoursAndHotspotsAndStayCloseToSquareBlocks) {
    std::unique_ptr<CursorTable> table(new CursorTable);
    std::vector<Default> files = default_files();
    for (float scale : {2.0f, 3.0f}) {
        uint32_t changed = 0;
        for (const Default& file : files) {
            SCOPED_TRACE(testing::Message() << file.name << " at " << scale);
            Arena memory;
            Made smooth = make(file, table.get(), scale, EDGES_SMOOTH, &memory);
            Made square = make(file, table.get(), scale, EDGES_SQUARE, &memory);
            ASSERT_FALSE(smooth.shown.empty());
            uint32_t differ = 0, pixels = 0;
            for (size_t frame = 0; frame < smooth.shown.size(); ++frame) {
                const Picture& source = square.source[frame];
                const Picture& blocks = square.shown[frame];
                std::set<uint64_t> own = pairs_of(source);
                uint32_t factor = blocks.width / source.width;
                for (uint32_t at = 0; at < blocks.width * blocks.height; ++at) {
                    uint32_t x = at % blocks.width, y = at / blocks.width;
                    // Square: each pixel its source pixel's, exactly.
                    ASSERT_EQ(pair_at(source, y / factor * source.width + x / factor),
                              pair_at(blocks, at));
                    uint64_t pair = pair_at(smooth.shown[frame], at);
                    ASSERT_TRUE(own.count(pair)) << "a new colour at " << x << "," << y;
                    differ += pair != pair_at(blocks, at);
                }
                pixels += blocks.width * blocks.height;
            }
            EXPECT_LE(differ, pixels / 20) << "far from square blocks";
            changed += differ > 0;
        }
        EXPECT_GE(changed, files.size() * 3 / 4) << "most defaults follow their edges";
    }
}

TEST(EdgeStage, HotspotsLieInTheBlockOfTheirPixelAtEverySize) {
    std::unique_ptr<CursorTable> table(new CursorTable);
    for (const Default& file : default_files()) {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(file.bytes.data());
        ASSERT_TRUE(parse_cursor_file(bytes, static_cast<uint32_t>(file.bytes.size()), table.get()));
        for (float scale : {1.5f, 2.0f, 2.25f, 3.0f, 4.0f}) {
            SCOPED_TRACE(testing::Message() << file.name << " at " << scale);
            CursorPlan plan;
            PlanRequest request = {scale, 32, 32, MAX_CURSOR_PIXELS, MAX_FRAMES, EDGES_SMOOTH, 0};
            ASSERT_TRUE(plan_cursor(*table, request, &plan));
            for (uint32_t frame = 0; frame < plan.frames; ++frame) {
                const CursorImage& image = table->images[plan.image_of_frame[frame]];
                // Pixel h covers [h, h + 1) x shown / own of the size shown.
                uint32_t own = image.image_width, shown = plan.width;
                EXPECT_LE(image.hot_x * shown, plan.hot_x[frame] * own);
                EXPECT_LT(plan.hot_x[frame] * own, (image.hot_x + 1u) * shown);
                own = image.image_height, shown = plan.height;
                EXPECT_LE(image.hot_y * shown, plan.hot_y[frame] * own);
                EXPECT_LT(plan.hot_y[frame] * own, (image.hot_y + 1u) * shown);
            }
        }
    }
}

}  // namespace
