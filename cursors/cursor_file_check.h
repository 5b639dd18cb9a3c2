// A structural check of cursor files before the system's loader sees them.
// Players drop any file into the cursor folders, and some loaders (Wine's
// animated-cursor reader among them) trust the lengths written inside an
// animated cursor and read past the file or a frame when they lie: that
// would crash the host. Only files whose every length holds are loaded.
#pragma once

#include <windows.h>

// True when `bytes` is no animated cursor (single-image cursor and icon
// files are bounds-checked by the loaders themselves), or is one whose
// chunks, frames, images, steps and rates all lie within the file.
bool cursor_file_is_sound(const BYTE* bytes, DWORD size);
