#include "contact_sheet.h"

#include <cstdint>
#include <string>
#include <vector>

#include <stb/stb_easy_font.h>

#include "cursors/cursor_pixels.h"
#include "png_file.h"

namespace cursor_art {
namespace {

struct Rgb8 {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
};

constexpr int COLUMNS = 8;
constexpr int CELL_WIDTH = 128;
constexpr int CELL_HEIGHT = 116;
constexpr int MARGIN = 8;
constexpr int ZOOM = 2;
constexpr int LABEL_SCALE = 2;
constexpr int SMALL_X = 8;   // 1x image, relative to the cell
constexpr int LARGE_X = 52;  // 2x image, relative to the cell
constexpr int IMAGE_Y = 22;
constexpr int MARKER_LENGTH = 4;
constexpr int WORDS_Y = 98;  // what the cursor shows, under the images
// The legend above the panels: one line each, in the small font.
constexpr int LINE_HEIGHT = 12;
const char* const LEGEND[] = {
    "Quillmere's default cursors. The number is the file's: 14 is plugin\\Cursors\\cursor14.ani;",
    "A5.1 and A5.2 are the two pictures of the animated cursor 5 (plugin\\Cursors\\Animated\\cursor5.ani).",
    "Left: each cursor at its own size. Right: twice that, as the game shows it. The game picks the",
    "number; the words say what the picture shows. The red ticks above and left of the large picture",
    "point at the hotspot: the point that clicks. Top: on a light ground; then on a dark one; last,",
    "each cursor twice and three times its size with Edges=square and Edges=smooth (the default).",
};
constexpr int LEGEND_LINES = sizeof LEGEND / sizeof LEGEND[0];
constexpr int LEGEND_HEIGHT = 2 * MARGIN + LEGEND_LINES * LINE_HEIGHT;
// The last panel: each cursor at 2x and 3x, square then smooth.
// Its cells hold the 35 px cursors: 2 x 70 and 2 x 105 pixels side by side.
constexpr int EDGE_COLUMNS = 3;
constexpr int EDGE_CELL_WIDTH = 380;
constexpr int EDGE_CELL_HEIGHT = 132;
constexpr int EDGE_GAP = 3;       // between square and smooth
constexpr int EDGE_PAIR_GAP = 7;  // between the 2x pair and the 3x pair
const int EDGE_FACTORS[] = {2, 3};
const EdgeStyle EDGE_STYLES[] = {EDGES_SQUARE, EDGES_SMOOTH};
// Enough for the renderer's work on a picture of the defaults' size at 3x.
constexpr std::uint32_t RENDER_MEMORY = 4u << 20;
// Room for the small font's quads: 64 bytes each, a few dozen a character.
constexpr int WORDS_BUFFER_SIZE = 64 * 4096;

struct Theme {
    Rgb8 background;
    Rgb8 frame;
    Rgb8 label;
    Rgb8 marker;
};
constexpr Theme LIGHT = {{0xEC, 0xEE, 0xF1}, {0xC4, 0xC9, 0xD0}, {0x40, 0x46, 0x50}, {0xE0, 0x20, 0x60}};
constexpr Theme DARK = {{0x1D, 0x21, 0x26}, {0x3A, 0x40, 0x48}, {0xB8, 0xC0, 0xCA}, {0xFF, 0x50, 0x90}};

// 3 x 5 glyphs, one row per 3 low bits, top row first.
struct Glyph {
    char ch;
    std::uint8_t rows[5];
};
constexpr Glyph FONT[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 3, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'.', {0, 0, 0, 0, 2}},
};

// One tile of the sheet: a single frame and its caption.
struct Tile {
    const CursorFrame* frame;
    std::string label;
    std::string looks;
};

class Sheet {
public:
    Sheet(int width, int height) : width_(width), height_(height), rgb_(static_cast<size_t>(width * height) * 3, 0) {}

    void fill_rect(int x0, int y0, int w, int h, Rgb8 colour) {
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x) set(x, y, colour, 255);
        }
    }

    void frame_rect(int x0, int y0, int w, int h, Rgb8 colour) {
        fill_rect(x0, y0, w, 1, colour);
        fill_rect(x0, y0 + h - 1, w, 1, colour);
        fill_rect(x0, y0, 1, h, colour);
        fill_rect(x0 + w - 1, y0, 1, h, colour);
    }

    // Composites the cursor over what is there, each pixel drawn zoom x zoom.
    void draw_image(const Image& image, int x0, int y0, int zoom) {
        for (int y = 0; y < image.height * zoom; ++y) {
            for (int x = 0; x < image.width * zoom; ++x) {
                const std::uint8_t* px = &image.rgba[static_cast<size_t>((y / zoom) * image.width + x / zoom) * 4];
                set(x0 + x, y0 + y, {px[0], px[1], px[2]}, px[3]);
            }
        }
    }

    void draw_text(const std::string& text, int x0, int y0, Rgb8 colour) {
        for (const char ch : text) {
            for (const Glyph& glyph : FONT) {
                if (glyph.ch == ch) draw_glyph(glyph, x0, y0, colour);
            }
            x0 += 4 * LABEL_SCALE;
        }
    }

    // Text in stb's small font: its quads filled, on whole pixels.
    void draw_words(const std::string& text, int x0, int y0, Rgb8 colour) {
        static char quads[WORDS_BUFFER_SIZE];
        std::string copy = text;
        const int count = stb_easy_font_print(static_cast<float>(x0), static_cast<float>(y0), &copy[0],
                                              nullptr, quads, sizeof quads);
        for (int q = 0; q < count; ++q) {
            const float* first = reinterpret_cast<const float*>(quads + q * 64);
            const float* third = reinterpret_cast<const float*>(quads + q * 64 + 32);
            const int left = static_cast<int>(first[0]), top = static_cast<int>(first[1]);
            fill_rect(left, top, static_cast<int>(third[0]) - left, static_cast<int>(third[1]) - top, colour);
        }
    }

    const std::vector<std::uint8_t>& rgb() const { return rgb_; }

private:
    void draw_glyph(const Glyph& glyph, int x0, int y0, Rgb8 colour) {
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 3; ++col) {
                if (glyph.rows[row] & (4 >> col)) {
                    fill_rect(x0 + col * LABEL_SCALE, y0 + row * LABEL_SCALE, LABEL_SCALE, LABEL_SCALE, colour);
                }
            }
        }
    }

    // Integer "over" blend, so the sheet is the same on every run.
    void set(int x, int y, Rgb8 c, std::uint8_t alpha) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha == 0) return;
        std::uint8_t* px = &rgb_[static_cast<size_t>(y * width_ + x) * 3];
        const unsigned a = alpha;
        px[0] = static_cast<std::uint8_t>((c.r * a + px[0] * (255 - a) + 127) / 255);
        px[1] = static_cast<std::uint8_t>((c.g * a + px[1] * (255 - a) + 127) / 255);
        px[2] = static_cast<std::uint8_t>((c.b * a + px[2] * (255 - a) + 127) / 255);
    }

    int width_;
    int height_;
    std::vector<std::uint8_t> rgb_;
};

// `image` at `factor` times its size, as the module renders it with `edges`.
Image rendered(const Image& image, int factor, EdgeStyle edges) {
    const std::uint32_t pixels = static_cast<std::uint32_t>(image.width * image.height);
    std::vector<std::uint32_t> colour(pixels);
    std::vector<std::uint8_t> mask(pixels);
    for (std::uint32_t i = 0; i < pixels; ++i) {
        const std::uint8_t* px = &image.rgba[i * 4];
        colour[i] = static_cast<std::uint32_t>(px[3]) << 24 | px[0] << 16 | px[1] << 8 | px[2];
        mask[i] = px[3] == 0;
    }
    const Picture source = {static_cast<std::uint32_t>(image.width),
                            static_cast<std::uint32_t>(image.height), colour.data(), mask.data(), true};
    static std::vector<std::uint8_t> memory(RENDER_MEMORY);
    PixelArena arena = {memory.data(), RENDER_MEMORY, 0};
    Picture shown;
    Image out;
    if (!render_picture(source, source.width * factor, source.height * factor, edges, &arena, &shown))
        return out;
    out.width = static_cast<int>(shown.width);
    out.height = static_cast<int>(shown.height);
    for (std::uint32_t i = 0; i < shown.width * shown.height; ++i) {
        const std::uint32_t c = shown.colour[i];
        out.rgba.insert(out.rgba.end(), {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                                         static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 24)});
    }
    return out;
}

std::vector<Tile> tiles_for(const std::vector<CursorFile>& files) {
    std::vector<Tile> tiles;
    for (const CursorFile& file : files) {
        const bool animated = file.frames.size() > 1;
        for (size_t i = 0; i < file.frames.size(); ++i) {
            std::string label = std::to_string(file.slot);
            if (animated) label = "A" + label + "." + std::to_string(i + 1);
            tiles.push_back({&file.frames[i], label, file.looks});
        }
    }
    return tiles;
}

void draw_tile(Sheet& sheet, const Tile& tile, int x0, int y0, const Theme& theme) {
    const Image& image = tile.frame->image;
    sheet.draw_text(tile.label, x0 + SMALL_X, y0 + 6, theme.label);
    sheet.frame_rect(x0 + SMALL_X - 1, y0 + IMAGE_Y - 1, image.width + 2, image.height + 2, theme.frame);
    sheet.draw_image(image, x0 + SMALL_X, y0 + IMAGE_Y, 1);

    const int large_x = x0 + LARGE_X;
    sheet.frame_rect(large_x - 1, y0 + IMAGE_Y - 1, image.width * ZOOM + 2, image.height * ZOOM + 2, theme.frame);
    sheet.draw_image(rendered(image, ZOOM, EDGES_SMOOTH), large_x, y0 + IMAGE_Y, 1);
    // Ticks above and left of the 2x image point at the hotspot pixel.
    const int hot_x = large_x + tile.frame->hotspot_x * ZOOM;
    const int hot_y = y0 + IMAGE_Y + tile.frame->hotspot_y * ZOOM;
    sheet.fill_rect(hot_x, y0 + IMAGE_Y - 2 - MARKER_LENGTH, ZOOM, MARKER_LENGTH, theme.marker);
    sheet.fill_rect(large_x - 2 - MARKER_LENGTH, hot_y, MARKER_LENGTH, ZOOM, theme.marker);
    sheet.draw_words(tile.looks, x0 + SMALL_X, y0 + WORDS_Y, theme.label);
}

void draw_panel(Sheet& sheet, const std::vector<Tile>& tiles, int top, int width, int height, const Theme& theme) {
    sheet.fill_rect(0, top, width, height, theme.background);
    for (size_t i = 0; i < tiles.size(); ++i) {
        const int column = static_cast<int>(i) % COLUMNS;
        const int row = static_cast<int>(i) / COLUMNS;
        draw_tile(sheet, tiles[i], MARGIN + column * CELL_WIDTH, top + MARGIN + row * CELL_HEIGHT, theme);
    }
}

// One cursor at 2x and 3x, square then smooth, on the light ground.
void draw_edges_tile(Sheet& sheet, const Tile& tile, int x0, int y0) {
    const Image& image = tile.frame->image;
    sheet.draw_text(tile.label, x0 + SMALL_X, y0 + 6, LIGHT.label);
    int x = x0 + SMALL_X;
    for (const int factor : EDGE_FACTORS) {
        for (const EdgeStyle edges : EDGE_STYLES) {
            const Image shown = rendered(image, factor, edges);
            sheet.frame_rect(x - 1, y0 + IMAGE_Y - 1, shown.width + 2, shown.height + 2, LIGHT.frame);
            sheet.draw_image(shown, x, y0 + IMAGE_Y, 1);
            x += shown.width + EDGE_GAP;
        }
        x += EDGE_PAIR_GAP - EDGE_GAP;
    }
}

void draw_edges_panel(Sheet& sheet, const std::vector<Tile>& tiles, int top, int width, int height) {
    sheet.fill_rect(0, top, width, height, LIGHT.background);
    for (size_t i = 0; i < tiles.size(); ++i) {
        const int column = static_cast<int>(i) % EDGE_COLUMNS;
        const int row = static_cast<int>(i) / EDGE_COLUMNS;
        draw_edges_tile(sheet, tiles[i], MARGIN + column * EDGE_CELL_WIDTH,
                        top + MARGIN + row * EDGE_CELL_HEIGHT);
    }
}

}  // namespace

bool write_contact_sheet(const std::vector<CursorFile>& files, const std::string& path) {
    const std::vector<Tile> tiles = tiles_for(files);
    const int rows = (static_cast<int>(tiles.size()) + COLUMNS - 1) / COLUMNS;
    const int width = 2 * MARGIN + (COLUMNS * CELL_WIDTH > EDGE_COLUMNS * EDGE_CELL_WIDTH
                                        ? COLUMNS * CELL_WIDTH
                                        : EDGE_COLUMNS * EDGE_CELL_WIDTH);
    const int panel_height = 2 * MARGIN + rows * CELL_HEIGHT;
    const int edge_rows = (static_cast<int>(tiles.size()) + EDGE_COLUMNS - 1) / EDGE_COLUMNS;
    const int edges_height = 2 * MARGIN + edge_rows * EDGE_CELL_HEIGHT;
    const int height = LEGEND_HEIGHT + 2 * panel_height + edges_height;
    Sheet sheet(width, height);
    sheet.fill_rect(0, 0, width, LEGEND_HEIGHT, LIGHT.background);
    for (int line = 0; line < LEGEND_LINES; ++line)
        sheet.draw_words(LEGEND[line], MARGIN, MARGIN + line * LINE_HEIGHT, LIGHT.label);
    draw_panel(sheet, tiles, LEGEND_HEIGHT, width, panel_height, LIGHT);
    draw_panel(sheet, tiles, LEGEND_HEIGHT + panel_height, width, panel_height, DARK);
    draw_edges_panel(sheet, tiles, LEGEND_HEIGHT + 2 * panel_height, width, edges_height);
    return write_png_rgb(path, width, height, sheet.rgb());
}

}  // namespace cursor_art
