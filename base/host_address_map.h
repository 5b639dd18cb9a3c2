// Fixed addresses in the host process: the globals the plug-in reads and the
// code the patch set rewrites. They belong to one build of the host executable
// at its fixed load address (and one build of storm.dll); nothing configures
// them. The plug-in and the stand-in host take them from here; the patch
// tests write the published addresses out on their own and check the
// plug-in's writes against those.
#pragma once

#include <stdint.h>
#include <windows.h>

namespace host_map {

// The host image: code pages from CODE_START, then the data pages holding the
// globals from DATA_START up to IMAGE_END.
const uintptr_t CODE_START = 0x401000;
const uintptr_t DATA_START = 0x4ae000;
const uintptr_t IMAGE_END = 0x4e0000;

// Host globals. The plug-in reads them in place and never writes them.
const uintptr_t MAIN_WINDOW = 0x4ce7b8;    // HWND: the host's main window
const uintptr_t SCREEN_WIDTH = 0x4d4a90;   // uint16_t: host screen width
const uintptr_t SCREEN_HEIGHT = 0x4d4a92;  // uint16_t: host screen height
const uintptr_t CURSOR_KIND = 0x4ae098;    // uint8_t: slot of the cursor to show
const uintptr_t STATE_FLAGS = 0x4d6b00;    // uint32_t: bit 0x40 = animated set
const uint32_t ANIMATED_SET_FLAG = 0x40;

// Host code: two call sites diverted through the cursor hooks, two routine
// pointers replaced, and byte ranges overwritten with no-operations.
const uintptr_t CALL_SITE_A = 0x417f28;
const uintptr_t CALL_SITE_B = 0x418026;
const uintptr_t ROUTINE_POINTER_A = 0x428931;  // inside host code
const uintptr_t ROUTINE_POINTER_B = 0x4d48b8;  // inside host data

struct ByteRange {
    uintptr_t start;
    uintptr_t end;  // excluded
};

const ByteRange HOST_FILL_RANGES[] = {
    {0x45ea9f, 0x45eaa7}, {0x45ead2, 0x45eada}, {0x45ee6f, 0x45ee77},
    {0x45ee86, 0x45ee8e}, {0x45f07c, 0x45f07d}, {0x45f083, 0x45f089},
    {0x469bfa, 0x469c01}, {0x469dc0, 0x469dc8},
};
const int HOST_FILL_RANGE_COUNT = sizeof(HOST_FILL_RANGES) / sizeof(HOST_FILL_RANGES[0]);

// storm.dll: offsets from the base GetModuleHandleA gives for it.
const uintptr_t STORM_SIGNATURE_OFFSET = 0x10000;
const ByteRange STORM_FILL_RANGES[] = {
    {0xf182, 0xf184},   {0xf185, 0xf18f},   {0xf2f4, 0xf2fc},   {0x11660, 0x11664},
    {0x12af7, 0x12af9}, {0x12afa, 0x12b00}, {0x12b59, 0x12b5d},
};
const int STORM_FILL_RANGE_COUNT = sizeof(STORM_FILL_RANGES) / sizeof(STORM_FILL_RANGES[0]);

}  // namespace host_map

// Typed, read-only views of the host globals, read afresh at every call.
inline HWND host_main_window() {
    return *reinterpret_cast<HWND const volatile*>(host_map::MAIN_WINDOW);
}
inline uint16_t host_screen_width() {
    return *reinterpret_cast<uint16_t const volatile*>(host_map::SCREEN_WIDTH);
}
inline uint16_t host_screen_height() {
    return *reinterpret_cast<uint16_t const volatile*>(host_map::SCREEN_HEIGHT);
}
inline uint8_t host_cursor_kind() {
    return *reinterpret_cast<uint8_t const volatile*>(host_map::CURSOR_KIND);
}
inline uint32_t host_state_flags() {
    return *reinterpret_cast<uint32_t const volatile*>(host_map::STATE_FLAGS);
}
