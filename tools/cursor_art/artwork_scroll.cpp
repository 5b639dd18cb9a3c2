// Slots 14-21: scroll arrows. One block arrow, turned in 45-degree steps
// (top, top right, right, ... top left), with its tip on the hotspot pixel's
// outer corner or edge so the point touches the hotspot.
#include <algorithm>

#include "artwork_style.h"

namespace cursor_art {
namespace {

// Outer edge of the arrow pointing up with its tip at the origin. The head
// has a right-angled tip, so the diagonal arrows get pixel-aligned tips.
const std::vector<Vec2> SCROLL_ARROW = {
    {0.0f, 0.0f},   {8.5f, 8.5f},   {3.2f, 8.5f},  {3.2f, 17.0f},
    {-3.2f, 17.0f}, {-3.2f, 8.5f}, {-8.5f, 8.5f},
};

constexpr float STEP_DEGREES = 45.0f;

// -1, 0 or 1: which side of the hotspot pixel the arrow points out of.
float side(float component) {
    constexpr float EPSILON = 0.01f;
    if (component > EPSILON) return 1.0f;
    if (component < -EPSILON) return -1.0f;
    return 0.0f;
}

// The region not beyond the tip in the direction the arrow points: nothing
// may be drawn past the hotspot pixel's outer sides.
Shape behind_tip(Vec2 tip, Vec2 sides) {
    const Shape horizontal_limit = half_plane(tip, {sides.x, 0.0f});
    const Shape vertical_limit = half_plane(tip, {0.0f, sides.y});
    if (sides.x == 0.0f) return vertical_limit;
    if (sides.y == 0.0f) return horizontal_limit;
    return intersect(horizontal_limit, vertical_limit);
}

}  // namespace

void draw_scroll_arrow(Canvas& canvas, const ArtRequest& request) {
    const float degrees = STEP_DEGREES * static_cast<float>(request.slot - 14);
    const Vec2 direction = rotate({0.0f, -1.0f}, degrees);
    const Vec2 sides{side(direction.x), side(direction.y)};
    const Vec2 tip = request.hotspot_centre() + sides * 0.5f;
    const std::vector<Vec2> outline = place(SCROLL_ARROW, degrees, tip);
    // Light from above whichever way the arrow points: shade over its height.
    const auto [lowest, highest] =
        std::minmax_element(outline.begin(), outline.end(), [](Vec2 a, Vec2 b) { return a.y < b.y; });
    const Shape arrow = polygon(outline);
    draw_shadow(canvas, arrow, behind_tip(tip, sides));
    draw_silhouette(canvas, arrow, shaded(0xFFF7DA, 0xF2B630, lowest->y, highest->y));
}

}  // namespace cursor_art
