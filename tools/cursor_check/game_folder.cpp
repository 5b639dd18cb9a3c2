#include "tools/cursor_check/game_folder.h"

#include <windows.h>

#include <string.h>

#include <string>

#include "host/host_setup.h"

namespace {

const char PROBE_PREFIX[] = "qmc";
const char CURRENT_FOLDER_PREFIX[] = ".\\";

std::string parent_of(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A folder's permissions can't be read reliably (access lists, read-only
// media, Wine's mapping onto Unix rights), so the only honest test is to
// try: create a uniquely named empty file there and delete it again.
bool accepts_new_files(const char* folder) {
    char probe[MAX_PATH];
    if (!GetTempFileNameA(folder, PROBE_PREFIX, 0, probe))
        return false;
    DeleteFileA(probe);
    return true;
}

}  // namespace

bool is_folder(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool is_file(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const char* shown_path(const char* path) {
    size_t prefix = sizeof CURRENT_FOLDER_PREFIX - 1;
    return strncmp(path, CURRENT_FOLDER_PREFIX, prefix) == 0 ? path + prefix : path;
}

bool enter_game_folder(bool* moved) {
    *moved = false;
    if (is_folder(PLUGIN_FOLDER))
        return true;
    char program[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, program, sizeof program);
    if (length == 0 || length >= sizeof program)
        return false;
    // Only from the game's own plugin folder: a build folder or a download
    // folder may have a plugin folder beside the program's too.
    std::string own_folder = parent_of(program);
    std::string game = parent_of(own_folder);
    std::string plugin = game + "\\" + shown_path(PLUGIN_FOLDER);
    // PLUGIN_MODULE_PATH starts with ".\", the rest joins the game folder.
    std::string module = game + "\\" + shown_path(PLUGIN_MODULE_PATH);
    if (game.empty() || lstrcmpiA(own_folder.c_str(), plugin.c_str()) != 0 ||
        !is_file(module.c_str()) || !SetCurrentDirectoryA(game.c_str()))
        return false;
    *moved = true;
    return true;
}

FolderState cursor_folder_state(const char* folder) {
    DWORD attributes = GetFileAttributesA(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return FOLDER_IS_A_FILE;
        return accepts_new_files(folder) ? FOLDER_WRITABLE : FOLDER_NOT_WRITABLE;
    }
    std::string parent = parent_of(folder);
    FolderState above = parent.empty() ? FOLDER_CANNOT_BE_MADE : cursor_folder_state(parent.c_str());
    return above == FOLDER_WRITABLE || above == FOLDER_CAN_BE_MADE ? FOLDER_CAN_BE_MADE
                                                                   : FOLDER_CANNOT_BE_MADE;
}

bool defaults_can_be_written(FolderState state) {
    return state == FOLDER_WRITABLE || state == FOLDER_CAN_BE_MADE;
}
