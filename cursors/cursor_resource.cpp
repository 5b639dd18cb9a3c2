#include "cursors/cursor_resource.h"

namespace {

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

}  // namespace

uint32_t make_cursor_resource(const uint8_t* file, const CursorTable& table, const CursorPlan& plan,
                              PixelArena* arena, uint8_t** resource) {
    arena->used = 0;
    uint8_t* out = static_cast<uint8_t*>(arena_take(arena, plan.bytes));
    if (!out)
        return 0;
    *resource = out;
    Picture picture;
    if (!table.animated) {
        if (!frame_picture(file, table, plan, 0, arena, &picture))
            return 0;
        return emit_cursor_image(picture, plan.hot_x[0], plan.hot_y[0], out);
    }
    AnimatedWriter writer;
    begin_animated_cursor(out, plan.frames, plan.steps, plan.width, plan.height, &writer);
    // Each image is decoded and rendered once: a frame made from an image an
    // earlier frame showed is a copy of that frame (1 + its index here).
    uint16_t frame_of_image[MAX_IMAGES] = {};
    for (uint32_t frame = 0; frame < plan.frames; ++frame) {
        uint16_t& shown_in = frame_of_image[plan.image_of_frame[frame]];
        if (shown_in) {
            repeat_animated_frame(&writer, shown_in - 1u, plan.hot_x[frame], plan.hot_y[frame]);
            continue;
        }
        shown_in = static_cast<uint16_t>(frame + 1);
        // Each frame's pixels are given back once it is written.
        uint32_t mark = arena->used;
        if (!frame_picture(file, table, plan, frame, arena, &picture))
            return 0;
        add_animated_frame(&writer, picture, plan.hot_x[frame], plan.hot_y[frame]);
        arena->used = mark;
    }
    return end_animated_cursor(&writer, table.frame_of_step, table.rate_of_step);
}
