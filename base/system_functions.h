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

// What the module asks the system about the size cursors show at, all in
// this one table. Functions only newer Windows has are looked up at run
// time and stay null where missing (Wine has no SetThreadCursorCreationScaling);
// advapi32 is loaded at run time, as the module imports only the system's
// core DLLs. A test points any entry at answers of its own.
typedef UINT(WINAPI* CursorCreationScalingFn)(UINT cursor_dpi);
typedef BOOL(WINAPI* LogicalToPhysicalFn)(HWND window, POINT* point);
typedef BOOL(WINAPI* ClientToScreenFn)(HWND window, POINT* point);
typedef LONG(WINAPI* RegGetValueFn)(HKEY key, const char* subkey, const char* value, DWORD flags,
                                    DWORD* type, void* data, DWORD* size);
struct SizeFunctions {
    CursorCreationScalingFn set_cursor_creation_scaling;  // Windows 11
    LogicalToPhysicalFn logical_to_physical;  // LogicalToPhysicalPointForPerMonitorDPI, 8.1
    // user32's own ClientToScreen: a wrapper may answer the imported one
    // with the game's coordinates instead of the window's.
    ClientToScreenFn client_to_screen;
    RegGetValueFn reg_get_value;              // RegGetValueA
};
extern SizeFunctions size_functions;

// Fills size_functions from user32's export directory (GetProcAddress
// where that can't be read) and from advapi32; entries not found stay null.
void resolve_size_functions();

// Windows' pointer size as stored (HKCU\Control Panel\Cursors,
// CursorBaseSize); 0 when it was never set or can't be read.
int read_pointer_size();

// True when cursors made on this thread show at exactly the pixels they are
// built with: SetThreadCursorCreationScaling exists to ask for that.
bool cursors_show_as_built();

// Asks the system to show the cursors this thread makes from now on at
// exactly their pixels; returns what to hand end_exact_cursors.
UINT begin_exact_cursors();
void end_exact_cursors(UINT previous);

// The client area `client` of `window` (from GetClientRect) in the
// screen's own pixels: what the system stretches a window unaware of
// display scaling to. False when the system can't say.
bool physical_client_size(HWND window, const RECT& client, int* width, int* height);

// True when the game runs under gamescope (it names its display to the
// programs it starts).
bool under_gamescope();
