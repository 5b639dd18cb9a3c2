// Slots 10-13: tool cursors whose working point is the hotspot: the centre
// of a magnifier lens, the heart of a wand's star, a pointing fingertip and
// the corner of a selection.
#include <algorithm>
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

// Diagonal stripes, dash pixels on and gap pixels off along either axis; cut
// an edge with them to make it dashed.
Shape dashes(float dash, float gap) {
    const float period = dash + gap;
    return [=](Vec2 p) {
        const float phase = std::fmod(p.x + p.y, period);
        const float to_dash = std::min(std::fabs(phase - dash * 0.5f) - dash * 0.5f, period - phase);
        // Divided by sqrt(2) because x + y grows that fast per pixel of travel.
        return to_dash / 1.41421f;
    };
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
    const Shape stick = capsule(c + along_stick * 6.0f, c + along_stick * 25.5f, 1.7f);
    const Shape sparkle = star(c, {6.2f, 2.0f}, 4);
    const Shape glint = star(c, {3.6f, 1.2f}, 4);

    draw_shadow(canvas, stick);
    draw_body(canvas, stick, shaded(0x9A6FE8, 0x3C2380, c.y, c.y + 18.0f));
    // A warm glow behind the star keeps it visible against busy scenes.
    canvas.paint_soft(circle(c, 4.5f), rgb_hex(0xFFE070, 0.45f), 4.0f);
    draw_body(canvas, sparkle, shaded(0xFFF8D0, 0xF5B512, c.y - 6.0f, c.y + 6.0f));
    canvas.paint(glint, solid(rgb_hex(0xFFFFFF, 0.9f)));
}

void draw_hand(Canvas& canvas, const ArtRequest& request) {
    constexpr float FINGER = 2.0f;  // half width of the index finger
    constexpr float CREASE = 0.5f;  // half width of the lines between fingers
    const Vec2 tip = request.hotspot_centre();
    const float y = tip.y;
    // The index finger's rounded end touches the hotspot pixel's left edge.
    const float start_x = request.hotspot.x + OUTLINE_WIDTH + FINGER;
    // One silhouette for the whole hand, so its outline never crosses it;
    // creases drawn inside then separate the fingers.
    const Shape hand = unite({
        capsule({start_x, y}, {27.0f, y}, FINGER),              // index finger
        capsule({18.8f, y - 4.0f}, {28.0f, y - 4.6f}, 1.9f),    // thumb
        rounded_box({22.0f, y - 3.5f}, {31.0f, y + 12.8f}, 3.0f),  // back of the hand
        capsule({19.6f, y + 4.0f}, {26.0f, y + 4.0f}, 1.9f),    // curled middle finger
        capsule({20.8f, y + 7.5f}, {26.0f, y + 7.5f}, 1.7f),    // curled ring finger
        capsule({22.3f, y + 11.0f}, {26.0f, y + 11.0f}, 1.6f),  // curled little finger
    });
    // Creases sit on pixel rows (hotspot centre y + whole pixels) to stay sharp.
    const Shape creases = unite({
        capsule({20.0f, y - 2.0f}, {26.5f, y - 2.0f}, CREASE),
        capsule({20.2f, y + 2.0f}, {26.5f, y + 2.0f}, CREASE),
        capsule({21.5f, y + 6.0f}, {26.5f, y + 6.0f}, CREASE),
        capsule({22.9f, y + 9.0f}, {26.5f, y + 9.0f}, CREASE),
    });
    const Shape cuff = rounded_box({30.0f, y - 7.0f}, {33.5f, y + 14.0f}, 1.2f);

    draw_shadow(canvas, unite({hand, cuff}));
    draw_body(canvas, hand, GLOVE);
    canvas.paint(creases, solid(rgb_hex(0x3A414C, 0.85f)));
    draw_body(canvas, cuff, shaded(0xE4E8EE, 0xA9B3C0, y - 7.0f, y + 14.0f));
}

void draw_corner(Canvas& canvas, const ArtRequest& request) {
    constexpr float ARM = 14.0f;
    constexpr float THICK = 4.5f;
    constexpr float AREA = 22.0f;
    const Vec2 o = request.hotspot;  // the bracket's outer corner
    const Shape bracket = polygon({o, {o.x + ARM, o.y}, {o.x + ARM, o.y + THICK}, {o.x + THICK, o.y + THICK},
                                   {o.x + THICK, o.y + ARM}, {o.x, o.y + ARM}});
    // A translucent selection area with a dashed edge hangs from the corner.
    const Shape area = rounded_box({o.x + 2.0f, o.y + 2.0f}, {o.x + AREA, o.y + AREA}, 1.0f);
    const Shape area_edge = subtract(grow(area, 0.5f), grow(area, -0.7f));

    canvas.paint(area, solid(rgb_hex(0x9AD4FF, 0.30f)));
    canvas.paint(intersect(area_edge, dashes(3.0f, 2.0f)), solid(rgb_hex(0x103A66)));
    canvas.paint(intersect(grow(area_edge, -0.3f), dashes(3.0f, 2.0f)), solid(rgb_hex(0x6CC0FF)));
    draw_shadow(canvas, bracket);
    draw_silhouette(canvas, bracket, shaded(0xFFFFFF, 0xD5DCE5, o.y, o.y + ARM));
}

}  // namespace cursor_art
