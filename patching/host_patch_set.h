// The fixed set of changes made to the host's code and to storm.dll at the end
// of start-up, and the two hooks that the diverted host calls now go through.
#pragma once

#include <stdint.h>

// The eight code bytes at storm.dll base + 0x10000 that identify the build of
// storm.dll the patch table was made for.
const int STORM_SIGNATURE_LENGTH = 8;
extern const uint8_t storm_signature[STORM_SIGNATURE_LENGTH];

// Result of the patch set when storm.dll's image is too small to be that build.
const int STORM_IMAGE_TOO_SMALL = -1;

// Where the two diverted host call sites went before; kept for the process's life.
extern uintptr_t prev_call_a;
extern uintptr_t prev_call_b;

// Applies the host patches, then, if storm.dll is loaded and is the expected
// build, its patches. Returns 0 without storm.dll, non-zero for another build
// of it, otherwise the result of the last storm.dll fill. Writes Windows
// refuses are counted in patch_refusals and named once on the debug output.
int apply_host_patch_set();

// Hooks behind the two diverted call sites, called like the host routines they
// stand in front of (one 32-bit stack argument that the caller removes, result
// in EAX): each sets the current cursor, then calls its site's previous
// destination with the same argument and returns its result.
extern "C" int __cdecl cursor_call_hook_a(int argument);
extern "C" int __cdecl cursor_call_hook_b(int argument);

// Stands in for the two replaced host routine pointers: takes nothing, leaves
// the stack to the caller, returns at once.
extern "C" void __cdecl no_op_routine(void);
