// A picture rendered at another size by one filter: each target pixel is the
// average of the source's area it covers. Along each axis target pixel j
// covers [j * source, (j + 1) * source) and source pixel s covers
// [s * target, (s + 1) * target), in units of 1 / (source * target) of a
// pixel, so every weight is a whole number and the result is exact and the
// same everywhere. At a whole factor each target pixel lies inside one source
// pixel: pixels repeat and pixel art stays sharp. At another factor above 1
// this is the same as repeating each pixel up to the next whole factor and
// averaging that down by areas (repeating pixels does not change any area's
// average): every source pixel gets the same width, soft only at its edges.
// Smaller, it averages every pixel it covers, colour weighted by alpha, so
// transparent pixels do not darken the edges.
//
// Masks: with alpha the mask is 1 exactly where the rendered alpha is 0.
// Without alpha, the mask is the nearest source pixel's, and so is the colour
// wherever the covered pixels' masks differ (averaging a drawn pixel with a
// transparent one, whose colour is black, would darken it, and averaging it
// with an inverting one would invert part of it); where they agree the colour
// is averaged.
#include "cursors/cursor_parse.h"
#include "cursors/cursor_pixels.h"

namespace {

// The first source pixel target pixel `index` covers, along an axis.
uint32_t first_covered(uint32_t index, uint32_t source, uint32_t target) {
    return index * source / target;
}

// The part of target pixel `index` that source pixel `covered` makes up.
uint32_t overlap(uint32_t index, uint32_t covered, uint32_t source, uint32_t target) {
    uint32_t start = index * source, end = start + source;
    uint32_t covered_start = covered * target, covered_end = covered_start + target;
    uint32_t from = start > covered_start ? start : covered_start;
    uint32_t to = end < covered_end ? end : covered_end;
    return to > from ? to - from : 0;
}

// The source pixel nearest to target pixel `index`'s centre.
uint32_t nearest(uint32_t index, uint32_t source, uint32_t target) {
    return (2 * index + 1) * source / (2 * target);
}

uint32_t channel(uint32_t colour, uint32_t shift) { return (colour >> shift) & 0xff; }

struct Sums {
    uint64_t alpha, red, green, blue;
    bool masked, drawn;  // whether some covered pixel's mask is 1, some 0
};

// The covered pixels' sums, each weighted by its area (and, with alpha, by
// its alpha).
Sums covered_sums(const Picture& source, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    Sums sums = {0, 0, 0, 0, false, false};
    for (uint32_t sy = first_covered(y, source.height, height); sy < source.height; ++sy) {
        uint32_t weight_y = overlap(y, sy, source.height, height);
        if (!weight_y)
            break;
        for (uint32_t sx = first_covered(x, source.width, width); sx < source.width; ++sx) {
            uint32_t weight_x = overlap(x, sx, source.width, width);
            if (!weight_x)
                break;
            uint32_t colour = source.colour[sy * source.width + sx];
            uint64_t weight = static_cast<uint64_t>(weight_x) * weight_y;
            if (source.alpha)
                weight *= channel(colour, 24);
            sums.alpha += weight;
            sums.red += weight * channel(colour, 16);
            sums.green += weight * channel(colour, 8);
            sums.blue += weight * channel(colour, 0);
            bool masked = source.mask[sy * source.width + sx] != 0;
            sums.masked = sums.masked || masked;
            sums.drawn = sums.drawn || !masked;
        }
    }
    return sums;
}

uint32_t rounded(uint64_t sum, uint64_t total) { return static_cast<uint32_t>((sum + total / 2) / total); }

uint32_t averaged_colour(const Sums& sums, uint64_t total) {
    return rounded(sums.red, total) << 16 | rounded(sums.green, total) << 8 | rounded(sums.blue, total);
}

}  // namespace

bool render_picture(const Picture& source, uint32_t width, uint32_t height, PixelArena* arena,
                    Picture* target) {
    if (!source.width || !source.height || !width || !height || width > MAX_IMAGE_SIDE ||
        height > MAX_IMAGE_SIDE)
        return false;
    target->width = width;
    target->height = height;
    target->alpha = source.alpha;
    target->colour = static_cast<uint32_t*>(arena_take(arena, width * height * 4));
    target->mask = static_cast<uint8_t*>(arena_take(arena, width * height));
    if (!target->colour || !target->mask)
        return false;
    // Every target pixel's area, in the units above.
    uint64_t area = static_cast<uint64_t>(source.width) * source.height;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            Sums sums = covered_sums(source, x, y, width, height);
            uint32_t at = y * width + x;
            uint32_t near = nearest(y, source.height, height) * source.width +
                            nearest(x, source.width, width);
            if (source.alpha) {
                uint32_t alpha = rounded(sums.alpha, area);
                target->colour[at] = alpha ? alpha << 24 | averaged_colour(sums, sums.alpha) : 0;
                target->mask[at] = !alpha;
            } else {
                target->mask[at] = source.mask[near];
                target->colour[at] =
                    sums.masked && sums.drawn ? source.colour[near] : averaged_colour(sums, sums.alpha);
            }
        }
    }
    return true;
}
