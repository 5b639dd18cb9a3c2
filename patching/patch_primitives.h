// Three ways of rewriting the running process's own memory in place: a
// relative call instruction, a 32-bit pointer and a range of bytes. Each makes
// the memory writable for the write, flushes the processor's instruction
// cache for the bytes written (Windows requires it after code changes), and
// then puts the earlier protection back. When the protection can't be
// changed (exploit protection's code guard refuses it) nothing is written and
// the Windows error stays for GetLastError. Each works alone; the host patch
// set writes through apply_patches (patch_transaction.h), all or nothing.
#pragma once

#include <stdint.h>
#include <windows.h>

// Makes the 5-byte call instruction at site (0xE8, 32-bit displacement) call
// target and returns the address it called before; 0 when the site's
// protection can't be changed, in which case nothing is read or written.
// `previous` (may be null) receives that address before the site changes, so
// a thread taking the new call already finds where the old one went.
uintptr_t redirect_call(uintptr_t site, uintptr_t target, uintptr_t* previous = NULL);

// Stores value in the 32-bit slot and returns what the slot held before; 0
// when the slot's protection can't be changed, leaving it untouched.
uint32_t replace_pointer(uintptr_t slot, uint32_t value);

// Sets every byte from start up to, not including, end (not below start) to
// value; returns the result of putting the protection back (non-zero on
// success), or 0 when the protection can't be changed and nothing was written.
BOOL fill_bytes(uintptr_t start, uint8_t value, uintptr_t end);

// Writes refused since the process started, because their memory's
// protection could not be changed, and the Windows error of the first.
struct PatchRefusals {
    int count;
    DWORD first_error;
};
extern PatchRefusals patch_refusals;

// Counts one refused write in patch_refusals, keeping `error` if it is the
// first.
void count_patch_refusal(DWORD error);

// Whether the code byte at `address` could be patched: makes it writable and
// puts its protection back, writing nothing. 0 when it could, else the
// Windows error that refused it. Not counted among the refusals.
DWORD code_patch_refusal(uintptr_t address);
