// Slots 4-9 and the animated slot 5: targeting reticles centred on the
// hotspot pixel. Each slot has its own colour and its own form, so they stay
// distinguishable even for players who do not tell the colours apart.
#include "artwork_style.h"

namespace cursor_art {
namespace {

// Half width of the light strokes: 2-pixel lines inside the dark edge.
constexpr float STROKE = 1.0f;
constexpr float CENTRE_DOT_RADIUS = 1.3f;

// Four straight arms along the given directions, from inner to outer radius.
Shape arms(Vec2 centre, float inner, float outer, float first_degrees, float half_width) {
    std::vector<Shape> parts;
    for (int i = 0; i < 4; ++i) {
        const float degrees = first_degrees + 90.0f * static_cast<float>(i);
        parts.push_back(capsule(centre + rotate({inner, 0.0f}, degrees), centre + rotate({outer, 0.0f}, degrees),
                                half_width));
    }
    return unite(parts);
}

Shape diamond(Vec2 c, float radius) {
    return polygon({{c.x, c.y - radius}, {c.x + radius, c.y}, {c.x, c.y + radius}, {c.x - radius, c.y}});
}

// Slot 4: plain crosshair with an open centre and a dot on the hotspot.
Shape crosshair(Vec2 c) { return unite({arms(c, 4.5f, 11.5f, 0.0f, STROKE), circle(c, CENTRE_DOT_RADIUS)}); }

// Slot 5 and its animation: ring crossed by four ticks. The second frame
// widens the ring and turns the ticks by 45 degrees, so it visibly pulses.
Shape pulse_ring(Vec2 c, int frame) {
    const float radius = frame == 0 ? 8.5f : 10.0f;
    const float tick_angle = frame == 0 ? 0.0f : 45.0f;
    return unite({ring(c, radius, STROKE), arms(c, radius - 3.5f, radius + 3.5f, tick_angle, STROKE),
                  circle(c, CENTRE_DOT_RADIUS)});
}

// Slot 6: scope sight, a thin ring with lines running through it.
Shape scope(Vec2 c) {
    constexpr float THIN = 0.8f;
    return unite({ring(c, 9.5f, THIN), arms(c, 3.0f, 13.0f, 0.0f, THIN)});
}

// Slot 7: diamond frame with a dot.
Shape diamond_sight(Vec2 c) {
    const Shape frame = subtract(diamond(c, 10.5f), diamond(c, 10.5f - 2.0f * 1.41421f * STROKE));
    return unite({frame, circle(c, CENTRE_DOT_RADIUS + 0.2f)});
}

// Slot 8: broken circle of four arcs on the diagonals, with a small cross.
Shape arc_sight(Vec2 c) {
    std::vector<Shape> parts;
    for (int i = 0; i < 4; ++i) {
        const float middle = 45.0f + 90.0f * static_cast<float>(i);
        parts.push_back(arc(c, 9.5f, middle - 26.0f, middle + 26.0f, STROKE));
    }
    parts.push_back(arms(c, 0.0f, 3.0f, 0.0f, 0.8f));
    return unite(parts);
}

// Slot 9: the four corners of a square, with a small plus on the hotspot.
Shape bracket_sight(Vec2 c) {
    constexpr float HALF = 10.5f;
    constexpr float ARM = 5.0f;
    std::vector<Shape> parts;
    for (int i = 0; i < 4; ++i) {
        const float degrees = 90.0f * static_cast<float>(i);
        const Vec2 corner = c + rotate({-HALF, -HALF}, degrees);
        parts.push_back(capsule(corner, c + rotate({-HALF + ARM, -HALF}, degrees), STROKE));
        parts.push_back(capsule(corner, c + rotate({-HALF, -HALF + ARM}, degrees), STROKE));
    }
    parts.push_back(arms(c, 0.0f, 2.5f, 0.0f, 0.8f));
    return unite(parts);
}

struct ReticleColours {
    std::uint32_t top;
    std::uint32_t bottom;
};

// Indexed by slot - 4; the last entry is the second frame of animated slot 5.
constexpr ReticleColours RETICLE_COLOURS[] = {
    {0xFFFFFF, 0xDCE2EA},  // 4 white
    {0xFF7B6B, 0xE0281E},  // 5 red
    {0x8CF58A, 0x28B04A},  // 6 green
    {0xFFE680, 0xE8A317},  // 7 gold
    {0x8FE3FF, 0x2E95E0},  // 8 sky blue
    {0xE9A6FF, 0xA444E0},  // 9 violet
};
constexpr ReticleColours PULSE_COLOURS = {0xFFC46B, 0xFF6A1F};  // 5, frame 2: orange

Shape reticle_shape(Vec2 c, int slot, int frame) {
    switch (slot) {
        case 4: return crosshair(c);
        case 5: return pulse_ring(c, frame);
        case 6: return scope(c);
        case 7: return diamond_sight(c);
        case 8: return arc_sight(c);
        default: return bracket_sight(c);
    }
}

}  // namespace

void draw_reticle(Canvas& canvas, const ArtRequest& request) {
    const Vec2 c = request.hotspot_centre();
    const ReticleColours colours = request.frame == 0 ? RETICLE_COLOURS[request.slot - 4] : PULSE_COLOURS;
    draw_body(canvas, reticle_shape(c, request.slot, request.frame),
              shaded(colours.top, colours.bottom, c.y - 12.0f, c.y + 12.0f));
}

}  // namespace cursor_art
