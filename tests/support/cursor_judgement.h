// The module's judgement of a player's file (check_private_copy) on a copy
// the caller provides, as the fuzz targets and the differential run need it
// outside the module's buffer. Pure byte work, so it builds natively too.
#pragma once

#include <windows.h>

#include "cursors/cursor_file_check.h"

// True when the module would hand the file to a loader. `copy` (room for
// `size` bytes) receives the prepared copy; `layout` (may be null) what the
// check learnt.
bool judge_cursor_file(const BYTE* bytes, DWORD size, BYTE* copy, CursorFileLayout* layout);

// Whether the bytes start like an animated cursor (the copy is prepared).
bool starts_as_riff(const BYTE* bytes, DWORD size);
