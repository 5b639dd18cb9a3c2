#include "cursors/default_cursors.h"

#include <stdio.h>

#include "plugin/plugin.h"

bool default_cursor_bytes(int identifier, const BYTE** bytes, DWORD* size) {
    HRSRC found = FindResourceA(module_handle, MAKEINTRESOURCEA(identifier & 0xffff), RT_RCDATA);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module_handle, found);
    *size = SizeofResource(module_handle, found);
    *bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : NULL;
    return *bytes && *size;
}

void extract_default_cursor(int identifier, const char* path) {
    const BYTE* bytes;
    DWORD size;
    if (!default_cursor_bytes(identifier, &bytes, &size))
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
