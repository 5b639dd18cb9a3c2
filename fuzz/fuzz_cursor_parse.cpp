// libFuzzer target: parsing a file into the table and planning it. The
// input is the file, in a buffer of exactly its size. For a file that
// parses: everything the table names lies inside the file, parsing again
// gives the same table, and at every scale and budget tried a plan (when
// there is one) stays within the side limit and its budget (the system
// holding no more than the bytes it was planned within), charges exactly
// frames x width x height, keeps the size asked unless reduced, chooses each
// frame's image among that frame's own and puts its hotspot inside the
// cursor, else abort().
#include <string.h>

#include "cursors/cursor_pixels.h"
#include "cursors/cursor_plan.h"
#include "cursors/cursor_resource.h"
#include "fuzz/fuzz_support.h"

namespace {

const float SCALES[] = {0.0f, 1.0f, 1.5f, 2.0f, 2.25f, 7.9f, 128.0f, 1e30f};
// Bytes the system may hold for the cursor, as a load allows them.
const uint32_t BUDGETS[] = {
    LOAD_BYTES - DEFAULT_BYTES, 48u << 20, 1u << 20, 65536, 8192, 2048, 0};
const uint32_t STANDARD_SIDE = 32;

CursorTable table, again;
CursorPlan plan;

void require_table_inside(uint32_t length) {
    require(table.frame_count >= 1 && table.frame_count <= MAX_FRAMES);
    require(table.step_count >= 1 && table.step_count <= MAX_FRAMES);
    require(table.image_count >= table.frame_count && table.image_count <= MAX_IMAGES);
    require(table.own_width >= 1 && table.own_height >= 1);
    uint32_t next = 0;
    for (uint32_t frame = 0; frame < table.frame_count; ++frame) {
        const CursorFrame& f = table.frames[frame];
        require(f.first_image == next && f.image_count >= 1);
        next += f.image_count;
    }
    require(next == table.image_count);
    for (uint32_t i = 0; i < table.image_count; ++i) {
        const CursorImage& image = table.images[i];
        require(image.offset < length && image.length <= length - image.offset && image.length > 0);
        require(image.image_width >= 1 && image.image_width <= MAX_IMAGE_SIDE);
        require(image.image_height >= 1 && image.image_height <= MAX_IMAGE_SIDE);
    }
    for (uint32_t step = 0; step < table.step_count; ++step)
        require(table.frame_of_step[step] < table.frame_count);
}

// Field by field: padding bytes are nobody's.
bool same_images(const CursorImage& a, const CursorImage& b) {
    return a.offset == b.offset && a.length == b.length && a.width == b.width &&
           a.height == b.height && a.image_width == b.image_width &&
           a.image_height == b.image_height && a.depth == b.depth && a.hot_x == b.hot_x &&
           a.hot_y == b.hot_y && a.centred == b.centred;
}

bool same_tables() {
    if (table.animated != again.animated || table.several_sizes != again.several_sizes ||
        table.header_size != again.header_size || table.own_width != again.own_width ||
        table.own_height != again.own_height || table.frame_count != again.frame_count ||
        table.step_count != again.step_count || table.image_count != again.image_count)
        return false;
    for (uint32_t i = 0; i < table.image_count; ++i)
        if (!same_images(table.images[i], again.images[i]))
            return false;
    return memcmp(table.frames, again.frames, table.frame_count * sizeof table.frames[0]) == 0 &&
           memcmp(table.frame_of_step, again.frame_of_step, table.step_count * 2) == 0 &&
           memcmp(table.rate_of_step, again.rate_of_step, table.step_count * 4) == 0;
}

void require_plan_sound(uint32_t budget, uint32_t held) {
    require(plan.width >= 1 && plan.width <= MAX_CURSOR_SIDE);
    require(plan.height >= 1 && plan.height <= MAX_CURSOR_SIDE);
    require(plan.frames == table.frame_count && plan.steps == table.step_count);
    require(plan.pixels == plan.frames * plan.width * plan.height);
    require(plan.pixels <= budget && plan.pixels <= MAX_CURSOR_PIXELS);
    require(system_bytes(plan.frames, plan.width, plan.height) <= held);
    require(plan.decoded_pixels <= MAX_DECODED_PIXELS);
    require(plan.reduced || (plan.width == plan.asked_width && plan.height == plan.asked_height));
    require(plan.width <= plan.asked_width && plan.height <= plan.asked_height);
    for (uint32_t frame = 0; frame < plan.frames; ++frame) {
        const CursorFrame& f = table.frames[frame];
        require(plan.image_of_frame[frame] >= f.first_image &&
                plan.image_of_frame[frame] < f.first_image + f.image_count);
        require(plan.hot_x[frame] < plan.width && plan.hot_y[frame] < plan.height);
    }
    uint32_t bytes = table.animated
                         ? animated_cursor_size(plan.frames, plan.steps, plan.width, plan.height)
                         : cursor_image_size(plan.width, plan.height);
    require(plan.bytes == bytes && plan.arena_bytes > plan.bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t length = static_cast<uint32_t>(size);
    Buffer file(length);
    if (length)
        memcpy(file.bytes, data, length);
    if (!parse_cursor_file(file.bytes, length, &table))
        return 0;
    require_table_inside(length);
    require(parse_cursor_file(file.bytes, length, &again) && same_tables());
    for (float scale : SCALES)
        for (uint32_t bytes : BUDGETS) {
            uint32_t budget = pixels_within(bytes, table.frame_count);
            PlanRequest request = {scale,  STANDARD_SIDE, STANDARD_SIDE,
                                   budget, MAX_FRAMES,    EDGES_SMOOTH, 0};
            if (plan_cursor(table, request, &plan))
                require_plan_sound(budget, bytes);
        }
    return 0;
}
