// How the host brings in the plug-in: load the module, call its one export.
#pragma once

#include <windows.h>

#include "host/host_setup.h"

struct PluginLoad {
    HMODULE module;   // null when the module did not load
    bool initialised; // yrp_init was found and called
    int result;       // what yrp_init returned
};

// LoadLibraryA(path), then one call of yrp_init.
PluginLoad load_plugin(const char* path);

// One call of a loaded module's yrp_init; false when it has none.
bool call_yrp_init(HMODULE module, int* result);
