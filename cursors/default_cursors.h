// The default cursor files carried in the module as raw resources: written
// to the cursor folders whenever a slot's file is missing there, and loaded
// from the module's own copy where they can't be written.
#pragma once

#include <windows.h>

// Resource identifiers: base slot i is 1000 + i, animated slot i is 2000 + i.
// Only animated slot 5 has a default.
const int BASE_DEFAULT_FIRST_ID = 1000;
const int ANIMATED_DEFAULT_FIRST_ID = 2000;

// The bytes of `module`'s RT_RCDATA resource `identifier`; false when the
// module has no such resource.
bool default_cursor_bytes(HMODULE module, int identifier, const BYTE** bytes, DWORD* size);

// Writes `module`'s RT_RCDATA resource `identifier` to `path`, byte for
// byte. Does nothing when there is no such resource or the file can't be
// created; a file that could not be written whole is removed again, so that
// the next load tries afresh instead of meeting a truncated cursor.
void extract_default_cursor(HMODULE module, int identifier, const char* path);
