#include "cursors/default_cursors.h"

#include <stdio.h>

bool default_cursor_bytes(HMODULE module, int identifier, const BYTE** bytes, DWORD* size) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(identifier & 0xffff), RT_RCDATA);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    *size = SizeofResource(module, found);
    *bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : NULL;
    return *bytes && *size;
}

void extract_default_cursor(HMODULE module, int identifier, const char* path) {
    const BYTE* bytes;
    DWORD size;
    if (!default_cursor_bytes(module, identifier, &bytes, &size))
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
