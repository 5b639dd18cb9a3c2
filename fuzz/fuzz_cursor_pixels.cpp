// libFuzzer target: a cursor's pixels. The first two bytes choose the size
// rendered (1 to 256 a side), the rest is one image of a directory. Whatever
// decodes is rendered both ways (along its edges and as square blocks) in
// an arena of exactly the picture and render_arena_bytes, and written as a
// cursor image and as an animated cursor of two frames, each in a buffer of
// exactly its announced size; at a whole factor neither way adds a (colour,
// mask) pair; the image is taken twice, the arena filled with other bytes
// the second time, and must give the same bytes (no pixel from memory
// nothing wrote); and it decodes as well in an arena of decode_arena_bound's
// size; else abort().
#include <stdlib.h>
#include <string.h>

#include <set>
#include <vector>

#include "cursors/cursor_format.h"
#include "cursors/cursor_pixels.h"
#include "fuzz/fuzz_support.h"

namespace {

const size_t SIZE_BYTES = 2;
const uint32_t ARENA_SIZE = 64u << 20;
const uint16_t FRAME_OF_STEP[] = {0, 1, 0};
const uint32_t RATE_OF_STEP[] = {6, 0, 0xffffffffu};
const uint32_t STEPS = 3, FRAMES = 2;

// Every byte 0 between inputs.
PixelArena arena = {static_cast<uint8_t*>(calloc(ARENA_SIZE, 1)), ARENA_SIZE, 0};

void require_mask_follows_alpha(const Picture& picture) {
    if (!picture.alpha)
        return;
    for (uint32_t i = 0; i < picture.width * picture.height; ++i)
        require(picture.mask[i] == !(picture.colour[i] >> 24));
}

// A (colour, mask) pair as emitted.
uint64_t pair_at(const Picture& picture, uint32_t at) {
    uint32_t colour = picture.colour[at];
    colour = picture.alpha ? (colour >> 24 ? colour : 0) : colour & 0xffffffu;
    return static_cast<uint64_t>(picture.mask[at] != 0) << 32 | colour;
}

// At a whole factor every rendered pair is one of the picture's.
void require_own_pairs(const Picture& decoded, const Picture& rendered) {
    if (rendered.width % decoded.width || rendered.height % decoded.height)
        return;
    std::set<uint64_t> own;
    for (uint32_t i = 0; i < decoded.width * decoded.height; ++i)
        own.insert(pair_at(decoded, i));
    for (uint32_t i = 0; i < rendered.width * rendered.height; ++i)
        require(own.count(pair_at(rendered, i)) == 1);
}

// Renders `decoded` in an arena of exactly what render_picture may take
// beside it (the decoded picture kept where it is).
void render_within_bound(const Picture& decoded, uint32_t width, uint32_t height, EdgeStyle edges,
                         Picture* rendered) {
    uint64_t bound = render_arena_bytes(decoded.width, decoded.height, width, height);
    require(bound <= arena.size - arena.used);
    PixelArena bounded = {arena.base, static_cast<uint32_t>(arena.used + bound), arena.used};
    require(render_picture(decoded, width, height, edges, &bounded, rendered));
    arena.used = bounded.used;
}

// The bytes written for the image, or none when it does not decode.
std::vector<uint8_t> emitted(const uint8_t* image, uint32_t length, uint32_t width, uint32_t height,
                             EdgeStyle edges, Picture* decoded) {
    std::vector<uint8_t> bytes;
    arena.used = 0;
    Buffer copy(length);
    if (length)
        memcpy(copy.bytes, image, length);
    Picture rendered;
    if (!decode_image(copy.bytes, length, &arena, decoded))
        return bytes;
    require(decoded->width && decoded->width <= 1024 && decoded->height && decoded->height <= 1024);
    require_mask_follows_alpha(*decoded);
    render_within_bound(*decoded, width, height, edges, &rendered);
    require(rendered.width == width && rendered.height == height && rendered.alpha == decoded->alpha);
    require_mask_follows_alpha(rendered);
    require_own_pairs(*decoded, rendered);
    uint32_t size = cursor_image_size(width, height);
    Buffer single(size);
    require(emit_cursor_image(rendered, 3, 5, single.bytes) == size);
    require(read_u32(single.bytes + 4) == 40 && read_u32(single.bytes + 8) == width &&
            read_u32(single.bytes + 12) == 2 * height);
    uint32_t animated_size = animated_cursor_size(FRAMES, STEPS, width, height);
    Buffer animated(animated_size);
    AnimatedWriter writer;
    begin_animated_cursor(animated.bytes, FRAMES, STEPS, width, height, &writer);
    for (uint32_t i = 0; i < FRAMES; ++i)
        add_animated_frame(&writer, rendered, 1, 2);
    require(end_animated_cursor(&writer, FRAME_OF_STEP, RATE_OF_STEP) == animated_size);
    require(read_u32(animated.bytes + 4) == animated_size - 8);
    bytes.assign(single.bytes, single.bytes + size);
    bytes.insert(bytes.end(), animated.bytes, animated.bytes + animated_size);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < SIZE_BYTES || !arena.base)
        return 0;
    uint32_t width = 1u + data[0], height = 1u + data[1];
    const uint8_t* image = data + SIZE_BYTES;
    uint32_t length = static_cast<uint32_t>(size - SIZE_BYTES);
    Picture decoded;
    std::vector<uint8_t> first;
    for (EdgeStyle edges : {EDGES_SQUARE, EDGES_SMOOTH}) {
        first = emitted(image, length, width, height, edges, &decoded);
        uint32_t used = arena.used;
        memset(arena.base, 0xa5, used);
        std::vector<uint8_t> second = emitted(image, length, width, height, edges, &decoded);
        require(first == second && arena.used == used);
        memset(arena.base, 0, used);
    }
    uint32_t bound = first.empty() ? 0 : decode_arena_bound(length, decoded.width, decoded.height);
    if (bound && bound <= ARENA_SIZE) {
        PixelArena bounded = {arena.base, bound, 0};
        Buffer copy(length);
        memcpy(copy.bytes, image, length);
        require(decode_image(copy.bytes, length, &bounded, &decoded));
        memset(arena.base, 0, bounded.used);
    }
    return 0;
}
