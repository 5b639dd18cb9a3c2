// Shared look of the default cursors and the per-group drawing entry points.
#pragma once

#include <cstdint>

#include "raster.h"

namespace cursor_art {

// What a group drawing function needs to know about the image it draws.
struct ArtRequest {
    int slot;
    int frame;
    int size;  // images are square
    Vec2 hotspot;  // pixel coordinates of the hotspot pixel (its top-left corner)

    // Centre of the hotspot pixel: shapes that are symmetric about the
    // working point are centred here.
    Vec2 hotspot_centre() const { return {hotspot.x + 0.5f, hotspot.y + 0.5f}; }
};

// Width of the dark edge drawn around every shape. A little over one pixel
// keeps the edge solid after anti-aliasing at any sub-pixel position.
constexpr float OUTLINE_WIDTH = 1.25f;

Rgba outline_colour();

// Vertical light-to-shade gradient over [y_top, y_bottom], from two hex colours.
Fill shaded(std::uint32_t top_rgb, std::uint32_t bottom_rgb, float y_top, float y_bottom);

// The outer edge is given: paints it dark and the fill inset by OUTLINE_WIDTH.
// Used where the silhouette must touch the hotspot exactly (arrow tips).
void draw_silhouette(Canvas& canvas, const Shape& silhouette, const Fill& fill);

// The filled body is given: paints a dark edge outline_width around it, then
// the body. Used for lines and rings, whose centre lines are what matter.
void draw_body(Canvas& canvas, const Shape& body, const Fill& fill, float outline_width = OUTLINE_WIDTH);

// Faint soft shadow below and right of a silhouette, so light shapes keep an
// edge on light backgrounds and dark edges on dark backgrounds.
void draw_shadow(Canvas& canvas, const Shape& silhouette);
// As above, with the shadow faded out before it reaches the edge of
// keep_inside, for shapes whose tip must be their outermost pixel.
void draw_shadow(Canvas& canvas, const Shape& silhouette, const Shape& keep_inside);

void draw_pointer(Canvas& canvas, const ArtRequest& request);       // slots 0-3
void draw_reticle(Canvas& canvas, const ArtRequest& request);       // slots 4-9
void draw_magnifier(Canvas& canvas, const ArtRequest& request);     // slot 10
void draw_wand(Canvas& canvas, const ArtRequest& request);          // slot 11
void draw_hand(Canvas& canvas, const ArtRequest& request);          // slot 12
void draw_corner(Canvas& canvas, const ArtRequest& request);        // slot 13
void draw_scroll_arrow(Canvas& canvas, const ArtRequest& request);  // slots 14-21

}  // namespace cursor_art
