// stb's PNG decoder (libstb-dev's stb_image.h), compiled once, PNG only, no
// files, no SIMD, no threads. Its allocations come from the pixel arena and
// its frees give nothing back (the arena is given back whole). Its warnings
// are silenced for this file alone (CMakeLists.txt).
//
// Its reads stay inside the bytes it is given, which the chunk walk has
// checked. What it inflates it keeps in one buffer, first sized to the
// image's rows and doubled when the compressed data holds more: the arena
// refuses any growth once the buffer holds the whole rows, so data that
// inflates past the image's rows is refused, not inflated.
#include "cursors/cursor_parse.h"
#include "cursors/pixel_arena.h"
#include "cursors/png_decode.h"

namespace {

// The decode under way: loads never overlap, so one at a time.
struct Inflation {
    PixelArena* arena;
    uint32_t raw_bytes;
    void* compressed;  // the compressed rows gathered from the IDAT chunks
};
Inflation* inflation;

void* png_take(size_t bytes) {
    return bytes <= UINT32_MAX ? arena_take(inflation->arena, static_cast<uint32_t>(bytes)) : 0;
}

// The decoder grows two buffers: the compressed rows it gathers (the first
// grown from nothing), bounded by the image's bytes, and the inflated rows
// (first taken at their exact size when not interlaced), which may grow only
// while they hold less than the image's whole rows. Interlaced rows are first
// sized as if not interlaced, mostly a little less than they take: that
// buffer then grows once, and what is inflated past the rows stays below the
// rows' own size before the next growth is refused.
void* png_resize(void* block, size_t old_bytes, size_t new_bytes) {
    bool compressed = !block || block == inflation->compressed;
    if (new_bytes > UINT32_MAX || (!compressed && old_bytes >= inflation->raw_bytes))
        return 0;
    void* resized = arena_resize(inflation->arena, block, static_cast<uint32_t>(old_bytes),
                                 static_cast<uint32_t>(new_bytes));
    if (compressed)
        inflation->compressed = resized;
    return resized;
}

}  // namespace

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_SIMD
#define STBI_NO_THREAD_LOCALS
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_ASSERT(condition) ((void)sizeof(condition))
#define STBI_MAX_DIMENSIONS MAX_IMAGE_SIDE
#define STBI_MALLOC(bytes) png_take(bytes)
#define STBI_REALLOC_SIZED(block, old_bytes, new_bytes) png_resize(block, old_bytes, new_bytes)
#define STBI_FREE(block) ((void)(block))
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

uint8_t* inflate_png(const uint8_t* png, uint32_t length, uint32_t width, uint32_t height,
                     uint32_t raw_bytes, PixelArena* arena) {
    const int RGBA = 4;
    if (length > INT_MAX)
        return 0;
    Inflation current = {arena, raw_bytes, 0};
    inflation = &current;
    int decoded_width = 0, decoded_height = 0, channels = 0;
    uint8_t* pixels = stbi_load_from_memory(png, static_cast<int>(length), &decoded_width,
                                            &decoded_height, &channels, RGBA);
    inflation = 0;
    if (!pixels || static_cast<uint32_t>(decoded_width) != width ||
        static_cast<uint32_t>(decoded_height) != height)
        return 0;
    return pixels;
}
