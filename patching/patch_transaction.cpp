#include "patching/patch_transaction.h"

#include <string.h>

#include "patching/other_threads.h"
#include "patching/patch_primitives.h"

namespace {

// How often the transaction looks for a moment when no thread is in its way,
// and how long it lets them run in between.
const int HOLD_ATTEMPTS = 20;
const DWORD RETRY_WAIT_MS = 5;

void* at(uintptr_t address) { return reinterpret_cast<void*>(address); }

// What a patch's memory held before the transaction.
struct Saved {
    DWORD protection;
    uint8_t bytes[MAX_PATCH_LENGTH];
};

// Whether a thread stopped at `pc` would resume in the middle of a patch's
// new bytes. At a patch's first byte it runs the new instruction; from a
// byte after which the patch holds only no-operations it runs on past them.
bool in_the_way(const Patch* patches, int count, uintptr_t pc) {
    for (int i = 0; i < count; ++i) {
        const Patch& patch = patches[i];
        if (pc <= patch.address || pc - patch.address >= patch.length)
            continue;
        for (SIZE_T offset = pc - patch.address; offset < patch.length; ++offset)
            if (patch.bytes[offset] != NO_OPERATION)
                return true;
    }
    return false;
}

// Suspends the other threads at a moment when none is in the way of the
// patches; false, with every thread running, when there was none.
bool hold_threads_clear_of(const Patch* patches, int count, HeldThreads* threads) {
    for (int attempt = 0; attempt < HOLD_ATTEMPTS; ++attempt) {
        if (attempt > 0)
            Sleep(RETRY_WAIT_MS);
        if (!hold_other_threads(threads))
            continue;
        bool clear = true;
        for (int i = 0; i < threads->count && clear; ++i)
            clear = !in_the_way(patches, count, threads->stopped_at[i]);
        if (clear)
            return true;
        release_threads(threads);
    }
    return false;
}

// Puts back the protections of patches[0 .. count). In reverse order: a page
// two patches share was writable already when the second was made so, and
// gets back what it had before the first. False when any is refused.
bool reprotect(const Patch* patches, int count, const Saved* saved) {
    bool all = true;
    for (int i = count - 1; i >= 0; --i) {
        DWORD ignored;
        if (!VirtualProtect(at(patches[i].address), patches[i].length, saved[i].protection,
                            &ignored))
            all = false;
    }
    return all;
}

// Makes every patch writable, keeping each earlier protection in `saved`;
// on a refusal puts back those already changed and returns false.
bool unprotect(const Patch* patches, int count, Saved* saved) {
    for (int i = 0; i < count; ++i) {
        if (!VirtualProtect(at(patches[i].address), patches[i].length, PAGE_EXECUTE_READWRITE,
                            &saved[i].protection)) {
            count_patch_refusal(GetLastError());
            reprotect(patches, i, saved);
            return false;
        }
    }
    return true;
}

void write(const Patch& patch, const uint8_t* bytes) {
    memcpy(at(patch.address), bytes, patch.length);
    FlushInstructionCache(GetCurrentProcess(), at(patch.address), patch.length);
}

// The transaction itself, with the other threads held.
PatchOutcome write_all_or_none(const Patch* patches, int count) {
    Saved saved[MAX_PATCHES];
    if (!unprotect(patches, count, saved))
        return PATCHES_REFUSED;
    for (int i = 0; i < count; ++i)
        memcpy(saved[i].bytes, at(patches[i].address), patches[i].length);
    for (int i = 0; i < count; ++i)
        write(patches[i], patches[i].bytes);
    if (reprotect(patches, count, saved))
        return PATCHES_WRITTEN;
    // A page kept writable: undo every write, then try the protections again.
    count_patch_refusal(GetLastError());
    for (int i = 0; i < count; ++i) {
        DWORD ignored;
        if (VirtualProtect(at(patches[i].address), patches[i].length, PAGE_EXECUTE_READWRITE,
                           &ignored))
            write(patches[i], saved[i].bytes);
    }
    reprotect(patches, count, saved);
    return PATCHES_REFUSED;
}

}  // namespace

PatchOutcome apply_patches(const Patch* patches, int count) {
    if (count > MAX_PATCHES)
        return PATCHES_REFUSED;
    HeldThreads threads;
    if (!hold_threads_clear_of(patches, count, &threads))
        return PATCHES_CODE_IN_USE;
    PatchOutcome outcome = write_all_or_none(patches, count);
    release_threads(&threads);
    return outcome;
}
