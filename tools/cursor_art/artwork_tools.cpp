// Slots 10-13: tool cursors whose working point is the hotspot: the centre
// of a magnifier lens, the heart of a wand's star, a pointing fingertip and
// the corner of a selection.
#include <cmath>

#include "artwork_style.h"

namespace cursor_art {
namespace {

const Fill METAL = shaded(0xF6F8FA, 0x98A2AE, 2.0f, 20.0f);
const Fill GLOVE = shaded(0xFFFFFF, 0xD5DCE5, 12.0f, 33.0f);

// Regular star polygon: radii repeat around the centre, first one pointing up.
Shape star(Vec2 centre, const std::vector<float>& radius_pattern, int points) {
    std::vector<Vec2> vertices;
    const int count = points * static_cast<int>(radius_pattern.size());
    const float step = 360.0f / static_cast<float>(count);
    for (int i = 0; i < count; ++i) {
        const float radius = radius_pattern[static_cast<size_t>(i) % radius_pattern.size()];
        vertices.push_back(centre + rotate({0.0f, -radius}, step * static_cast<float>(i)));
    }
    return polygon(vertices);
}

}  // namespace

void draw_magnifier(Canvas& canvas, const ArtRequest& request) {
    constexpr float LENS_RADIUS = 8.0f;
    constexpr float RIM_HALF_WIDTH = 1.3f;
    const Vec2 c = request.hotspot_centre();
    const Vec2 along_handle{0.7071f, 0.7071f};
    const Vec2 handle_start = c + along_handle * (LENS_RADIUS + 1.5f);
    const Vec2 handle_end = c + along_handle * 24.5f;
    const Shape handle = capsule(handle_start + along_handle * 3.0f, handle_end, 2.6f);
    const Shape collar = capsule(handle_start, handle_start + along_handle * 2.5f, 2.9f);
    const Shape rim = ring(c, LENS_RADIUS, RIM_HALF_WIDTH);

    draw_shadow(canvas, unite({handle, collar, circle(c, LENS_RADIUS + RIM_HALF_WIDTH)}));
    draw_body(canvas, handle, shaded(0xB8763F, 0x5E3418, c.y, handle_end.y));
    draw_body(canvas, collar, METAL);
    // Tinted glass lets the game show through, with a glint up and left.
    canvas.paint(circle(c, LENS_RADIUS), solid(rgb_hex(0xBFE6FF, 0.38f)));
    canvas.paint(arc(c, LENS_RADIUS - 3.4f, 200.0f, 250.0f, 0.8f), solid(rgb_hex(0xFFFFFF, 0.85f)));
    draw_body(canvas, rim, METAL);
}

void draw_wand(Canvas& canvas, const ArtRequest& request) {
    const Vec2 c = request.hotspot_centre();
    const Vec2 along_stick{0.7071f, 0.7071f};
    const Shape stick = capsule(c + along_stick * 5.0f, c + along_stick * 25.5f, 1.7f);
    const Shape sparkle = star(c, {8.0f, 2.3f, 4.6f, 2.3f}, 4);

    draw_shadow(canvas, unite({stick, sparkle}));
    draw_body(canvas, stick, shaded(0x9A6FE8, 0x3C2380, c.y, c.y + 18.0f));
    draw_silhouette(canvas, sparkle, shaded(0xFFFBE0, 0xF0B010, c.y - 8.0f, c.y + 8.0f));
}

void draw_hand(Canvas& canvas, const ArtRequest& request) {
    constexpr float FINGER = 2.3f;  // half width of the index finger
    const Vec2 tip = request.hotspot_centre();
    // The index finger's rounded end touches the hotspot pixel's left edge.
    const float start_x = request.hotspot.x + OUTLINE_WIDTH + FINGER;
    const Shape palm = rounded_box({20.0f, tip.y - 4.5f}, {31.0f, tip.y + 13.0f}, 3.5f);
    const Shape index = capsule({start_x, tip.y}, {25.0f, tip.y}, FINGER);
    const Shape thumb = capsule({27.0f, tip.y - 3.0f}, {20.0f, tip.y - 3.9f}, 2.0f);
    const Shape cuff = rounded_box({30.0f, tip.y - 6.0f}, {33.5f, tip.y + 14.5f}, 1.0f);
    // Curled fingers below the index finger, each a little shorter.
    const Shape middle = capsule({18.7f, tip.y + 4.3f}, {26.0f, tip.y + 4.3f}, 2.1f);
    const Shape ring_finger = capsule({19.4f, tip.y + 8.3f}, {26.0f, tip.y + 8.3f}, 2.0f);
    const Shape little = capsule({20.4f, tip.y + 11.9f}, {26.0f, tip.y + 11.9f}, 1.7f);

    draw_shadow(canvas, unite({palm, index, thumb, cuff, middle, ring_finger, little}));
    draw_body(canvas, palm, GLOVE);
    draw_body(canvas, little, GLOVE);
    draw_body(canvas, ring_finger, GLOVE);
    draw_body(canvas, middle, GLOVE);
    draw_body(canvas, index, GLOVE);
    draw_body(canvas, thumb, GLOVE);
    draw_body(canvas, cuff, shaded(0x8FD0FF, 0x2E7CC8, tip.y - 6.0f, tip.y + 14.0f));
}

void draw_corner(Canvas& canvas, const ArtRequest& request) {
    constexpr float ARM = 14.0f;
    constexpr float THICK = 4.5f;
    const Vec2 o = request.hotspot;  // the bracket's outer corner
    const Shape bracket = polygon({o, {o.x + ARM, o.y}, {o.x + ARM, o.y + THICK}, {o.x + THICK, o.y + THICK},
                                   {o.x + THICK, o.y + ARM}, {o.x, o.y + ARM}});
    // A translucent selection area hanging from the corner.
    const Shape area = rounded_box({o.x + 3.0f, o.y + 3.0f}, {o.x + 21.0f, o.y + 21.0f}, 1.0f);
    const Shape area_edge = subtract(area, grow(area, -1.0f));

    canvas.paint(area, solid(rgb_hex(0x9AD4FF, 0.30f)));
    canvas.paint(area_edge, solid(rgb_hex(0x1E5F9E, 0.85f)));
    draw_shadow(canvas, bracket);
    draw_silhouette(canvas, bracket, shaded(0xFFFFFF, 0xD5DCE5, o.y, o.y + ARM));
}

}  // namespace cursor_art
