#include "artwork.h"

#include <utility>

#include "artwork_style.h"

namespace cursor_art {
namespace {

using DrawFunction = void (*)(Canvas&, const ArtRequest&);

struct SlotArt {
    std::uint32_t resource_id;
    int slot;
    const char* relative_path;
    const char* looks;  // the game's use of each number is not known: what it shows
    int size;
    int hotspot_x;
    int hotspot_y;
    int frames;
    DrawFunction draw;
};

// Resource identifiers 1000-1012 carry the image size in their anih header;
// the rest leave it to the frames.
constexpr std::uint32_t LAST_ID_WITH_HEADER_SIZE = 1012;
constexpr std::uint32_t ONE_FRAME_RATE = 18;
constexpr std::uint32_t ANIMATED_RATE = 17;

constexpr SlotArt SLOTS[] = {
    {1000, 0, "cursor0.ani", "arrow, white", 32, 3, 2, 1, draw_pointer},
    {1001, 1, "cursor1.ani", "arrow, gold", 32, 3, 2, 1, draw_pointer},
    {1002, 2, "cursor2.ani", "arrow, green", 32, 3, 2, 1, draw_pointer},
    {1003, 3, "cursor3.ani", "arrow, red", 32, 3, 2, 1, draw_pointer},
    {1004, 4, "cursor4.ani", "crosshair", 32, 15, 15, 1, draw_reticle},
    {1005, 5, "cursor5.ani", "ring sight", 32, 15, 15, 1, draw_reticle},
    {1006, 6, "cursor6.ani", "scope sight", 32, 15, 15, 1, draw_reticle},
    {1007, 7, "cursor7.ani", "diamond sight", 32, 15, 15, 1, draw_reticle},
    {1008, 8, "cursor8.ani", "broken-ring sight", 32, 15, 15, 1, draw_reticle},
    {1009, 9, "cursor9.ani", "corner sight", 32, 15, 15, 1, draw_reticle},
    {1010, 10, "cursor10.ani", "magnifier", 35, 11, 11, 1, draw_magnifier},
    {1011, 11, "cursor11.ani", "magic wand", 32, 8, 8, 1, draw_wand},
    {1012, 12, "cursor12.ani", "pointing hand", 35, 11, 18, 1, draw_hand},
    {1013, 13, "cursor13.ani", "selection corner", 32, 0, 0, 1, draw_corner},
    {1014, 14, "cursor14.ani", "scroll up", 32, 12, 2, 1, draw_scroll_arrow},
    {1015, 15, "cursor15.ani", "scroll up-right", 32, 20, 2, 1, draw_scroll_arrow},
    {1016, 16, "cursor16.ani", "scroll right", 32, 22, 10, 1, draw_scroll_arrow},
    {1017, 17, "cursor17.ani", "scroll down-right", 32, 20, 18, 1, draw_scroll_arrow},
    {1018, 18, "cursor18.ani", "scroll down", 32, 12, 22, 1, draw_scroll_arrow},
    {1019, 19, "cursor19.ani", "scroll down-left", 32, 2, 18, 1, draw_scroll_arrow},
    {1020, 20, "cursor20.ani", "scroll left", 32, 4, 10, 1, draw_scroll_arrow},
    {1021, 21, "cursor21.ani", "scroll up-left", 32, 2, 2, 1, draw_scroll_arrow},
    {2005, 5, "Animated/cursor5.ani", "ring sight, pulsing", 32, 15, 15, 2, draw_reticle},
};

CursorFrame draw_frame(const SlotArt& art, int frame) {
    Canvas canvas(art.size, art.size);
    const ArtRequest request{art.slot, frame, art.size,
                             {static_cast<float>(art.hotspot_x), static_cast<float>(art.hotspot_y)}};
    art.draw(canvas, request);
    CursorFrame out;
    out.image = canvas.to_image();
    out.hotspot_x = art.hotspot_x;
    out.hotspot_y = art.hotspot_y;
    return out;
}

}  // namespace

std::vector<CursorFile> build_default_cursors() {
    std::vector<CursorFile> files;
    for (const SlotArt& art : SLOTS) {
        CursorFile file;
        file.resource_id = art.resource_id;
        file.slot = art.slot;
        file.relative_path = art.relative_path;
        file.looks = art.looks;
        file.header_has_size = art.resource_id <= LAST_ID_WITH_HEADER_SIZE;
        file.rate = art.frames == 1 ? ONE_FRAME_RATE : ANIMATED_RATE;
        for (int frame = 0; frame < art.frames; ++frame) {
            file.frames.push_back(draw_frame(art, frame));
        }
        files.push_back(std::move(file));
    }
    return files;
}

}  // namespace cursor_art
