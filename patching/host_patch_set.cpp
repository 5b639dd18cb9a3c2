#include "patching/host_patch_set.h"

#include <string.h>
#include <windows.h>

#include "cursors/cursor_table.h"
#include "patching/patch_transaction.h"
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

const uint8_t CALL_OPCODE = 0xE8;
const SIZE_T CALL_LENGTH = 5;

struct CallDiversion {
    uintptr_t site;
    CursorCallHook hook;
    uintptr_t* previous;
};

// The two call sites, in the order they are written; the routine pointers and
// the fills come from the address map.
const CallDiversion CALL_DIVERSIONS[] = {
    {host_map::CALL_SITE_A, cursor_call_hook_a, &prev_call_a},
    {host_map::CALL_SITE_B, cursor_call_hook_b, &prev_call_b},
};
const uintptr_t REPLACED_ROUTINE_POINTERS[] = {host_map::ROUTINE_POINTER_A,
                                               host_map::ROUTINE_POINTER_B};

// The patches of one transaction, in the order they are written: two calls,
// two pointers, the host fills, then storm.dll's.
static_assert(4 + host_map::HOST_FILL_RANGE_COUNT + host_map::STORM_FILL_RANGE_COUNT <=
                  MAX_PATCHES,
              "one transaction holds the whole patch set");
struct PatchList {
    Patch patches[MAX_PATCHES];
    int count;
    bool overfull;  // a patch did not fit: the list must not be applied
};

void add_bytes(PatchList* list, uintptr_t address, const void* bytes, SIZE_T length) {
    if (list->count == MAX_PATCHES || length > MAX_PATCH_LENGTH) {
        list->overfull = true;
        return;
    }
    Patch& patch = list->patches[list->count++];
    patch.address = address;
    patch.length = length;
    memcpy(patch.bytes, bytes, length);
}

void add_fill(PatchList* list, uintptr_t start, uintptr_t end) {
    uint8_t fill[MAX_PATCH_LENGTH];
    memset(fill, NO_OPERATION, sizeof fill);
    add_bytes(list, start, fill, end - start);  // refuses a range beyond `fill`
}

// A call to `target` at `site`. The site's old destination is stored now,
// before the site changes: a host thread taking the new call at once finds
// where the old one went.
void add_diversion(PatchList* list, const CallDiversion& diversion) {
    uint32_t old_displacement;
    memcpy(&old_displacement, reinterpret_cast<const void*>(diversion.site + 1),
           sizeof old_displacement);
    *diversion.previous = diversion.site + CALL_LENGTH + old_displacement;
    // Displacements count from the end of the instruction, modulo 2^32.
    uint32_t displacement = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(diversion.hook) -
                                                  (diversion.site + CALL_LENGTH));
    uint8_t call[CALL_LENGTH] = {CALL_OPCODE};
    memcpy(call + 1, &displacement, sizeof displacement);
    add_bytes(list, diversion.site, call, CALL_LENGTH);
}

void add_host_patches(PatchList* list) {
    for (const CallDiversion& diversion : CALL_DIVERSIONS)
        add_diversion(list, diversion);
    const uint32_t no_op = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(no_op_routine));
    for (uintptr_t slot : REPLACED_ROUTINE_POINTERS)
        add_bytes(list, slot, &no_op, sizeof no_op);
    for (const host_map::ByteRange& range : host_map::HOST_FILL_RANGES)
        add_fill(list, range.start, range.end);
}

// How far into storm.dll's image the signature and the fills reach.
uintptr_t storm_extent_needed() {
    uintptr_t extent = host_map::STORM_SIGNATURE_OFFSET + STORM_SIGNATURE_LENGTH;
    for (const host_map::ByteRange& range : host_map::STORM_FILL_RANGES)
        if (range.end > extent)
            extent = range.end;
    return extent;
}

// The headers of a loaded image lie in its first page, which the loader
// always maps.
const LONG HEADER_PAGE = 0x1000;

// The image size the module's own PE headers give; 0 when they don't lie in
// its first page.
uintptr_t image_size(uintptr_t base) {
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_lfanew < 0 ||
        dos->e_lfanew > HEADER_PAGE - static_cast<LONG>(sizeof(IMAGE_NT_HEADERS32)))
        return 0;
    const IMAGE_NT_HEADERS32* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    return nt->OptionalHeader.SizeOfImage;
}

// 0 when storm.dll at `base` is the build the table was made for, else why
// not: STORM_IMAGE_TOO_SMALL or the signature's comparison (non-zero).
int storm_mismatch(uintptr_t base) {
    // A smaller image can't be the build the table was made for.
    if (image_size(base) < storm_extent_needed())
        return STORM_IMAGE_TOO_SMALL;
    return memcmp(reinterpret_cast<const void*>(base + host_map::STORM_SIGNATURE_OFFSET),
                  storm_signature, STORM_SIGNATURE_LENGTH);
}

void add_storm_patches(PatchList* list, uintptr_t base) {
    for (const host_map::ByteRange& range : host_map::STORM_FILL_RANGES)
        add_fill(list, base + range.start, base + range.end);
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
    PatchList list;
    list.count = 0;
    list.overfull = false;
    add_host_patches(&list);
    HMODULE storm = GetModuleHandleA("storm.dll");
    uintptr_t storm_base = reinterpret_cast<uintptr_t>(storm);
    int mismatch = storm ? storm_mismatch(storm_base) : 0;
    if (storm && !mismatch)
        add_storm_patches(&list, storm_base);
    PatchOutcome outcome =
        list.overfull ? PATCHES_REFUSED : apply_patches(list.patches, list.count);
    bool applied = outcome == PATCHES_WRITTEN;
    // The game then runs with its own cursor code, untouched. Say why where a
    // debugger, or a player's debug viewer, listens: exploit protection's
    // code guard refuses such writes; a thread of the game may be stuck in
    // the code to be changed.
    if (outcome == PATCHES_REFUSED)
        OutputDebugStringA("Quillmere: game code unchanged: turn off Exploit protection's "
                           "code guard for the game\n");
    else if (outcome == PATCHES_CODE_IN_USE)
        OutputDebugStringA("Quillmere: game code unchanged: another thread of the game was "
                           "running it; start the game again\n");
    if (!storm)
        return 0;
    if (mismatch)
        return mismatch;
    return applied ? TRUE : 0;
}
