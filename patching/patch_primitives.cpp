#include "patching/patch_primitives.h"

#include <string.h>

PatchRefusals patch_refusals;

namespace {

const uint8_t CALL_OPCODE = 0xE8;
const SIZE_T CALL_LENGTH = 5;

void* at(uintptr_t address) { return reinterpret_cast<void*>(address); }

// Makes length bytes at address writable; false (and nothing changed) when
// the pages can't take the new protection.
bool unprotect(uintptr_t address, SIZE_T length, DWORD* saved) {
    return VirtualProtect(at(address), length, PAGE_EXECUTE_READWRITE, saved) != 0;
}

// unprotect for a write, counting a refusal.
bool begin_write(uintptr_t address, SIZE_T length, DWORD* saved) {
    if (unprotect(address, length, saved))
        return true;
    count_patch_refusal(GetLastError());
    return false;
}

// Ends a write: the processor may hold the old instructions, so its cache is
// flushed for the bytes written; then the protection unprotect saved goes
// back. The result of that VirtualProtect.
BOOL finish_write(uintptr_t address, SIZE_T length, DWORD* saved) {
    FlushInstructionCache(GetCurrentProcess(), at(address), length);
    return VirtualProtect(at(address), length, *saved, saved);
}

}  // namespace

uintptr_t redirect_call(uintptr_t site, uintptr_t target, uintptr_t* previous) {
    DWORD saved;
    if (!begin_write(site, CALL_LENGTH, &saved))
        return 0;
    // Displacements count from the end of the instruction, modulo 2^32.
    uint32_t old_displacement;
    memcpy(&old_displacement, at(site + 1), sizeof old_displacement);
    uintptr_t old_destination = site + CALL_LENGTH + old_displacement;
    if (previous)
        *previous = old_destination;
    *static_cast<uint8_t*>(at(site)) = CALL_OPCODE;
    uint32_t new_displacement = static_cast<uint32_t>(target - (site + CALL_LENGTH));
    memcpy(at(site + 1), &new_displacement, sizeof new_displacement);
    finish_write(site, CALL_LENGTH, &saved);
    return old_destination;
}

uint32_t replace_pointer(uintptr_t slot, uint32_t value) {
    DWORD saved;
    if (!begin_write(slot, sizeof value, &saved))
        return 0;
    uint32_t old_value;
    memcpy(&old_value, at(slot), sizeof old_value);
    memcpy(at(slot), &value, sizeof value);
    finish_write(slot, sizeof value, &saved);
    return old_value;
}

BOOL fill_bytes(uintptr_t start, uint8_t value, uintptr_t end) {
    SIZE_T length = end - start;
    DWORD saved;
    if (!begin_write(start, length, &saved))
        return 0;
    memset(at(start), value, length);
    return finish_write(start, length, &saved);
}

void count_patch_refusal(DWORD error) {
    if (patch_refusals.count++ == 0)
        patch_refusals.first_error = error;
}

DWORD code_patch_refusal(uintptr_t address) {
    DWORD saved;
    if (!unprotect(address, 1, &saved)) {
        DWORD error = GetLastError();
        return error ? error : ERROR_ACCESS_DENIED;
    }
    VirtualProtect(at(address), 1, saved, &saved);
    return 0;
}
