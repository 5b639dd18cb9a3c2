// The module's judgement of a player's file (judge_cursor_file) on a copy
// the caller provides, as the differential run and the tests need it
// outside the module's buffer. Pure byte work, so it builds natively too.
#pragma once

#include <stdint.h>

#include "cursors/cursor_layout.h"

// True when the module would build the file. `copy` (room for `size` bytes)
// receives the judged copy; `layout` (may be null) what the judgement learnt.
bool judge_cursor_file(const uint8_t* bytes, uint32_t size, uint8_t* copy, CursorLayout* layout);

// Whether the bytes start like an animated cursor (the copy is prepared).
bool starts_as_riff(const uint8_t* bytes, uint32_t size);
