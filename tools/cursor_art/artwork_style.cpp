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

void draw_body(Canvas& canvas, const Shape& body, const Fill& fill, float outline_width) {
    canvas.paint(grow(body, outline_width), solid(outline_colour()));
    canvas.paint(body, fill);
}

void draw_shadow(Canvas& canvas, const Shape& silhouette) {
    canvas.paint_soft(translate(silhouette, SHADOW_OFFSET), rgb_hex(0x000000, SHADOW_ALPHA), SHADOW_SOFTNESS);
}

void draw_shadow(Canvas& canvas, const Shape& silhouette, const Shape& keep_inside) {
    // The soft edge reaches half the softness past a shape's edge, so the
    // clip is pulled in by that much to leave nothing beyond keep_inside.
    const Shape clipped = intersect(translate(silhouette, SHADOW_OFFSET), grow(keep_inside, -SHADOW_SOFTNESS * 0.5f));
    canvas.paint_soft(clipped, rgb_hex(0x000000, SHADOW_ALPHA), SHADOW_SOFTNESS);
}

}  // namespace cursor_art
