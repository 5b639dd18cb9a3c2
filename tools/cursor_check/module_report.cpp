#include "tools/cursor_check/module_report.h"

#include <windows.h>

#include <stdio.h>

#include <vector>

#include "base/host_address_map.h"

namespace {

// The version numbers in the file's version resource, or false when it has
// none (the file is then no build of this plug-in, or a damaged one).
bool file_version(const char* path, unsigned* major, unsigned* minor, unsigned* patch) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return false;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path, 0, size, data.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof *fixed)
        return false;
    *major = HIWORD(fixed->dwFileVersionMS);
    *minor = LOWORD(fixed->dwFileVersionMS);
    *patch = HIWORD(fixed->dwFileVersionLS);
    return true;
}

}  // namespace

void print_module_report() {
    DWORD attributes = GetFileAttributesA(PLUGIN_MODULE_PATH);
    unsigned major, minor, patch;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        printf("module      %s not found: the game will not load the plug-in\n",
               PLUGIN_MODULE_PATH);
    else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        printf("module      %s is a folder, not the plug-in\n", PLUGIN_MODULE_PATH);
    else if (file_version(PLUGIN_MODULE_PATH, &major, &minor, &patch))
        printf("module      %s, version %u.%u.%u\n", PLUGIN_MODULE_PATH, major, minor, patch);
    else
        printf("module      %s, no version information\n", PLUGIN_MODULE_PATH);
}

void print_folder_report(const char* folder) {
    DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        printf("folder      %s missing: the plug-in makes it at the next start\n", folder);
    else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        printf("folder      %s\n", folder);
    else
        printf("folder      %s is a file, not a folder: no cursor can be read from it\n", folder);
}
