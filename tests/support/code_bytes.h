// Reading code bytes at an address, as the patch tests do around call
// sites and routine pointers.
#pragma once

#include <stdint.h>
#include <string.h>

// The byte at `address` as a pointer that can be read or written.
inline uint8_t* at(uintptr_t address) { return reinterpret_cast<uint8_t*>(address); }

// The 32-bit value at `address`, which need not be aligned.
inline uint32_t read32(uintptr_t address) {
    uint32_t value;
    memcpy(&value, at(address), sizeof value);
    return value;
}
