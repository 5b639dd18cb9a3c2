// Small anti-aliased vector rasteriser for the default cursor artwork.
//
// Shapes are signed distance functions in pixel units (negative inside,
// positive outside). Pixel (x, y) covers the square [x, x+1) x [y, y+1), so
// the centre of pixel (x, y) is the point (x + 0.5, y + 0.5). Every primitive
// and every combination below keeps the function 1-Lipschitz, which lets the
// painter skip supersampling for pixels that lie wholly inside or outside.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace cursor_art {

struct Vec2 {
    float x;
    float y;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }

// Rotates p about the origin; positive angles turn clockwise on screen
// (y grows downwards). Angles are in degrees.
Vec2 rotate(Vec2 p, float degrees);

// Rotates every point about the origin, then moves it by offset.
std::vector<Vec2> place(const std::vector<Vec2>& points, float degrees, Vec2 offset);

using Shape = std::function<float(Vec2)>;

// Closed polygon, any winding, non-zero fill rule.
Shape polygon(std::vector<Vec2> points);
Shape circle(Vec2 centre, float radius);
// Circle outline of the given radius, half_width to each side of it.
Shape ring(Vec2 centre, float radius, float half_width);
// Thick line with round ends.
Shape capsule(Vec2 a, Vec2 b, float half_width);
// Thick circular arc with round ends, from start to end degrees clockwise
// (0 degrees points right).
Shape arc(Vec2 centre, float radius, float start_degrees, float end_degrees, float half_width);
// Everything on the side of the line through point that normal points away
// from; normal must have length 1.
Shape half_plane(Vec2 point, Vec2 outward_normal);
// Axis-aligned rectangle with corners rounded by the given radius.
Shape rounded_box(Vec2 top_left, Vec2 bottom_right, float corner_radius);

Shape unite(std::initializer_list<Shape> parts);
Shape unite(const std::vector<Shape>& parts);
Shape subtract(Shape from, Shape cut);
Shape intersect(Shape a, Shape b);
// Moves the edge outwards by amount (inwards for negative amounts).
Shape grow(Shape s, float amount);
Shape translate(Shape s, Vec2 offset);

// Straight (not premultiplied) colour, components 0..1.
struct Rgba {
    float r;
    float g;
    float b;
    float a;
};

Rgba rgb_hex(std::uint32_t rgb, float alpha = 1.0f);

// Vertical linear gradient from top colour at y_top to bottom colour at
// y_bottom; a solid colour has top == bottom.
struct Fill {
    Rgba top;
    Rgba bottom;
    float y_top;
    float y_bottom;
};

Fill solid(Rgba colour);
Fill gradient(Rgba top, Rgba bottom, float y_top, float y_bottom);

// Straight-alpha 8-bit RGBA image, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// Premultiplied float canvas that shapes are composited onto with "over".
class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Paints shape with fill, with box-filtered (supersampled) edges.
    void paint(const Shape& shape, const Fill& fill);
    // Paints a soft-edged shape: alpha fades linearly over softness pixels
    // across the edge. Used for shadows and glows.
    void paint_soft(const Shape& shape, Rgba colour, float softness);

    // Rounds to 8 bits; fully transparent pixels become all zero.
    Image to_image() const;

private:
    void blend(int x, int y, Rgba colour, float coverage);

    int width_;
    int height_;
    std::vector<float> premultiplied_;  // r, g, b, a per pixel
};

}  // namespace cursor_art
