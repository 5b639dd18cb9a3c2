#include "patching/patch_transaction.h"

#include <string.h>

#include "patching/patch_primitives.h"

namespace {

void* at(uintptr_t address) { return reinterpret_cast<void*>(address); }

// What a patch's memory held before the transaction.
struct Saved {
    DWORD protection;
    uint8_t bytes[MAX_PATCH_LENGTH];
};

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

}  // namespace

bool apply_patches(const Patch* patches, int count) {
    Saved saved[MAX_PATCHES];
    if (count > MAX_PATCHES || !unprotect(patches, count, saved))
        return false;
    for (int i = 0; i < count; ++i)
        memcpy(saved[i].bytes, at(patches[i].address), patches[i].length);
    for (int i = 0; i < count; ++i)
        write(patches[i], patches[i].bytes);
    if (reprotect(patches, count, saved))
        return true;
    // A page kept writable: undo every write, then try the protections again.
    count_patch_refusal(GetLastError());
    for (int i = 0; i < count; ++i) {
        DWORD ignored;
        if (VirtualProtect(at(patches[i].address), patches[i].length, PAGE_EXECUTE_READWRITE,
                           &ignored))
            write(patches[i], saved[i].bytes);
    }
    reprotect(patches, count, saved);
    return false;
}
