#include "raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace cursor_art {
namespace {

constexpr float PI = 3.14159265358979f;
constexpr float DEGREES_TO_RADIANS = PI / 180.0f;

// 16 x 16 samples per pixel give 257 coverage levels, finer than the 8-bit
// alpha they end up in.
constexpr int SAMPLES_PER_AXIS = 16;

// Half the diagonal of a pixel, rounded up: a 1-Lipschitz distance larger
// than this at the pixel centre means the whole pixel is on one side.
constexpr float PIXEL_REACH = 0.7072f;

float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
float length(Vec2 a) { return std::sqrt(dot(a, a)); }

float distance_to_segment(Vec2 p, Vec2 a, Vec2 b) {
    const Vec2 edge = b - a;
    const Vec2 rel = p - a;
    const float edge_len_sq = dot(edge, edge);
    float t = 0.0f;
    if (edge_len_sq > 0.0f) {
        t = std::clamp(dot(rel, edge) / edge_len_sq, 0.0f, 1.0f);
    }
    return length(rel - edge * t);
}

// Positive when p lies left of the directed line a -> b (screen coordinates).
float side_of(Vec2 a, Vec2 b, Vec2 p) {
    return (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
}

bool inside_nonzero(const std::vector<Vec2>& pts, Vec2 p) {
    int winding = 0;
    const size_t count = pts.size();
    for (size_t i = 0; i < count; ++i) {
        const Vec2 a = pts[i];
        const Vec2 b = pts[(i + 1) % count];
        if (a.y <= p.y) {
            if (b.y > p.y && side_of(a, b, p) > 0.0f) {
                ++winding;
            }
        } else if (b.y <= p.y && side_of(a, b, p) < 0.0f) {
            --winding;
        }
    }
    return winding != 0;
}

float lerp(float a, float b, float t) { return a + (b - a) * t; }

Rgba colour_at(const Fill& fill, float y) {
    if (fill.y_bottom == fill.y_top) {
        return fill.top;
    }
    const float t = std::clamp((y - fill.y_top) / (fill.y_bottom - fill.y_top), 0.0f, 1.0f);
    return {lerp(fill.top.r, fill.bottom.r, t), lerp(fill.top.g, fill.bottom.g, t),
            lerp(fill.top.b, fill.bottom.b, t), lerp(fill.top.a, fill.bottom.a, t)};
}

float sample_coverage(const Shape& shape, int x, int y) {
    int inside = 0;
    for (int sy = 0; sy < SAMPLES_PER_AXIS; ++sy) {
        const float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / SAMPLES_PER_AXIS;
        for (int sx = 0; sx < SAMPLES_PER_AXIS; ++sx) {
            const float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / SAMPLES_PER_AXIS;
            if (shape({px, py}) <= 0.0f) {
                ++inside;
            }
        }
    }
    return static_cast<float>(inside) / (SAMPLES_PER_AXIS * SAMPLES_PER_AXIS);
}

std::uint8_t to_byte(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

Vec2 rotate(Vec2 p, float degrees) {
    const float c = std::cos(degrees * DEGREES_TO_RADIANS);
    const float s = std::sin(degrees * DEGREES_TO_RADIANS);
    return {p.x * c - p.y * s, p.x * s + p.y * c};
}

std::vector<Vec2> place(const std::vector<Vec2>& points, float degrees, Vec2 offset) {
    std::vector<Vec2> out;
    out.reserve(points.size());
    for (const Vec2 p : points) {
        out.push_back(rotate(p, degrees) + offset);
    }
    return out;
}

Shape polygon(std::vector<Vec2> points) {
    return [pts = std::move(points)](Vec2 p) {
        float nearest = distance_to_segment(p, pts.back(), pts.front());
        for (size_t i = 0; i + 1 < pts.size(); ++i) {
            nearest = std::min(nearest, distance_to_segment(p, pts[i], pts[i + 1]));
        }
        return inside_nonzero(pts, p) ? -nearest : nearest;
    };
}

Shape circle(Vec2 centre, float radius) {
    return [=](Vec2 p) { return length(p - centre) - radius; };
}

Shape ring(Vec2 centre, float radius, float half_width) {
    return [=](Vec2 p) { return std::fabs(length(p - centre) - radius) - half_width; };
}

Shape capsule(Vec2 a, Vec2 b, float half_width) {
    return [=](Vec2 p) { return distance_to_segment(p, a, b) - half_width; };
}

Shape arc(Vec2 centre, float radius, float start_degrees, float end_degrees, float half_width) {
    const Vec2 start_end = centre + rotate({radius, 0.0f}, start_degrees);
    const Vec2 finish_end = centre + rotate({radius, 0.0f}, end_degrees);
    const float sweep = end_degrees - start_degrees;
    return [=](Vec2 p) {
        const Vec2 rel = p - centre;
        float angle = std::atan2(rel.y, rel.x) / DEGREES_TO_RADIANS - start_degrees;
        angle = std::fmod(angle, 360.0f);
        if (angle < 0.0f) {
            angle += 360.0f;
        }
        float d = 0.0f;
        if (angle <= sweep) {
            d = std::fabs(length(rel) - radius);
        } else {
            d = std::min(length(p - start_end), length(p - finish_end));
        }
        return d - half_width;
    };
}

Shape half_plane(Vec2 point, Vec2 outward_normal) {
    return [=](Vec2 p) { return dot(p - point, outward_normal); };
}

Shape rounded_box(Vec2 top_left, Vec2 bottom_right, float corner_radius) {
    const Vec2 centre = (top_left + bottom_right) * 0.5f;
    const Vec2 half = (bottom_right - top_left) * 0.5f;
    return [=](Vec2 p) {
        const float qx = std::fabs(p.x - centre.x) - (half.x - corner_radius);
        const float qy = std::fabs(p.y - centre.y) - (half.y - corner_radius);
        const float outside = length({std::max(qx, 0.0f), std::max(qy, 0.0f)});
        return outside + std::min(std::max(qx, qy), 0.0f) - corner_radius;
    };
}

Shape unite(std::initializer_list<Shape> parts) { return unite(std::vector<Shape>(parts)); }

Shape unite(const std::vector<Shape>& parts) {
    return [parts](Vec2 p) {
        float d = parts.front()(p);
        for (size_t i = 1; i < parts.size(); ++i) {
            d = std::min(d, parts[i](p));
        }
        return d;
    };
}

Shape subtract(Shape from, Shape cut) {
    return [=](Vec2 p) { return std::max(from(p), -cut(p)); };
}

Shape intersect(Shape a, Shape b) {
    return [=](Vec2 p) { return std::max(a(p), b(p)); };
}

Shape grow(Shape s, float amount) {
    return [=](Vec2 p) { return s(p) - amount; };
}

Shape translate(Shape s, Vec2 offset) {
    return [=](Vec2 p) { return s(p - offset); };
}

Rgba rgb_hex(std::uint32_t rgb, float alpha) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rgb & 0xFF) / 255.0f, alpha};
}

Fill solid(Rgba colour) { return {colour, colour, 0.0f, 0.0f}; }

Fill gradient(Rgba top, Rgba bottom, float y_top, float y_bottom) { return {top, bottom, y_top, y_bottom}; }

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), premultiplied_(static_cast<size_t>(width * height) * 4, 0.0f) {}

void Canvas::blend(int x, int y, Rgba colour, float coverage) {
    const float a = colour.a * coverage;
    float* px = &premultiplied_[static_cast<size_t>(y * width_ + x) * 4];
    const float keep = 1.0f - a;
    px[0] = colour.r * a + px[0] * keep;
    px[1] = colour.g * a + px[1] * keep;
    px[2] = colour.b * a + px[2] * keep;
    px[3] = a + px[3] * keep;
}

void Canvas::paint(const Shape& shape, const Fill& fill) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Vec2 centre{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            const float d = shape(centre);
            if (d >= PIXEL_REACH) {
                continue;
            }
            const float coverage = d <= -PIXEL_REACH ? 1.0f : sample_coverage(shape, x, y);
            if (coverage > 0.0f) {
                blend(x, y, colour_at(fill, centre.y), coverage);
            }
        }
    }
}

void Canvas::paint_soft(const Shape& shape, Rgba colour, float softness) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Vec2 centre{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            const float coverage = std::clamp(0.5f - shape(centre) / softness, 0.0f, 1.0f);
            if (coverage > 0.0f) {
                blend(x, y, colour, coverage);
            }
        }
    }
}

Image Canvas::to_image() const {
    Image image;
    image.width = width_;
    image.height = height_;
    image.rgba.assign(static_cast<size_t>(width_ * height_) * 4, 0);
    for (size_t i = 0; i < static_cast<size_t>(width_ * height_); ++i) {
        const float* px = &premultiplied_[i * 4];
        const std::uint8_t alpha = to_byte(px[3]);
        if (alpha == 0) {
            continue;  // fully transparent pixels carry no colour
        }
        std::uint8_t* out = &image.rgba[i * 4];
        out[0] = to_byte(px[0] / px[3]);
        out[1] = to_byte(px[1] / px[3]);
        out[2] = to_byte(px[2] / px[3]);
        out[3] = alpha;
    }
    return image;
}

}  // namespace cursor_art
