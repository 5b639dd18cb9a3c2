#include "host/plugin_loader.h"

typedef int(__cdecl* PluginInit)(void);

PluginLoad load_plugin(const char* path) {
    PluginLoad load = {};
    load.module = LoadLibraryA(path);
    if (!load.module)
        return load;
    PluginInit init = reinterpret_cast<PluginInit>(
        reinterpret_cast<void*>(GetProcAddress(load.module, "yrp_init")));
    if (!init)
        return load;
    load.result = init();
    load.initialised = true;
    return load;
}
