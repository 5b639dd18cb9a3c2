#include "patching/host_patch_set.h"

#include <string.h>
#include <windows.h>

#include "cursors/cursor_table.h"
#include "patching/patch_primitives.h"
#include "base/host_address_map.h"

uintptr_t prev_call_a;
uintptr_t prev_call_b;

namespace {

// The eight code bytes at storm.dll base + 0x10000 that identify the build of
// storm.dll the patch table was made for.
const int STORM_SIGNATURE_LENGTH = 8;
const uint8_t storm_signature[STORM_SIGNATURE_LENGTH] = {0xC2, 0x8B, 0x54, 0x24,
                                                         0x2C, 0xD1, 0xF8, 0x8D};

// Hooks behind the two diverted call sites, called like the host routines they
// stand in front of (one 32-bit stack argument that the caller removes, result
// in EAX): each sets the current cursor, then calls its site's previous
// destination with the same argument and returns its result.
int __cdecl cursor_call_hook_a(int argument);
int __cdecl cursor_call_hook_b(int argument);

// Stands in for the two replaced host routine pointers: takes nothing, leaves
// the stack to the caller, returns at once.
void __cdecl no_op_routine(void);

typedef int(__cdecl* HostRoutine)(int argument);
typedef int(__cdecl* CursorCallHook)(int argument);

const uint8_t NO_OPERATION = 0x90;

struct CallDiversion {
    uintptr_t site;
    CursorCallHook hook;
    uintptr_t* previous;
};

// Host patch steps 1 and 2, then 3 and 4; the fills follow from the address map.
const CallDiversion CALL_DIVERSIONS[] = {
    {host_map::CALL_SITE_A, cursor_call_hook_a, &prev_call_a},
    {host_map::CALL_SITE_B, cursor_call_hook_b, &prev_call_b},
};
const uintptr_t REPLACED_ROUTINE_POINTERS[] = {host_map::ROUTINE_POINTER_A,
                                               host_map::ROUTINE_POINTER_B};

uintptr_t address_of(CursorCallHook hook) { return reinterpret_cast<uintptr_t>(hook); }

void apply_host_patches() {
    // Each old destination is stored before its site changes: a host thread
    // taking the new call at once finds where the old one went.
    for (const CallDiversion& diversion : CALL_DIVERSIONS)
        redirect_call(diversion.site, address_of(diversion.hook), diversion.previous);
    const uint32_t no_op = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(no_op_routine));
    for (uintptr_t slot : REPLACED_ROUTINE_POINTERS)
        replace_pointer(slot, no_op);
    for (const host_map::ByteRange& range : host_map::HOST_FILL_RANGES)
        fill_bytes(range.start, NO_OPERATION, range.end);
}

// How far into storm.dll's image the signature and the fills reach.
uintptr_t storm_extent_needed() {
    uintptr_t extent = host_map::STORM_SIGNATURE_OFFSET + STORM_SIGNATURE_LENGTH;
    for (const host_map::ByteRange& range : host_map::STORM_FILL_RANGES)
        if (range.end > extent)
            extent = range.end;
    return extent;
}

// The image size the module's own PE headers give.
uintptr_t image_size(uintptr_t base) {
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS32* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    return nt->OptionalHeader.SizeOfImage;
}

int apply_storm_patches(uintptr_t base) {
    // A smaller image can't be the build the table was made for: touch nothing.
    if (image_size(base) < storm_extent_needed())
        return STORM_IMAGE_TOO_SMALL;
    int differs = memcmp(reinterpret_cast<const void*>(base + host_map::STORM_SIGNATURE_OFFSET),
                         storm_signature, STORM_SIGNATURE_LENGTH);
    if (differs)
        return differs;
    int result = 0;
    for (const host_map::ByteRange& range : host_map::STORM_FILL_RANGES)
        result = fill_bytes(base + range.start, NO_OPERATION, base + range.end);
    return result;
}

int __cdecl cursor_call_hook_a(int argument) {
    apply_current_cursor();
    return reinterpret_cast<HostRoutine>(prev_call_a)(argument);
}

int __cdecl cursor_call_hook_b(int argument) {
    apply_current_cursor();
    return reinterpret_cast<HostRoutine>(prev_call_b)(argument);
}

void __cdecl no_op_routine(void) {}

}  // namespace

int apply_host_patch_set() {
    apply_host_patches();
    HMODULE storm = GetModuleHandleA("storm.dll");
    int result = storm ? apply_storm_patches(reinterpret_cast<uintptr_t>(storm)) : 0;
    // Exploit protection's code guard makes every such write fail; the game
    // then runs with its own cursor code. Say so where a debugger, or a
    // player's debug viewer, listens.
    if (patch_refusals.count)
        OutputDebugStringA("Quillmere: game code unchanged: turn off Exploit protection's "
                           "code guard for the game\n");
    return result;
}

