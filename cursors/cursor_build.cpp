#include "cursors/cursor_build.h"

#include "cursors/cursor_resource.h"

namespace {

const DWORD ICON_RESOURCE_VERSION = 0x00030000;

// The module's pixel memory: a region reserved once (ARENA_SIZE, or in an
// address space too crowded for that the largest of halving sizes down to
// DEFAULTS_ARENA_SIZE), committed as far as the cursors being made need
// while a load runs. Loads never overlap.
PixelArena arena;
uint32_t reserved;
uint32_t committed;

void reserve_pixel_memory() {
    for (uint32_t bytes = ARENA_SIZE; !arena.base && bytes >= DEFAULTS_ARENA_SIZE;) {
        arena.base =
            static_cast<uint8_t*>(reserve_region_fn(NULL, bytes, MEM_RESERVE, PAGE_NOACCESS));
        if (arena.base)
            reserved = bytes;
        else if (bytes > DEFAULTS_ARENA_SIZE && bytes / 2 < DEFAULTS_ARENA_SIZE)
            bytes = DEFAULTS_ARENA_SIZE;
        else
            bytes /= 2;
    }
}

bool commit_pixel_memory(uint32_t bytes) {
    reserve_pixel_memory();
    if (!arena.base || bytes > reserved)
        return false;
    if (bytes > committed) {
        if (!VirtualAlloc(arena.base, bytes, MEM_COMMIT, PAGE_READWRITE))
            return false;
        committed = bytes;
    }
    arena.size = bytes;
    return true;
}

}  // namespace

HCURSOR build_cursor(const uint8_t* file, const CursorTable& table, CursorPlan* plan) {
    uint8_t* resource;
    uint32_t length;
    if (!commit_pixel_memory(plan->arena_bytes) ||
        !(length = make_cursor_resource(file, table, plan, &arena, &resource)))
        return NULL;
    return CreateIconFromResourceEx(resource, length, FALSE, ICON_RESOURCE_VERSION,
                                    static_cast<int>(plan->width), static_cast<int>(plan->height),
                                    LR_DEFAULTCOLOR);
}

ReserveRegionFn reserve_region_fn = VirtualAlloc;

uint32_t pixel_memory_size() {
    reserve_pixel_memory();
    return arena.base ? reserved : 0;
}

void release_pixel_memory() {
    if (committed)
        VirtualFree(arena.base, reserved, MEM_DECOMMIT);
    committed = 0;
    // A region smaller than wanted is given back whole, so that the next
    // load tries the full size again in an address space that may have
    // room by then.
    if (reserved < ARENA_SIZE)
        free_pixel_memory();
}

void free_pixel_memory() {
    if (arena.base)
        VirtualFree(arena.base, 0, MEM_RELEASE);
    arena.base = NULL;
    reserved = committed = 0;
}
