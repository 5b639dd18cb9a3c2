#include "tools/cursor_check/module_report.h"

#include <windows.h>

#include <stdio.h>

#include <vector>

#include "host/host_setup.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/findings.h"
#include "tools/cursor_check/system_facts.h"

namespace {

const char RESTORE_ADVICE[] =
    "an antivirus may have moved it to quarantine: restore it there, or unpack the zip "
    "into the game folder again";

}  // namespace

bool file_version(const std::wstring& path, unsigned* major, unsigned* minor, unsigned* patch) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof *fixed)
        return false;
    *major = HIWORD(fixed->dwFileVersionMS);
    *minor = LOWORD(fixed->dwFileVersionMS);
    *patch = HIWORD(fixed->dwFileVersionLS);
    return true;
}

bool print_module_report() {
    std::wstring module = wide(PLUGIN_MODULE_PATH);
    DWORD attributes = GetFileAttributesW(module.c_str());
    const char* path = shown_path(PLUGIN_MODULE_PATH);
    unsigned major, minor, patch;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        say("plug-in      %s is missing: the game runs without it; %s", path, RESTORE_ADVICE);
        add_problem(
            "the plug-in is missing",
            std::string(path) + " is missing, so the game runs without it: " + RESTORE_ADVICE);
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        say("plug-in      %s is a folder, not the plug-in: delete it and unpack the zip "
            "again",
            path);
        add_problem("the plug-in is a folder",
                    std::string(path) + " is a folder: delete it and unpack the zip again");
        return false;
    }
    if (!file_version(module, &major, &minor, &patch)) {
        say("plug-in      %s has no version information: it is damaged or not this "
            "plug-in; unpack the zip again",
            path);
        add_problem("the plug-in is damaged",
                    std::string(path) + " is damaged or not this plug-in: unpack the zip again");
        return true;
    }
    // Which build exactly (its SHA-256) is for the report; the player needs
    // the version.
    char version[48];
    snprintf(version, sizeof version, ", version %u.%u.%u", major, minor, patch);
    print_line("plug-in      " + std::string(path) + version);
    return true;
}

FolderState print_folder_report(const char* label, const char* folder) {
    FolderState state = cursor_folder_state(folder);
    const char* path = shown_path(folder);
    std::string fix;
    switch (state) {
        case FOLDER_WRITABLE:
            say("%-12s %s", label, path);
            break;
        case FOLDER_CAN_BE_MADE:
            say("%-12s %s missing: the plug-in makes it when the game starts with it", label, path);
            break;
        case FOLDER_CANNOT_BE_MADE:
            fix = std::string(path) +
                  " is missing, and it can't be made: the folder above it "
                  "is a file or can't be written to";
            break;
        case FOLDER_IS_A_FILE:
            fix = std::string(path) +
                  " is a file, not a folder: delete or rename that file so "
                  "that the game can make the folder";
            break;
        case FOLDER_NOT_WRITABLE:
            fix = std::string(path) +
                  " can't be written to: give your account the right to "
                  "change it (Properties, Security; on Linux or the Steam "
                  "Deck: chmod u+w, or chattr -i), or move the game out of "
                  "Program Files";
            break;
    }
    if (!fix.empty()) {
        say("%-12s %s", label, fix.c_str());
        add_problem(std::string(path) + " can't take cursor files", fix);
    }
    return state;
}

void print_plugin_not_loaded(FolderState cursor_folder) {
    // The plug-in makes the folder first thing at every start where it can.
    if (cursor_folder != FOLDER_CAN_BE_MADE)
        return;
    ULONGLONG started = last_game_start(L".");
    ULONGLONG placed = placed_time(PLUGIN_MODULE_PATH);
    if (started <= placed)
        return;
    std::string text =
        "the game has run since the plug-in was put in place, but it made no plugin\\Cursors "
        "folder: the game did not load the plug-in. Check that your game's version is the "
        "one the plug-in is made for (see Quillmere-README.txt) and that no antivirus "
        "blocks plugin\\Quillmere.yrp";
    print_line("not loaded   " + text);
    add_problem("the game did not load the plug-in", text);
}
