// The stand-in host's side of the host globals: it writes what the real host
// keeps current, at the fixed addresses the plug-in reads.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "base/host_address_map.h"
#include "host/host_setup.h"

void set_host_main_window(HWND window);
void set_host_screen_size(uint16_t width, uint16_t height);
void set_host_cursor_kind(uint8_t kind);
void set_host_state_flags(uint32_t flags);
// Turns the animated cursor set on or off (bit 0x40), keeping the other bits.
void set_host_animated_set(bool on);
