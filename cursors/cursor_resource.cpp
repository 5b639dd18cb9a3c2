#include "cursors/cursor_resource.h"

namespace {

// What falling back to a frame's other images may cost, all frames together:
// as many pixels decoded again as the plan allows the first choices, and a
// few images a frame (each decoded image runs to its frame's end, so the
// bytes read stay a few times the file's).
const uint32_t FALLBACK_PIXELS = MAX_DECODED_PIXELS;
const uint32_t FALLBACKS_A_FRAME = 7;

// The frame's chosen image at the size shown; its pixels stay in the arena
// until the caller gives them back.
bool frame_picture(const uint8_t* file, const CursorTable& table, const CursorPlan& plan,
                   uint32_t frame, PixelArena* arena, Picture* shown) {
    const CursorImage& image = table.images[plan.image_of_frame[frame]];
    Picture decoded;
    if (!decode_image(file + image.offset, image.length, arena, &decoded))
        return false;
    if (decoded.width == plan.width && decoded.height == plan.height) {
        *shown = decoded;
        return true;
    }
    return render_picture(decoded, plan.width, plan.height, plan.edges, arena, shown);
}

// Makes `frame` from its chosen image, or where that does not decode (or
// does not fit the arena) from the next sound image of the frame in the
// plan's order, within what falling back may still cost (`fallback_pixels`).
// Moves the plan's image and hotspot for the frame with it.
bool frame_or_fallback(const uint8_t* file, const CursorTable& table, CursorPlan* plan,
                       uint32_t frame, PixelArena* arena, uint32_t* fallback_pixels,
                       Picture* shown) {
    uint32_t mark = arena->used;
    for (uint32_t fallbacks = 0;; ++fallbacks) {
        if (frame_picture(file, table, *plan, frame, arena, shown))
            return true;
        arena->used = mark;
        if (fallbacks == FALLBACKS_A_FRAME || !fall_back_frame(table, frame, plan))
            return false;
        const CursorImage& next = table.images[plan->image_of_frame[frame]];
        uint32_t pixels = next.image_width * next.image_height;
        if (pixels > *fallback_pixels)
            return false;
        *fallback_pixels -= pixels;
    }
}

}  // namespace

uint32_t make_cursor_resource(const uint8_t* file, const CursorTable& table, CursorPlan* plan,
                              PixelArena* arena, uint8_t** resource) {
    arena->used = 0;
    uint8_t* out = static_cast<uint8_t*>(arena_take(arena, plan->bytes));
    if (!out)
        return 0;
    *resource = out;
    Picture picture;
    uint32_t fallback_pixels = FALLBACK_PIXELS;
    if (!table.animated) {
        if (!frame_or_fallback(file, table, plan, 0, arena, &fallback_pixels, &picture))
            return 0;
        return emit_cursor_image(picture, plan->hot_x[0], plan->hot_y[0], out);
    }
    AnimatedWriter writer;
    begin_animated_cursor(out, plan->frames, plan->steps, plan->width, plan->height, &writer);
    // Each image is decoded and rendered once: a frame made from an image an
    // earlier frame showed is a copy of that frame (1 + its index here).
    uint16_t frame_of_image[MAX_IMAGES] = {};
    for (uint32_t frame = 0; frame < plan->frames; ++frame) {
        uint16_t shown_in = frame_of_image[plan->image_of_frame[frame]];
        if (shown_in) {
            repeat_animated_frame(&writer, shown_in - 1u, plan->hot_x[frame], plan->hot_y[frame]);
            continue;
        }
        // Each frame's pixels are given back once it is written.
        uint32_t mark = arena->used;
        if (!frame_or_fallback(file, table, plan, frame, arena, &fallback_pixels, &picture))
            return 0;
        // Recorded under the image the frame was made from (a fallback's).
        frame_of_image[plan->image_of_frame[frame]] = static_cast<uint16_t>(frame + 1);
        add_animated_frame(&writer, picture, plan->hot_x[frame], plan->hot_y[frame]);
        arena->used = mark;
    }
    return end_animated_cursor(&writer, table.frame_of_step, table.rate_of_step);
}
