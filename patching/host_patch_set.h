// The fixed set of changes made to the host's code and to storm.dll at the end
// of start-up.
#pragma once

#include <limits.h>
#include <stdint.h>

// Result of the patch set when storm.dll's image is too small to be the
// build the table was made for. The signature's comparison gives a byte's
// difference or its sign, never this.
const int STORM_IMAGE_TOO_SMALL = INT_MIN;

// Where the two diverted host call sites went before; kept for the process's
// life. Each is stored before its site changes.
extern uintptr_t prev_call_a;
extern uintptr_t prev_call_b;

// Applies the host patches (the two call sites then set the current cursor
// before the host routine they stand in front of) and, if storm.dll is
// loaded and is the expected build, its patches, all together or none, with
// the game's other threads suspended (patch_transaction.h): when Windows
// refuses any page, or a thread stays where the new code would break it, no
// byte of the host or storm.dll changes. Returns 0 without storm.dll,
// STORM_IMAGE_TOO_SMALL or the signature's comparison (non-zero) for another
// build of it, otherwise TRUE when the patches were written and 0 when they
// were not. A refused page is counted in patch_refusals; either reason is
// named once on the debug output.
int apply_host_patch_set();
