// The module's entry points and the state they set up for the rest of the
// plug-in.
#pragma once

#include <windows.h>

// The module's own instance handle, stored when the process attaches; the
// default cursors are found among its resources.
extern HMODULE module_handle;

// Measures a window's client area. Refers to the imported GetClientRect until
// start-up resolves the function by name in user32.dll.
typedef BOOL(WINAPI* ClientRectFn)(HWND window, LPRECT rect);
extern ClientRectFn client_rect_fn;

// Loader entry: stores the instance handle on process attach, ignores the rest.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

// The one export. The host calls it once, after its main window exists; it
// runs the whole start-up of the plug-in and returns the patch set's result.
extern "C" __declspec(dllexport) int yrp_init(void);
