#include "artwork_style.h"

namespace cursor_art {
namespace {

constexpr std::uint32_t OUTLINE_RGB = 0x101318;

// The shadow falls down and to the right, away from every top-left tip, and
// is kept faint so it never reads as part of the shape.
constexpr Vec2 SHADOW_OFFSET = {0.8f, 1.2f};
constexpr float SHADOW_ALPHA = 0.28f;
constexpr float SHADOW_SOFTNESS = 2.0f;

}  // namespace

Rgba outline_colour() { return rgb_hex(OUTLINE_RGB); }

Fill shaded(std::uint32_t top_rgb, std::uint32_t bottom_rgb, float y_top, float y_bottom) {
    return gradient(rgb_hex(top_rgb), rgb_hex(bottom_rgb), y_top, y_bottom);
}

void draw_silhouette(Canvas& canvas, const Shape& silhouette, const Fill& fill) {
    canvas.paint(silhouette, solid(outline_colour()));
    canvas.paint(grow(silhouette, -OUTLINE_WIDTH), fill);
}

void draw_body(Canvas& canvas, const Shape& body, const Fill& fill) {
    canvas.paint(grow(body, OUTLINE_WIDTH), solid(outline_colour()));
    canvas.paint(body, fill);
}

void draw_shadow(Canvas& canvas, const Shape& silhouette) {
    Rgba shadow = rgb_hex(0x000000, SHADOW_ALPHA);
    canvas.paint_soft(translate(silhouette, SHADOW_OFFSET), shadow, SHADOW_SOFTNESS);
}

}  // namespace cursor_art
