// Three ways of rewriting the running process's own memory in place: a
// relative call instruction, a 32-bit pointer and a range of bytes. Each makes
// the memory writable for the write and then puts the earlier protection back.
#pragma once

#include <stdint.h>
#include <windows.h>

// Makes the 5-byte call instruction at site (0xE8, 32-bit displacement) call
// target and returns the address it called before; 0 when the site's
// protection can't be changed, in which case nothing is read or written.
uintptr_t redirect_call(uintptr_t site, uintptr_t target);

// Stores value in the 32-bit slot and returns what the slot held before; 0
// when the slot's protection can't be changed, leaving it untouched.
uint32_t replace_pointer(uintptr_t slot, uint32_t value);

// Sets every byte from start up to, not including, end (not below start) to
// value; returns the result of putting the protection back (non-zero on
// success), or 0 when the protection can't be changed and nothing was written.
BOOL fill_bytes(uintptr_t start, uint8_t value, uintptr_t end);
