// Pictures shaped against the renderer's edge stage, each rendered both ways
// at every whole factor it can reach and at factors in between, in memory
// of exactly what the plan counts for it: none is refused, none writes past
// it, and at whole factors none shows a (colour, mask) pair of its own.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cursors/cursor_pixels.h"
#include "cursors/cursor_plan.h"

namespace {

const uint8_t GUARD = 0xa5;
const float BETWEEN[] = {1.5f, 1.875f, 2.25f, 2.5f, 3.3f, 4.5f, 7.9f};

struct Hostile {
    std::string name;
    uint32_t width, height;
    bool alpha;
    std::vector<uint32_t> colour;
    std::vector<uint8_t> mask;
};

// Every pixel from `pixel(x, y)`; with alpha the mask follows it.
template <typename Pixel>
Hostile picture(const std::string& name, uint32_t width, uint32_t height, bool alpha, Pixel pixel) {
    Hostile made = {name, width, height, alpha, {}, {}};
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            uint64_t both = pixel(x, y);  // mask in bit 32
            made.colour.push_back(static_cast<uint32_t>(both));
            made.mask.push_back(alpha ? !(static_cast<uint32_t>(both) >> 24) : (both >> 32) & 1);
        }
    return made;
}

std::vector<Hostile> hostile_pictures() {
    const uint64_t MASKED = 1ull << 32;
    return {
        picture("one pixel", 1, 1, false, [](uint32_t, uint32_t) { return uint64_t(0xffffff); }),
        picture("a row of 64", 64, 1, true,
                [](uint32_t x, uint32_t) { return uint64_t(x % 2 ? 0xff102030u : 0); }),
        picture("a column of 64", 1, 64, false,
                [=](uint32_t, uint32_t y) { return y % 3 ? MASKED | 0xffffff : 0; }),
        // Every pixel a diagonal against its neighbours: every rule fires.
        picture("checkerboard of inverting and drawn pixels", 64, 64, false,
                [=](uint32_t x, uint32_t y) { return (x + y) % 2 ? MASKED | 0xffffff : 0x00ff00; }),
        // The largest palette the edge stage takes, then one more.
        picture("256 colours", 64, 64, true,
                [](uint32_t x, uint32_t y) { return uint64_t(0xff000000u | ((x + 64 * y) % 256)); }),
        picture("257 colours", 64, 64, true,
                [](uint32_t x, uint32_t y) { return uint64_t(0xff000000u | ((x + 64 * y) % 257)); }),
        // Soft pixels between hard ones, and one side past the edge stage's.
        picture("soft diagonals", 63, 64, true,
                [](uint32_t x, uint32_t y) { return uint64_t((x + y) % 3 ? 0x80ffffffu : 0xff000000u); }),
        picture("65 wide", 65, 2, false,
                [=](uint32_t x, uint32_t y) { return (x ^ y) & 1 ? MASKED : 0x123456; }),
    };
}

uint64_t pair_at(const Picture& picture, uint32_t at) {
    uint32_t colour = picture.colour[at];
    colour = picture.alpha ? (colour >> 24 ? colour : 0) : colour & 0xffffffu;
    return static_cast<uint64_t>(picture.mask[at] != 0) << 32 | colour;
}

TEST(HostilePictures, EveryFactorRendersInTheMemoryCountedForItInThePicturesOwnColours) {
    for (Hostile& hostile : hostile_pictures()) {
        SCOPED_TRACE(hostile.name);
        Picture source = {hostile.width, hostile.height, hostile.colour.data(), hostile.mask.data(),
                          hostile.alpha};
        std::set<uint64_t> own;
        for (uint32_t at = 0; at < source.width * source.height; ++at)
            own.insert(pair_at(source, at));
        std::vector<float> factors(BETWEEN, BETWEEN + sizeof BETWEEN / sizeof BETWEEN[0]);
        uint32_t longest = source.width > source.height ? source.width : source.height;
        for (uint32_t whole = 1; whole * longest <= MAX_CURSOR_SIDE; ++whole)
            factors.push_back(static_cast<float>(whole));
        for (float factor : factors)
            for (EdgeStyle edges : {EDGES_SMOOTH, EDGES_SQUARE}) {
                uint32_t width = static_cast<uint32_t>(source.width * factor);
                uint32_t height = static_cast<uint32_t>(source.height * factor);
                if (width > MAX_CURSOR_SIDE || height > MAX_CURSOR_SIDE)
                    continue;
                SCOPED_TRACE(testing::Message() << width << "x" << height << " edges " << edges);
                uint64_t bound = render_arena_bytes(source.width, source.height, width, height);
                std::vector<uint8_t> memory(bound + 64, GUARD);
                PixelArena arena = {memory.data(), static_cast<uint32_t>(bound), 0};
                Picture shown;
                ASSERT_TRUE(render_picture(source, width, height, edges, &arena, &shown));
                for (size_t at = bound; at < memory.size(); ++at)
                    ASSERT_EQ(GUARD, memory[at]) << "written past the memory counted";
                if (width % source.width || height % source.height)
                    continue;
                for (uint32_t at = 0; at < width * height; ++at)
                    ASSERT_TRUE(own.count(pair_at(shown, at))) << "a new pair at " << at;
            }
    }
}

}  // namespace
