#include "host/runtime/plugin_loader.h"

typedef int(__cdecl* PluginInit)(void);

PluginLoad load_plugin(const char* path) {
    PluginLoad load = {};
    load.module = LoadLibraryA(path);
    if (load.module)
        load.initialised = call_yrp_init(load.module, &load.result);
    return load;
}

bool call_yrp_init(HMODULE module, int* result) {
    PluginInit init = reinterpret_cast<PluginInit>(
        reinterpret_cast<void*>(GetProcAddress(module, "yrp_init")));
    if (!init)
        return false;
    *result = init();
    return true;
}
