// Writes to the process's own code that happen together or not at all: the
// game is either fully patched or left as it was.
#pragma once

#include <stdint.h>
#include <windows.h>

// The longest write one patch makes (the longest storm.dll range is 10).
const int MAX_PATCH_LENGTH = 16;
// The most patches one transaction holds (the host's 12 and storm.dll's 7).
const int MAX_PATCHES = 24;

// Bytes to write at an address.
struct Patch {
    uintptr_t address;
    SIZE_T length;  // at most MAX_PATCH_LENGTH
    uint8_t bytes[MAX_PATCH_LENGTH];
};

// Makes the pages of every patch writable, keeping their protections; only
// once all of them are, writes every patch in order and flushes the
// instruction cache over it; then puts each protection back. When Windows
// refuses a page (exploit protection's code guard), nothing is written, the
// protections already changed are put back, the refusal is counted in
// patch_refusals and the result is false. When a protection can't be put
// back, every byte written is put back (on every page Windows still lets it
// write) and the result is false too.
// At most MAX_PATCHES patches.
bool apply_patches(const Patch* patches, int count);
