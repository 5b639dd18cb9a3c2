// The system's own functions as the loaded system modules export them. A
// DirectDraw wrapper beside the game may rewrite the import tables of every
// module in the game's folder, and answer GetProcAddress and LoadLibrary
// with fakes that report the game's screen instead of the window: reading
// the export directory of the loaded user32.dll in memory gets past all
// three. Start-up uses it to measure the real client area.
#pragma once

#include <windows.h>

// A loaded module found in the process's own list of modules by its file
// name (any folder, case ignored), read under the loader's lock; null when
// none is loaded or the lock can't be taken.
HMODULE find_loaded_module(const wchar_t* file_name);

// Address of `name` in a loaded module's export directory; null when it is
// missing or forwarded to another module.
void* find_export(HMODULE module, const char* name);

// What the import slot of `module` for `dll`!`name` holds now (a wrapper's
// replacement where one rewrote it); null when the module imports no such
// function by name.
void* find_import(HMODULE module, const char* dll, const char* name);

// Points client_rect_fn at user32's own GetClientRect: from its export
// directory; where that can't be read, from GetProcAddress on user32; where
// neither gives it, client_rect_fn keeps the imported function.
void resolve_client_rect();
