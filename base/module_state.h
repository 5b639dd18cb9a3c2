// What every subsystem of the module may use and none owns: the module's own
// instance handle and the function that measures a window's client area.
// Attaching sets both and start-up resolves the function; nothing else
// changes them.
#pragma once

#include <windows.h>

// The module's own instance handle, stored when the process attaches; the
// default cursors are found among its resources.
extern HMODULE module_handle;

// Measures a window's client area. Refers to the imported GetClientRect from
// the moment the process attaches until start-up resolves user32's own
// (resolve_client_rect).
typedef BOOL(WINAPI* ClientRectFn)(HWND window, LPRECT rect);
extern ClientRectFn client_rect_fn;

// Stores the module's instance handle and points client_rect_fn at the
// imported GetClientRect; called when the process attaches.
void attach_module(HMODULE instance);
