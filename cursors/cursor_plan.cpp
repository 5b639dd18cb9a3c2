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
        render_arena_bytes(image.image_width, image.image_height, width, height);
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

// Whether image `a` of a frame ranks before image `b` for a cursor of
// `width` by `height`: closer in size, then deeper, then first.
bool ranks_before(const CursorTable& table, uint32_t a, uint32_t b, uint32_t width,
                  uint32_t height) {
    const CursorImage& first = table.images[a];
    const CursorImage& second = table.images[b];
    uint32_t apart_a = distance(first.width, width) + distance(first.height, height);
    uint32_t apart_b = distance(second.width, width) + distance(second.height, height);
    if (apart_a != apart_b)
        return apart_a < apart_b;
    if (first.depth != second.depth)
        return first.depth > second.depth;
    return a < b;
}

// One side of a frame's hotspot at the size shown: the image's, moved
// inside the image when it lies past its last pixel (a hotspot outside the
// cursor clicks where nothing is drawn), then scaled with the image,
// truncated as the system scales it. An icon's is the centre of the size
// shown. Below `shown_side` (at most MAX_CURSOR_SIDE), so it fits 16 bits.
uint16_t hotspot_side(const CursorImage& image, uint32_t hot, uint32_t image_side,
                      uint32_t shown_side) {
    if (image.centred)
        return static_cast<uint16_t>(shown_side / 2);
    if (hot >= image_side)
        hot = image_side - 1;
    // The centre of the hotspot's pixel, mapped to the size shown, then
    // floored: it lies in that pixel's block at every factor (at 2x pixel 5
    // gives 11, in block 10-11; at 1.5 pixel 5 gives 8, in block 7.5-9), and
    // at 1x it stays. Sides shown are at most MAX_CURSOR_SIDE, so this stays
    // inside 32 bits and below the side shown.
    return static_cast<uint16_t>((2 * hot + 1) * shown_side / (2 * image_side));
}

const uint32_t NO_IMAGE = 0xffffffffu;

// The image of `frame` that ranks next after image `after` (NO_IMAGE: the
// best) for the size `plan` shows; NO_IMAGE when none is left.
uint32_t ranked_image(const CursorTable& table, const CursorPlan& plan, uint32_t frame,
                      uint32_t after) {
    const CursorFrame& images = table.frames[frame];
    uint32_t best = NO_IMAGE;
    for (uint32_t i = images.first_image; i < images.first_image + images.image_count; ++i) {
        if (after != NO_IMAGE && !ranks_before(table, after, i, plan.width, plan.height))
            continue;
        if (best == NO_IMAGE || ranks_before(table, i, best, plan.width, plan.height))
            best = i;
    }
    return best;
}

// Sets `frame`'s image and its hotspot at the size shown.
void use_image(const CursorTable& table, uint32_t frame, uint32_t chosen, CursorPlan* plan) {
    const CursorImage& image = table.images[chosen];
    plan->image_of_frame[frame] = static_cast<uint16_t>(chosen);
    plan->hot_x[frame] = hotspot_side(image, image.hot_x, image.image_width, plan->width);
    plan->hot_y[frame] = hotspot_side(image, image.hot_y, image.image_height, plan->height);
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

uint32_t system_bytes(uint32_t frames, uint32_t width, uint32_t height) {
    uint64_t mask = static_cast<uint64_t>((width + 31) / 32 * 4) * height;
    uint64_t frame = static_cast<uint64_t>(SYSTEM_BYTES_A_PIXEL) * width * height + mask +
                     SYSTEM_BYTES_A_FRAME;
    uint64_t bytes = SYSTEM_BYTES_A_CURSOR + frame * frames;
    return bytes < 0xffffffffu ? static_cast<uint32_t>(bytes) : 0xffffffffu;
}

uint32_t pixels_within(uint32_t bytes, uint32_t frames) {
    // A frame's mask is an eighth of a byte a pixel and at most 4 bytes a
    // row of padding: 65 eighths a pixel and MASK_PADDING a frame bound it.
    const uint32_t MASK_PADDING = 4 * MAX_CURSOR_SIDE;
    if (!frames || bytes <= SYSTEM_BYTES_A_CURSOR)
        return 0;
    uint32_t frame = (bytes - SYSTEM_BYTES_A_CURSOR) / frames;
    if (frame <= SYSTEM_BYTES_A_FRAME + MASK_PADDING)
        return 0;
    uint64_t pixels = static_cast<uint64_t>(frame - SYSTEM_BYTES_A_FRAME - MASK_PADDING) * 8 /
                      (8 * SYSTEM_BYTES_A_PIXEL + 1) * frames;
    return pixels < 0xffffffffu ? static_cast<uint32_t>(pixels) : 0xffffffffu;
}

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

bool fall_back_frame(const CursorTable& table, uint32_t frame, CursorPlan* plan) {
    uint32_t next = ranked_image(table, *plan, frame, plan->image_of_frame[frame]);
    if (next == NO_IMAGE)
        return false;
    use_image(table, frame, next, plan);
    return true;
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
    plan->edges = request.edges;
    plan->frames = table.frame_count;
    plan->steps = table.step_count;
    plan->pixels = plan->frames * plan->width * plan->height;
    uint64_t frame_bytes = 0;
    for (uint32_t frame = 0; frame < plan->frames; ++frame) {
        uint32_t chosen = ranked_image(table, *plan, frame, NO_IMAGE);
        const CursorImage& image = table.images[chosen];
        use_image(table, frame, chosen, plan);
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
