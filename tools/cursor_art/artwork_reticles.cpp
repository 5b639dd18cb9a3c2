// Slots 4-9 and the animated slot 5: targeting reticles centred on the
// hotspot pixel. Each slot has its own colour and its own form, so they stay
// distinguishable even for players who do not tell the colours apart.
#include "artwork_style.h"

namespace cursor_art {
namespace {

// Straight strokes are centred on the hotspot pixel's centre, so they must
// be an odd number of pixels wide to stay sharp: 3 light pixels inside a
// 1-pixel dark edge.
constexpr float STROKE = 1.5f;
constexpr float THIN_STROKE = 0.5f;
constexpr float RING_STROKE = 1.0f;  // curves are anti-aliased anyway
constexpr float RETICLE_OUTLINE = 1.0f;
constexpr float CENTRE_DOT_RADIUS = 1.5f;

// Four straight arms along the given directions, from inner to outer radius.
// Square ends keep axis-aligned arms on whole pixels.
Shape arms(Vec2 centre, float inner, float outer, float first_degrees, float half_width) {
    std::vector<Shape> parts;
    for (int i = 0; i < 4; ++i) {
        const float degrees = first_degrees + 90.0f * static_cast<float>(i);
        const float mid = (inner + outer) * 0.5f;
        const float half_length = (outer - inner) * 0.5f;
        const std::vector<Vec2> bar = {{mid - half_length, -half_width},
                                       {mid + half_length, -half_width},
                                       {mid + half_length, half_width},
                                       {mid - half_length, half_width}};
        parts.push_back(polygon(place(bar, degrees, centre)));
    }
    return unite(parts);
}

Shape diamond(Vec2 c, float radius) {
    return polygon({{c.x, c.y - radius}, {c.x + radius, c.y}, {c.x, c.y + radius}, {c.x - radius, c.y}});
}

Shape centre_dot(Vec2 c) { return rounded_box(c - Vec2{CENTRE_DOT_RADIUS, CENTRE_DOT_RADIUS},
                                              c + Vec2{CENTRE_DOT_RADIUS, CENTRE_DOT_RADIUS}, 0.5f); }

// Slot 4: plain crosshair with an open centre and a dot on the hotspot.
Shape crosshair(Vec2 c) { return unite({arms(c, 5.0f, 13.0f, 0.0f, STROKE), centre_dot(c)}); }

// Slot 5 and its animation: a ring with four ticks. The second frame widens
// the ring and turns the ticks inwards, so the sight visibly pulses.
Shape pulse_ring(Vec2 c, int frame) {
    constexpr float TICK = 5.0f;
    if (frame == 0) {
        constexpr float RADIUS = 8.0f;
        return unite({ring(c, RADIUS, RING_STROKE), arms(c, RADIUS, RADIUS + TICK, 0.0f, STROKE), centre_dot(c)});
    }
    constexpr float RADIUS = 10.5f;
    return unite({ring(c, RADIUS, RING_STROKE), arms(c, RADIUS - TICK, RADIUS, 0.0f, STROKE), centre_dot(c)});
}

// Slot 6: scope sight, a thin ring with fine lines running through it and
// a single-pixel point on the hotspot.
Shape scope(Vec2 c) {
    const Shape pinpoint = rounded_box(c - Vec2{0.5f, 0.5f}, c + Vec2{0.5f, 0.5f}, 0.0f);
    return unite({ring(c, 9.5f, 0.8f), arms(c, 3.5f, 13.5f, 0.0f, THIN_STROKE), pinpoint});
}

// Slot 7: diamond frame with a dot.
Shape diamond_sight(Vec2 c) {
    const Shape frame = subtract(diamond(c, 11.0f), diamond(c, 11.0f - 2.0f * 1.41421f * RING_STROKE));
    return unite({frame, centre_dot(c)});
}

// Slot 8: broken circle of four arcs on the diagonals, with a small cross.
Shape arc_sight(Vec2 c) {
    std::vector<Shape> parts;
    for (int i = 0; i < 4; ++i) {
        const float middle = 45.0f + 90.0f * static_cast<float>(i);
        parts.push_back(arc(c, 9.5f, middle - 26.0f, middle + 26.0f, RING_STROKE));
    }
    parts.push_back(arms(c, -3.0f, 3.0f, 0.0f, THIN_STROKE));
    return unite(parts);
}

// Slot 9: the four corners of a square, with a small plus on the hotspot.
Shape bracket_sight(Vec2 c) {
    constexpr float HALF = 11.0f;  // centre line of the corner strokes
    constexpr float ARM = 6.0f;
    std::vector<Shape> parts;
    for (int i = 0; i < 4; ++i) {
        const float degrees = 90.0f * static_cast<float>(i);
        const std::vector<Vec2> corner = {{-HALF - 0.5f, -HALF - 0.5f}, {-HALF + ARM, -HALF - 0.5f},
                                          {-HALF + ARM, -HALF + 0.5f},  {-HALF + 0.5f, -HALF + 0.5f},
                                          {-HALF + 0.5f, -HALF + ARM},  {-HALF - 0.5f, -HALF + ARM}};
        parts.push_back(polygon(place(corner, degrees, c)));
    }
    parts.push_back(arms(c, -3.5f, 3.5f, 0.0f, THIN_STROKE));
    return unite(parts);
}

struct ReticleColours {
    std::uint32_t top;
    std::uint32_t bottom;
};

// Indexed by slot - 4.
constexpr ReticleColours RETICLE_COLOURS[] = {
    {0xFFFFFF, 0xDCE2EA},  // 4 white
    {0xFF7B6B, 0xE0281E},  // 5 red
    {0x8CF58A, 0x28B04A},  // 6 green
    {0xFFE680, 0xE8A317},  // 7 gold
    {0x8FE3FF, 0x2E95E0},  // 8 sky blue
    {0xE9A6FF, 0xA444E0},  // 9 violet
};
constexpr ReticleColours PULSE_COLOURS = {0xFFC46B, 0xFF6A1F};  // animated 5, second frame: orange

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
              shaded(colours.top, colours.bottom, c.y - 12.0f, c.y + 12.0f), RETICLE_OUTLINE);
}

}  // namespace cursor_art
