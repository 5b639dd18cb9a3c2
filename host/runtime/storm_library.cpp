#include "host/runtime/storm_library.h"

#include <string.h>

HMODULE load_storm_beside_program() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return NULL;
    char* name = strrchr(path, '\\');
    const char file[] = "storm.dll";
    if (!name || (name + 1 - path) + sizeof file > MAX_PATH)
        return NULL;
    memcpy(name + 1, file, sizeof file);
    return LoadLibraryA(path);
}
