// The module's entry points: the loader's and the one export the host calls.
#pragma once

#include <windows.h>

// Loader entry: stores the instance handle on process attach, and gives the
// pixel memory back when the module is unloaded while the process goes on
// (FreeLibrary); thread attach and detach, and process exit, change nothing.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

// The one export. The host calls it once, after its main window exists; it
// runs the whole start-up of the plug-in and returns the patch set's result.
extern "C" __declspec(dllexport) int yrp_init(void);
