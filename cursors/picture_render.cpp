// A picture rendered at another size. Pixel art first goes through the edge
// stage (edge_magnify.h) when asked, to the whole factor at or above the
// size shown. Then, at a whole factor of the source, each target pixel is
// the (edge-stage) pixel nearest its centre: whole blocks, looked up by row
// and column, with no division a pixel. At any other size the area filter:
// each target pixel is the average of the source's area it covers. Along
// each axis target pixel j covers [j * source, (j + 1) * source) and source
// pixel s covers [s * target, (s + 1) * target), in units of
// 1 / (source * target) of a pixel, so every weight is a whole number and
// the result is exact and the same everywhere. At another factor above 1
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
#include "cursors/edge_magnify.h"

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

// A source pixel as the target shows it: with alpha, a transparent pixel's
// colour is 0; without, the alpha byte is 0.
uint32_t shown_colour(const Picture& source, uint32_t colour) {
    if (source.alpha)
        return colour >> 24 ? colour : 0;
    return colour & 0xffffffu;
}

// `target` at a whole factor of `source`'s size (or of the picture the
// edge stage made from it): each pixel the nearest one to its centre.
void repeat_pixels(const Picture& source, Picture* target) {
    uint16_t column[MAX_IMAGE_SIDE];
    for (uint32_t x = 0; x < target->width; ++x)
        column[x] = static_cast<uint16_t>(nearest(x, source.width, target->width));
    for (uint32_t y = 0; y < target->height; ++y) {
        uint32_t row = nearest(y, source.height, target->height) * source.width;
        const uint32_t* colour = source.colour + row;
        const uint8_t* mask = source.mask + row;
        uint32_t* out = target->colour + y * target->width;
        uint8_t* out_mask = target->mask + y * target->width;
        for (uint32_t x = 0; x < target->width; ++x) {
            out[x] = shown_colour(source, colour[column[x]]);
            out_mask[x] = source.alpha ? !(out[x] >> 24) : mask[column[x]];
        }
    }
}

void average_areas(const Picture& source, Picture* target) {
    uint32_t width = target->width, height = target->height;
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
}

// Along one axis, where the target is more than half the source's size,
// target pixel j covers at most three source pixels: from `first`, by
// `weight` units each (0 past the last), `near` the one nearest its centre.
const uint32_t MOST_COVERED = 3;
struct Cover {
    uint16_t first, near;
    uint16_t weight[MOST_COVERED];
};

void table_covers(uint32_t source, uint32_t target, Cover* covers) {
    for (uint32_t j = 0; j < target; ++j) {
        Cover& cover = covers[j];
        cover.first = static_cast<uint16_t>(first_covered(j, source, target));
        cover.near = static_cast<uint16_t>(nearest(j, source, target));
        for (uint32_t i = 0; i < MOST_COVERED; ++i)
            cover.weight[i] = cover.first + i < source
                                  ? static_cast<uint16_t>(overlap(j, cover.first + i, source, target))
                                  : 0;
    }
}

// The area filter where the target is more than half the source's size
// each way and the source has at most TABLE_AREA pixels: the same sums,
// each target pixel from its (at most nine) covered pixels, their weights
// looked up by row and column; they fit 32 bits (weights sum to the
// source's area; times 255 for alpha and 255 for a channel). A target pixel
// whose covered pixels are all of one colour is that colour, as the sums
// would give it.
const uint32_t TABLE_AREA = 1u << 16;
static_assert(static_cast<uint64_t>(TABLE_AREA) * (255 * 255 + 255) <= 0xffffffffu,
              "the sums fit 32 bits");

bool fits_table(const Picture& source, const Picture& target) {
    return source.width < 2 * target.width && source.height < 2 * target.height &&
           source.width * source.height <= TABLE_AREA;
}

// Whether every pixel the row and column cover is `one`.
bool one_colour(const Picture& source, const Cover& row, const Cover& column, uint32_t one) {
    for (uint32_t dy = 0; dy < MOST_COVERED && row.weight[dy]; ++dy) {
        const uint32_t* line = source.colour + (row.first + dy) * source.width + column.first;
        for (uint32_t dx = 0; dx < MOST_COVERED && column.weight[dx]; ++dx)
            if (line[dx] != one)
                return false;
    }
    return true;
}

uint32_t rounded32(uint32_t sum, uint32_t total) { return (sum + total / 2) / total; }

void average_by_table(const Picture& source, Picture* target) {
    Cover columns[MAX_IMAGE_SIDE], rows[MAX_IMAGE_SIDE];
    uint32_t source_width = source.width;
    table_covers(source_width, target->width, columns);
    table_covers(source.height, target->height, rows);
    uint32_t area = source_width * source.height;
    for (uint32_t y = 0; y < target->height; ++y) {
        const Cover& row = rows[y];
        for (uint32_t x = 0; x < target->width; ++x) {
            const Cover& column = columns[x];
            uint32_t at = y * target->width + x;
            uint32_t near = row.near * source_width + column.near;
            uint32_t one = source.colour[row.first * source_width + column.first];
            if (one_colour(source, row, column, one)) {
                uint32_t colour = shown_colour(source, one);
                target->colour[at] = colour;
                target->mask[at] = source.alpha ? !(colour >> 24) : source.mask[near];
                continue;
            }
            uint32_t alpha_sum = 0, red = 0, green = 0, blue = 0;
            bool masked = false, drawn = false;
            for (uint32_t dy = 0; dy < MOST_COVERED && row.weight[dy]; ++dy) {
                uint32_t line = (row.first + dy) * source_width + column.first;
                for (uint32_t dx = 0; dx < MOST_COVERED && column.weight[dx]; ++dx) {
                    uint32_t colour = source.colour[line + dx];
                    uint32_t weight = static_cast<uint32_t>(row.weight[dy]) * column.weight[dx];
                    if (source.alpha)
                        weight *= channel(colour, 24);
                    alpha_sum += weight;
                    red += weight * channel(colour, 16);
                    green += weight * channel(colour, 8);
                    blue += weight * channel(colour, 0);
                    bool is_masked = source.mask[line + dx] != 0;
                    masked = masked || is_masked;
                    drawn = drawn || !is_masked;
                }
            }
            uint32_t averaged = 0;
            if (alpha_sum)
                averaged = rounded32(red, alpha_sum) << 16 | rounded32(green, alpha_sum) << 8 |
                           rounded32(blue, alpha_sum);
            if (source.alpha) {
                uint32_t alpha = rounded32(alpha_sum, area);
                target->colour[at] = alpha ? alpha << 24 | averaged : 0;
                target->mask[at] = !alpha;
            } else {
                target->mask[at] = source.mask[near];
                target->colour[at] = masked && drawn ? source.colour[near] : averaged;
            }
        }
    }
}

bool whole_factor(uint32_t source, uint32_t target) { return target >= source && target % source == 0; }

// Blocks the arena may hand out at up to this many bytes past the last.
const uint64_t ARENA_SLACK = 8;

}  // namespace

bool render_picture(const Picture& source, uint32_t width, uint32_t height, EdgeStyle edges,
                    PixelArena* arena, Picture* target) {
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
    // The edge stage's pictures are given back once the target is drawn.
    uint32_t drawn = arena->used;
    const Picture* from = &source;
    Picture edged;
    if (edges == EDGES_SMOOTH) {
        uint32_t factor = edge_factor(source.width, source.height, width, height);
        if (factor > 1 && is_pixel_art(source)) {
            if (!magnify_edges(source, factor, arena, &edged))
                return false;
            from = &edged;
        }
    }
    if (whole_factor(source.width, width) && whole_factor(source.height, height))
        repeat_pixels(*from, target);
    else if (fits_table(*from, *target))
        average_by_table(*from, target);
    else
        average_areas(*from, target);
    arena->used = drawn;
    return true;
}

uint64_t render_arena_bytes(uint32_t source_width, uint32_t source_height, uint32_t width,
                            uint32_t height) {
    uint64_t pixels = static_cast<uint64_t>(width) * height;
    return 4 * pixels + ARENA_SLACK + pixels + ARENA_SLACK +
           edge_arena_bytes(source_width, source_height, width, height);
}
