// Slots 0-3: the pointer arrows. All four share one outline and differ in
// fill colour only, so the player reads them as one family.
#include "artwork_style.h"

namespace cursor_art {
namespace {

// Outer edge of the arrow with its tip at the origin, in pixels. The left
// edge is vertical and the leading edge runs at 45 degrees, so both land on
// pixel boundaries and the tip pixel stays crisp.
const std::vector<Vec2> ARROW_OUTLINE = {
    {0.0f, 0.0f},      // tip: the hotspot pixel's top-left corner
    {13.6f, 13.6f},    // end of the leading edge
    {8.6f, 13.6f},     // where the tail leaves the head, right side
    {11.67f, 20.11f},  // tail end, right
    {7.15f, 22.24f},   // tail end, left: the tail is 5 pixels across
    {4.08f, 15.73f},   // where the tail leaves the head, left side
    {0.0f, 19.8f},     // bottom of the left edge
};

struct PointerColours {
    std::uint32_t top;
    std::uint32_t bottom;
};

// White, gold, green, red: light tops shading a little towards the tail.
constexpr PointerColours POINTER_COLOURS[] = {
    {0xFFFFFF, 0xD9DEE6},
    {0xFFE27A, 0xE3A21A},
    {0x9CF27C, 0x2FA83A},
    {0xFF8A7A, 0xD42A22},
};

}  // namespace

void draw_pointer(Canvas& canvas, const ArtRequest& request) {
    const Shape arrow = polygon(place(ARROW_OUTLINE, 0.0f, request.hotspot));
    const PointerColours& colours = POINTER_COLOURS[request.slot];
    const float top = request.hotspot.y;
    draw_shadow(canvas, arrow);
    draw_silhouette(canvas, arrow, shaded(colours.top, colours.bottom, top + 2.0f, top + 20.0f));
}

}  // namespace cursor_art
