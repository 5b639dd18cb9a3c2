#include "cursors/pixel_arena.h"

namespace {

const uint32_t ALIGNMENT = 8;

uint32_t rounded_up(uint32_t bytes) { return (bytes + ALIGNMENT - 1) & ~(ALIGNMENT - 1); }

}  // namespace

void* arena_take(PixelArena* arena, uint32_t bytes) {
    uint32_t start = rounded_up(arena->used);
    if (start < arena->used || start > arena->size || bytes > arena->size - start)
        return 0;
    arena->used = start + bytes;
    return arena->base + start;
}

void* arena_resize(PixelArena* arena, void* block, uint32_t old_bytes, uint32_t new_bytes) {
    if (!block)
        return arena_take(arena, new_bytes);
    uint8_t* at = static_cast<uint8_t*>(block);
    uint32_t start = static_cast<uint32_t>(at - arena->base);
    // The last block taken grows where it lies.
    if (start + old_bytes == arena->used) {
        if (new_bytes > arena->size - start)
            return 0;
        arena->used = start + new_bytes;
        return block;
    }
    void* moved = arena_take(arena, new_bytes);
    if (moved)
        memcpy(moved, block, old_bytes < new_bytes ? old_bytes : new_bytes);
    return moved;
}

void arena_keep_from(PixelArena* arena, uint32_t mark, Picture* picture) {
    uint32_t pixels = picture->width * picture->height;
    arena->used = mark;
    uint32_t* colour = static_cast<uint32_t*>(arena_take(arena, pixels * 4));
    memmove(colour, picture->colour, pixels * 4);
    picture->colour = colour;
    uint8_t* mask = static_cast<uint8_t*>(arena_take(arena, pixels));
    memmove(mask, picture->mask, pixels);
    picture->mask = mask;
}
