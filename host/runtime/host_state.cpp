#include "host/runtime/host_state.h"

#include "base/host_address_map.h"

namespace {
template <typename T>
void write_global(uintptr_t address, T value) {
    *reinterpret_cast<T volatile*>(address) = value;
}
}  // namespace

void set_host_main_window(HWND window) { write_global(host_map::MAIN_WINDOW, window); }

void set_host_screen_size(uint16_t width, uint16_t height) {
    write_global(host_map::SCREEN_WIDTH, width);
    write_global(host_map::SCREEN_HEIGHT, height);
}

void set_host_cursor_kind(uint8_t kind) { write_global(host_map::CURSOR_KIND, kind); }

void set_host_state_flags(uint32_t flags) { write_global(host_map::STATE_FLAGS, flags); }

void set_host_animated_set(bool on) {
    uint32_t flags = host_state_flags();
    set_host_state_flags(on ? flags | host_map::ANIMATED_SET_FLAG
                            : flags & ~host_map::ANIMATED_SET_FLAG);
}
