#include "cursors/cursor_build.h"

#include "cursors/cursor_resource.h"

namespace {

const DWORD ICON_RESOURCE_VERSION = 0x00030000;

// The module's pixel memory: reserved once (ARENA_SIZE), committed as far
// as the cursors being made need while a load runs. Loads never overlap.
PixelArena arena;
uint32_t committed;

bool commit_pixel_memory(uint32_t bytes) {
    if (!arena.base)
        arena.base =
            static_cast<uint8_t*>(VirtualAlloc(NULL, ARENA_SIZE, MEM_RESERVE, PAGE_NOACCESS));
    if (!arena.base || bytes > ARENA_SIZE)
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

void release_pixel_memory() {
    if (committed)
        VirtualFree(arena.base, ARENA_SIZE, MEM_DECOMMIT);
    committed = 0;
}

void free_pixel_memory() {
    if (arena.base)
        VirtualFree(arena.base, 0, MEM_RELEASE);
    arena.base = NULL;
    committed = 0;
}
