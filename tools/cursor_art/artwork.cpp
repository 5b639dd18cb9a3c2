#include "artwork.h"

#include <utility>

#include "artwork_style.h"
#include "cursor_looks.h"

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
    {1000, 0, "cursor0.ani", CURSOR_LOOKS[0], 32, 3, 2, 1, draw_pointer},
    {1001, 1, "cursor1.ani", CURSOR_LOOKS[1], 32, 3, 2, 1, draw_pointer},
    {1002, 2, "cursor2.ani", CURSOR_LOOKS[2], 32, 3, 2, 1, draw_pointer},
    {1003, 3, "cursor3.ani", CURSOR_LOOKS[3], 32, 3, 2, 1, draw_pointer},
    {1004, 4, "cursor4.ani", CURSOR_LOOKS[4], 32, 15, 15, 1, draw_reticle},
    {1005, 5, "cursor5.ani", CURSOR_LOOKS[5], 32, 15, 15, 1, draw_reticle},
    {1006, 6, "cursor6.ani", CURSOR_LOOKS[6], 32, 15, 15, 1, draw_reticle},
    {1007, 7, "cursor7.ani", CURSOR_LOOKS[7], 32, 15, 15, 1, draw_reticle},
    {1008, 8, "cursor8.ani", CURSOR_LOOKS[8], 32, 15, 15, 1, draw_reticle},
    {1009, 9, "cursor9.ani", CURSOR_LOOKS[9], 32, 15, 15, 1, draw_reticle},
    {1010, 10, "cursor10.ani", CURSOR_LOOKS[10], 35, 11, 11, 1, draw_magnifier},
    {1011, 11, "cursor11.ani", CURSOR_LOOKS[11], 32, 8, 8, 1, draw_wand},
    {1012, 12, "cursor12.ani", CURSOR_LOOKS[12], 35, 11, 18, 1, draw_hand},
    {1013, 13, "cursor13.ani", CURSOR_LOOKS[13], 32, 0, 0, 1, draw_corner},
    {1014, 14, "cursor14.ani", CURSOR_LOOKS[14], 32, 12, 2, 1, draw_scroll_arrow},
    {1015, 15, "cursor15.ani", CURSOR_LOOKS[15], 32, 20, 2, 1, draw_scroll_arrow},
    {1016, 16, "cursor16.ani", CURSOR_LOOKS[16], 32, 22, 10, 1, draw_scroll_arrow},
    {1017, 17, "cursor17.ani", CURSOR_LOOKS[17], 32, 20, 18, 1, draw_scroll_arrow},
    {1018, 18, "cursor18.ani", CURSOR_LOOKS[18], 32, 12, 22, 1, draw_scroll_arrow},
    {1019, 19, "cursor19.ani", CURSOR_LOOKS[19], 32, 2, 18, 1, draw_scroll_arrow},
    {1020, 20, "cursor20.ani", CURSOR_LOOKS[20], 32, 4, 10, 1, draw_scroll_arrow},
    {1021, 21, "cursor21.ani", CURSOR_LOOKS[21], 32, 2, 2, 1, draw_scroll_arrow},
    {2005, 5, "Animated/cursor5.ani", CURSOR_LOOKS[22], 32, 15, 15, 2, draw_reticle},
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
