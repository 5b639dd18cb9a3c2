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
    {0.0f, 0.0f},   {8.0f, 8.0f},   {3.2f, 8.0f},  {3.2f, 15.5f},
    {-3.2f, 15.5f}, {-3.2f, 8.0f}, {-8.0f, 8.0f},
};

constexpr float STEP_DEGREES = 45.0f;

// -1, 0 or 1: which side of the hotspot pixel the arrow points out of.
float side(float component) {
    constexpr float EPSILON = 0.01f;
    if (component > EPSILON) return 1.0f;
    if (component < -EPSILON) return -1.0f;
    return 0.0f;
}

}  // namespace

void draw_scroll_arrow(Canvas& canvas, const ArtRequest& request) {
    const float degrees = STEP_DEGREES * static_cast<float>(request.slot - 14);
    const Vec2 direction = rotate({0.0f, -1.0f}, degrees);
    const Vec2 tip = request.hotspot_centre() + Vec2{side(direction.x), side(direction.y)} * 0.5f;
    const std::vector<Vec2> outline = place(SCROLL_ARROW, degrees, tip);
    // Light from above whichever way the arrow points: shade over its height.
    const auto [lowest, highest] =
        std::minmax_element(outline.begin(), outline.end(), [](Vec2 a, Vec2 b) { return a.y < b.y; });
    const Shape arrow = polygon(outline);
    draw_shadow(canvas, arrow);
    draw_silhouette(canvas, arrow, shaded(0xFFF7DA, 0xF2B630, lowest->y, highest->y));
}

}  // namespace cursor_art
