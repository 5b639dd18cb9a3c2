#include "cursors/default_cursors.h"

#include <windows.h>

#include <stdio.h>

#include "plugin/plugin.h"

void extract_default_cursor(int identifier, const char* path) {
    HRSRC found = FindResourceA(module_handle, MAKEINTRESOURCEA(identifier & 0xffff), RT_RCDATA);
    if (!found)
        return;
    HGLOBAL loaded = LoadResource(module_handle, found);
    DWORD size = SizeofResource(module_handle, found);
    if (!loaded || !size)
        return;
    const void* bytes = LockResource(loaded);
    if (!bytes)
        return;
    FILE* file = fopen(path, "wb");
    if (!file)
        return;
    size_t written = fwrite(bytes, 1, size, file);
    int closed = fclose(file);
    // A short file would exist forever and never load: leave none behind.
    if (written != size || closed != 0)
        DeleteFileA(path);
}
