// Pixel art enlarged along its edges. Each pixel is compared with its
// neighbours as a (colour, mask) pair, one 32-bit key: with alpha the colour
// itself (every transparent pixel the same key 0), without it the colour's
// 24 bits and the mask as the top byte (0 or 0xff), so a transparent pixel,
// an inverting one and a drawn one are three different colours and every
// new pixel is a copy of an old one. Two pixels match when their keys are
// equal and neither is partly transparent: a soft shadow's or an
// anti-aliased edge's pixels match nothing, so the rules follow hard edges
// only and never cut into soft ones (pictures with a one-bit mask or alpha
// are magnified exactly by the rules below).
//
// Doubling: pixel E, with B above, D left, F right and H below, becomes a
// 2 by 2 block; where B and H differ and D and F differ (E is not inside a
// straight line), a corner takes the colour of the two neighbours that meet
// there when they agree: top left D when D == B, top right F when B == F,
// bottom left D when D == H, bottom right F when H == F. Elsewhere E stays.
// A staircase of single steps becomes a line of half steps, a lone pixel
// stays a lone (doubled) pixel.
//
// Tripling: the same rule for the corners of a 3 by 3 block; an edge's
// middle pixel takes the neighbour on its side where one of the edge's
// corners takes a colour and E differs from the source pixel at the edge's
// other corner (so a thin diagonal keeps its width); the centre stays E.
//
// Outside the picture each pixel's neighbour is the pixel itself.
#include "cursors/edge_magnify.h"

#include "cursors/cursor_parse.h"

namespace {

// Larger pictures are drawn at their size already (128 to 256 px art is
// usually anti-aliased): they keep the area filter.
const uint32_t EDGE_LARGEST_SIDE = 64;
// Pixel art uses a few colours (the defaults use up to 13 (colour, mask)
// pairs; classic 16-colour cursors 17 with the mask); pictures with more are
// drawn with shading that edge rules would cut into.
const uint32_t EDGE_LARGEST_PALETTE = 256;
// Slots of the palette count's open hash table: twice the palette, a power
// of two.
const uint32_t PALETTE_SLOT_BITS = 9;
const uint32_t PALETTE_SLOTS = 1u << PALETTE_SLOT_BITS;
static_assert(PALETTE_SLOTS >= 2 * EDGE_LARGEST_PALETTE, "the palette count needs free slots");
// A key's mask, for pictures without alpha (whose colours have no top byte).
const uint32_t MASK_KEY = 0xff000000u;
const uint32_t OPAQUE = 0xff;
// Each block the arena hands out may start up to this many bytes later.
const uint64_t ARENA_SLACK = 8;

uint32_t key_of(const Picture& picture, uint32_t at) {
    uint32_t colour = picture.colour[at];
    if (picture.alpha)
        return colour >> 24 ? colour : 0;
    return (colour & 0xffffffu) | (picture.mask[at] ? MASK_KEY : 0);
}

// Whether two pixels match (see above).
bool same(uint32_t a, uint32_t b) {
    uint32_t alpha = a >> 24;
    return a == b && (alpha == 0 || alpha == OPAQUE);
}

// The neighbours of one pixel, named as on a keypad's rows:
//   a b c
//   d e f
//   g h i
struct Neighbours {
    uint32_t a, b, c, d, e, f, g, h, i;
};

Neighbours neighbours(const uint32_t* keys, uint32_t width, uint32_t height, uint32_t x,
                      uint32_t y) {
    const uint32_t* row = keys + y * width;
    const uint32_t* above = y ? row - width : row;
    const uint32_t* below = y + 1 < height ? row + width : row;
    uint32_t left = x ? x - 1 : x, right = x + 1 < width ? x + 1 : x;
    Neighbours n = {above[left], above[x], above[right], row[left], row[x],
                    row[right],  below[left], below[x], below[right]};
    return n;
}

void double_keys(const uint32_t* keys, uint32_t width, uint32_t height, uint32_t* out) {
    uint32_t stride = 2 * width;
    for (uint32_t y = 0; y < height; ++y) {
        uint32_t* top = out + 2 * y * stride;
        uint32_t* bottom = top + stride;
        for (uint32_t x = 0; x < width; ++x) {
            Neighbours n = neighbours(keys, width, height, x, y);
            uint32_t* block_top = top + 2 * x;
            uint32_t* block_bottom = bottom + 2 * x;
            block_top[0] = block_top[1] = block_bottom[0] = block_bottom[1] = n.e;
            if (same(n.b, n.h) || same(n.d, n.f))
                continue;
            if (same(n.d, n.b))
                block_top[0] = n.d;
            if (same(n.b, n.f))
                block_top[1] = n.f;
            if (same(n.d, n.h))
                block_bottom[0] = n.d;
            if (same(n.h, n.f))
                block_bottom[1] = n.f;
        }
    }
}

void triple_keys(const uint32_t* keys, uint32_t width, uint32_t height, uint32_t* out) {
    uint32_t stride = 3 * width;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            Neighbours n = neighbours(keys, width, height, x, y);
            uint32_t* r0 = out + 3 * y * stride + 3 * x;
            uint32_t* r1 = r0 + stride;
            uint32_t* r2 = r1 + stride;
            r0[0] = r0[1] = r0[2] = r1[0] = r1[1] = r1[2] = r2[0] = r2[1] = r2[2] = n.e;
            if (same(n.b, n.h) || same(n.d, n.f))
                continue;
            bool top_left = same(n.d, n.b), top_right = same(n.b, n.f);
            bool bottom_left = same(n.d, n.h), bottom_right = same(n.h, n.f);
            if (top_left)
                r0[0] = n.d;
            if (top_right)
                r0[2] = n.f;
            if (bottom_left)
                r2[0] = n.d;
            if (bottom_right)
                r2[2] = n.f;
            if ((top_left && !same(n.e, n.c)) || (top_right && !same(n.e, n.a)))
                r0[1] = n.b;
            if ((top_left && !same(n.e, n.g)) || (bottom_left && !same(n.e, n.a)))
                r1[0] = n.d;
            if ((top_right && !same(n.e, n.i)) || (bottom_right && !same(n.e, n.c)))
                r1[2] = n.f;
            if ((bottom_left && !same(n.e, n.i)) || (bottom_right && !same(n.e, n.g)))
                r2[1] = n.h;
        }
    }
}

uint64_t slack(uint64_t bytes) { return bytes + ARENA_SLACK; }

}  // namespace

uint32_t edge_factor(uint32_t source_width, uint32_t source_height, uint32_t width,
                     uint32_t height) {
    if (!source_width || !source_height || source_width > EDGE_LARGEST_SIDE ||
        source_height > EDGE_LARGEST_SIDE)
        return 1;
    uint32_t across = (width + source_width - 1) / source_width;
    uint32_t down = (height + source_height - 1) / source_height;
    if (across != down || across < 2)
        return 1;
    if (across <= 4)
        return across;
    for (uint32_t factor = 4; factor >= 2; --factor)
        if (across % factor == 0)
            return factor;
    return 4;
}

bool is_pixel_art(const Picture& picture) {
    uint32_t slots[PALETTE_SLOTS];
    bool taken[PALETTE_SLOTS] = {};
    uint32_t colours = 0;
    for (uint32_t at = 0; at < picture.width * picture.height; ++at) {
        uint32_t key = key_of(picture, at);
        uint32_t slot = (key * 2654435761u) >> (32 - PALETTE_SLOT_BITS);
        while (taken[slot] && slots[slot] != key)
            slot = (slot + 1) & (PALETTE_SLOTS - 1);
        if (taken[slot])
            continue;
        if (++colours > EDGE_LARGEST_PALETTE)
            return false;
        taken[slot] = true;
        slots[slot] = key;
    }
    return true;
}

bool magnify_edges(const Picture& source, uint32_t factor, PixelArena* arena, Picture* target) {
    uint32_t width = source.width, height = source.height, pixels = width * height;
    uint32_t* keys = static_cast<uint32_t*>(arena_take(arena, 4 * pixels));
    uint32_t* out = static_cast<uint32_t*>(arena_take(arena, 4 * pixels * (factor == 3 ? 9 : 4)));
    if (!keys || !out)
        return false;
    for (uint32_t at = 0; at < pixels; ++at)
        keys[at] = key_of(source, at);
    if (factor == 3) {
        triple_keys(keys, width, height, out);
    } else {
        double_keys(keys, width, height, out);
        if (factor == 4) {
            uint32_t* twice = static_cast<uint32_t*>(arena_take(arena, 4 * 16 * pixels));
            if (!twice)
                return false;
            double_keys(out, 2 * width, 2 * height, twice);
            out = twice;
        }
    }
    target->width = factor * width;
    target->height = factor * height;
    target->alpha = source.alpha;
    uint32_t count = target->width * target->height;
    target->mask = static_cast<uint8_t*>(arena_take(arena, count));
    if (!target->mask)
        return false;
    // The keys become the colours where they lie.
    target->colour = out;
    for (uint32_t at = 0; at < count; ++at) {
        uint32_t key = out[at];
        if (source.alpha) {
            target->mask[at] = !(key >> 24);
        } else {
            target->mask[at] = (key >> 24) != 0;
            out[at] = key & 0xffffffu;
        }
    }
    return true;
}

uint64_t edge_arena_bytes(uint32_t source_width, uint32_t source_height, uint32_t width,
                          uint32_t height) {
    uint32_t factor = edge_factor(source_width, source_height, width, height);
    if (factor == 1)
        return 0;
    uint64_t pixels = static_cast<uint64_t>(source_width) * source_height;
    uint64_t doubled = factor == 4 ? slack(4 * 4 * pixels) : 0;
    uint64_t out = factor * factor * pixels;
    return slack(4 * pixels) + doubled + slack(4 * out) + slack(out);
}
