// Writes to the process's own code that happen together or not at all: the
// game is either fully patched or left as it was. The game's other threads
// are suspended from before the first page is made writable until the last
// protection is back, so none of them runs a half-written instruction or
// sees a write that is undone.
#pragma once

#include <stdint.h>
#include <windows.h>

// The longest write one patch makes (the longest storm.dll range is 10).
const int MAX_PATCH_LENGTH = 16;
// The most patches one transaction holds (the host's 12 and storm.dll's 7).
const int MAX_PATCHES = 24;
// The one-byte instruction that does nothing.
const uint8_t NO_OPERATION = 0x90;

// Bytes to write at an address. A patch starts at an instruction of the old
// code, and its new bytes start with an instruction too.
struct Patch {
    uintptr_t address;
    SIZE_T length;  // at most MAX_PATCH_LENGTH
    uint8_t bytes[MAX_PATCH_LENGTH];
};

enum PatchOutcome {
    PATCHES_WRITTEN,
    // Windows refused to change or put back a page's protection.
    PATCHES_REFUSED,
    // Another thread stayed stopped where the new bytes would break it, or
    // the other threads could not all be suspended.
    PATCHES_CODE_IN_USE,
};

// Suspends the process's other threads and checks where each stopped: one
// stopped inside a patch (past its first byte) would resume in the middle
// of the new bytes, unless they are no-operations from there to the patch's
// end. While one is, every thread is resumed and the transaction waits a
// moment and looks again, a few times, then gives up with
// PATCHES_CODE_IN_USE. Then makes the pages of every patch writable, keeping
// their protections; only once all of them are, writes every patch in order
// and flushes the instruction cache over it; then puts each protection back
// and resumes the threads. When Windows refuses a page (exploit protection's
// code guard), nothing is written, the protections already changed are put
// back, the refusal is counted in patch_refusals and the result is
// PATCHES_REFUSED. When a protection can't be put back, every byte written
// is put back (on every page Windows still lets it write), the refusal is
// counted and the result is PATCHES_REFUSED too. At most MAX_PATCHES
// patches; more are refused without a count.
PatchOutcome apply_patches(const Patch* patches, int count);
