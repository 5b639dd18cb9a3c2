#include "tools/cursor_check/module_report.h"

#include <windows.h>

#include <vector>

#include "host/host_setup.h"
#include "tools/cursor_check/console_text.h"

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
    const char* path = shown_path(PLUGIN_MODULE_PATH);
    unsigned major, minor, patch;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        say("plug-in      %s not found: the game runs without it; unpack the zip "
            "into this folder again", path);
    else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        say("plug-in      %s is a folder, not the plug-in: delete it and unpack the zip "
            "again", path);
    else if (file_version(PLUGIN_MODULE_PATH, &major, &minor, &patch))
        say("plug-in      %s, version %u.%u.%u", path, major, minor, patch);
    else
        say("plug-in      %s has no version information: it is damaged or not this "
            "plug-in; unpack the zip again", path);
}

FolderState print_folder_report(const char* label, const char* folder) {
    FolderState state = cursor_folder_state(folder);
    const char* path = shown_path(folder);
    switch (state) {
    case FOLDER_WRITABLE:
        say("%-12s %s", label, path);
        break;
    case FOLDER_CAN_BE_MADE:
        say("%-12s %s missing: the game makes it at its next start", label, path);
        break;
    case FOLDER_CANNOT_BE_MADE:
        say("%-12s %s missing, and it can't be made: the folder above it is a file or "
            "can't be written to", label, path);
        break;
    case FOLDER_IS_A_FILE:
        say("%-12s %s is a file, not a folder: delete or rename that file so that the "
            "game can make the folder", label, path);
        break;
    case FOLDER_NOT_WRITABLE:
        say("%-12s %s can't be written to: give your Windows account the right to "
            "change it (Properties, Security), or move the game out of Program Files",
            label, path);
        break;
    }
    return state;
}
