#include "patching/patch_primitives.h"

#include <string.h>

namespace {

const uint8_t CALL_OPCODE = 0xE8;
const SIZE_T CALL_LENGTH = 5;

void* at(uintptr_t address) { return reinterpret_cast<void*>(address); }

// Makes length bytes at address writable; false (and nothing changed) when
// the pages can't take the new protection.
bool unprotect(uintptr_t address, SIZE_T length, DWORD* saved) {
    return VirtualProtect(at(address), length, PAGE_EXECUTE_READWRITE, saved) != 0;
}

// Puts back the protection unprotect saved; the result of VirtualProtect.
BOOL reprotect(uintptr_t address, SIZE_T length, DWORD* saved) {
    return VirtualProtect(at(address), length, *saved, saved);
}

}  // namespace

uintptr_t redirect_call(uintptr_t site, uintptr_t target) {
    DWORD saved;
    if (!unprotect(site, CALL_LENGTH, &saved))
        return 0;
    *static_cast<uint8_t*>(at(site)) = CALL_OPCODE;
    // Displacements count from the end of the instruction, modulo 2^32.
    uint32_t old_displacement;
    memcpy(&old_displacement, at(site + 1), sizeof old_displacement);
    uint32_t new_displacement = static_cast<uint32_t>(target - (site + CALL_LENGTH));
    memcpy(at(site + 1), &new_displacement, sizeof new_displacement);
    reprotect(site, CALL_LENGTH, &saved);
    return site + CALL_LENGTH + old_displacement;
}

uint32_t replace_pointer(uintptr_t slot, uint32_t value) {
    DWORD saved;
    if (!unprotect(slot, sizeof value, &saved))
        return 0;
    uint32_t old_value;
    memcpy(&old_value, at(slot), sizeof old_value);
    memcpy(at(slot), &value, sizeof value);
    reprotect(slot, sizeof value, &saved);
    return old_value;
}

BOOL fill_bytes(uintptr_t start, uint8_t value, uintptr_t end) {
    SIZE_T length = end - start;
    DWORD saved;
    if (!unprotect(start, length, &saved))
        return 0;
    memset(at(start), value, length);
    return reprotect(start, length, &saved);
}
