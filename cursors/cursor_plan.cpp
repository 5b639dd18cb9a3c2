#include "cursors/cursor_plan.h"

#include <float.h>
#include <math.h>

#include "cursors/cursor_pixels.h"

namespace {

const double LARGEST_SIDE = 2147483647.0;
// Sides beyond this keep their shape to a part in a few million when
// halved together, so that a side times a target of at most
// MAX_CURSOR_SIDE stays inside 32 bits.
const uint32_t EXACT_SIDE = 1u << 23;

// Each block the arena hands out starts on 8 bytes.
const uint64_t ARENA_ALIGNMENT = 8;
// A picture's bytes a pixel: its colour and its mask.
const uint64_t PICTURE_BYTES_A_PIXEL = 5;

uint32_t longer(uint32_t a, uint32_t b) { return a > b ? a : b; }

uint64_t aligned(uint64_t bytes) { return (bytes + ARENA_ALIGNMENT - 1) / ARENA_ALIGNMENT * ARENA_ALIGNMENT; }

// The arena bytes making one frame from `image` takes at `width` by
// `height`: decoding it, then its picture kept beside the rendered one.
uint64_t frame_arena_bytes(const CursorImage& image, uint32_t width, uint32_t height) {
    uint64_t decoding = decode_arena_bound(image.length, image.image_width, image.image_height);
    uint64_t rendering =
        aligned(PICTURE_BYTES_A_PIXEL * image.image_width * image.image_height) +
        2 * ARENA_ALIGNMENT + PICTURE_BYTES_A_PIXEL * width * height;
    return decoding > rendering ? decoding : rendering;
}
uint32_t distance(uint32_t a, uint32_t b) { return a > b ? a - b : b - a; }

// A scale of 0, an infinite one or a NaN asks for the own size.
bool asks_a_size(float scale) { return scale > 0.0f && scale <= FLT_MAX; }

// `side` of a cursor whose longer side `longest` becomes `target` (at most
// MAX_CURSOR_SIDE), at least 1.
uint32_t shrunk(uint32_t side, uint32_t longest, uint32_t target) {
    while (longest > EXACT_SIDE) {
        longest >>= 1;
        side >>= 1;
    }
    uint32_t result = side * target / longest;
    return result ? result : 1;
}

// The largest longer side from 1 to `target` at which a `width` by `height`
// cursor, shrunk keeping its shape, holds at most `limit` pixels a frame; 0
// when none does. The square root gives it to within a step or two (sides
// are truncated), which the loops settle.
uint32_t largest_fitting_side(uint32_t width, uint32_t height, uint32_t target, uint32_t limit) {
    uint32_t longest = longer(width, height);
    auto fits = [&](uint32_t side) {
        return shrunk(width, longest, side) * shrunk(height, longest, side) <= limit;
    };
    double estimate = static_cast<double>(longest) *
                      sqrt(static_cast<double>(limit) / (static_cast<double>(width) * height));
    uint32_t side = estimate >= target ? target
                    : estimate < 1.0   ? 1
                                       : static_cast<uint32_t>(estimate);
    while (side < target && fits(side + 1))
        ++side;
    while (side > 1 && !fits(side))
        --side;
    return fits(side) ? side : 0;
}

// The image of `frame` closest in size to `width` by `height`, then the
// deepest, then the first.
uint32_t choose_image(const CursorTable& table, const CursorFrame& frame, uint32_t width,
                      uint32_t height) {
    uint32_t best = frame.first_image, best_distance = 0xffffffffu;
    for (uint32_t i = frame.first_image; i < frame.first_image + frame.image_count; ++i) {
        const CursorImage& image = table.images[i];
        uint32_t apart = distance(image.width, width) + distance(image.height, height);
        if (apart < best_distance ||
            (apart == best_distance && image.depth > table.images[best].depth)) {
            best = i;
            best_distance = apart;
        }
    }
    return best;
}

// The size shown: the asked size within the side limit and `limit` pixels
// a frame.
bool fit_size(CursorPlan* plan, uint32_t limit) {
    uint32_t width = plan->asked_width, height = plan->asked_height;
    uint32_t longest = longer(width, height);
    uint32_t target = longest > MAX_CURSOR_SIDE ? MAX_CURSOR_SIDE : longest;
    plan->reduced =
        target < longest || static_cast<uint64_t>(width) * height > static_cast<uint64_t>(limit);
    if (plan->reduced) {
        uint32_t side = largest_fitting_side(width, height, target, limit);
        if (!side)
            return false;
        width = shrunk(width, longest, side);
        height = shrunk(height, longest, side);
    }
    plan->width = width;
    plan->height = height;
    return true;
}

}  // namespace

float effective_scale(float scale) {
    // 0.0 and -0.0 stay (native size); NaN passes, as no comparison holds.
    if (scale < 1.0f && !(scale == 0.0f))
        return 1.0f;
    return scale;
}

int requested_side(int own, float scale) {
    double product = static_cast<double>(own) * static_cast<double>(scale);
    if (!(product >= 0.0) || product > LARGEST_SIDE)
        return 0;
    return static_cast<int>(product);  // truncates toward zero
}

void asked_size(int own_width, int own_height, float scale, int* width, int* height) {
    *width = requested_side(own_width, scale);
    *height = requested_side(own_height, scale);
    if (!*width || !*height)
        *width = *height = 0;
}

bool plan_cursor(const CursorTable& table, const PlanRequest& request, CursorPlan* plan) {
    memset(plan, 0, sizeof *plan);
    float scale = request.scale;
    plan->own_width = table.own_width;
    plan->own_height = table.own_height;
    if (table.several_sizes && !table.header_size) {
        // Such a file has no size of its own: it counts the standard size,
        // at scale 0 too.
        plan->own_width = request.standard_width;
        plan->own_height = request.standard_height;
        if (!asks_a_size(scale))
            scale = 1.0f;
    }
    if (!plan->own_width || !plan->own_height || table.frame_count == 0 ||
        table.frame_count > request.frames)
        return false;
    int width = 0, height = 0;
    if (request.side && request.side <= LARGEST_SIDE)
        width = height = static_cast<int>(request.side);
    else if (asks_a_size(scale) && plan->own_width <= LARGEST_SIDE && plan->own_height <= LARGEST_SIDE)
        asked_size(static_cast<int>(plan->own_width), static_cast<int>(plan->own_height), scale,
                   &width, &height);
    plan->asked_width = width ? static_cast<uint32_t>(width) : plan->own_width;
    plan->asked_height = height ? static_cast<uint32_t>(height) : plan->own_height;
    uint32_t budget = request.pixels < MAX_CURSOR_PIXELS ? request.pixels : MAX_CURSOR_PIXELS;
    if (!fit_size(plan, budget / table.frame_count))
        return false;
    plan->frames = table.frame_count;
    plan->steps = table.step_count;
    plan->pixels = plan->frames * plan->width * plan->height;
    uint64_t frame_bytes = 0;
    for (uint32_t frame = 0; frame < plan->frames; ++frame) {
        uint32_t chosen = choose_image(table, table.frames[frame], plan->width, plan->height);
        const CursorImage& image = table.images[chosen];
        plan->image_of_frame[frame] = static_cast<uint16_t>(chosen);
        // As the system scales a cursor's hotspot with its image: truncated.
        plan->hot_x[frame] = static_cast<uint16_t>(image.hot_x * plan->width / image.image_width);
        plan->hot_y[frame] = static_cast<uint16_t>(image.hot_y * plan->height / image.image_height);
        plan->decoded_pixels += image.image_width * image.image_height;
        uint64_t bytes = frame_arena_bytes(image, plan->width, plan->height);
        if (bytes > frame_bytes)
            frame_bytes = bytes;
        if (plan->decoded_pixels > MAX_DECODED_PIXELS)
            return false;
    }
    plan->bytes = table.animated
                      ? animated_cursor_size(plan->frames, plan->steps, plan->width, plan->height)
                      : cursor_image_size(plan->width, plan->height);
    uint64_t arena_bytes = aligned(plan->bytes) + frame_bytes;
    plan->arena_bytes = arena_bytes < 0xffffffffu ? static_cast<uint32_t>(arena_bytes) : 0xffffffffu;
    return plan->bytes != 0;
}
