// What every subsystem of the module may use and none owns: the module's own
// instance handle and the function that measures a window's client area.
// Start-up sets both; nothing else changes them.
#pragma once

#include <windows.h>

// The module's own instance handle, stored when the process attaches; the
// default cursors are found among its resources.
extern HMODULE module_handle;

// Measures a window's client area. Refers to the imported GetClientRect until
// start-up resolves the function by name in user32.dll.
typedef BOOL(WINAPI* ClientRectFn)(HWND window, LPRECT rect);
extern ClientRectFn client_rect_fn;
