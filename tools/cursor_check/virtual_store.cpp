#include "tools/cursor_check/virtual_store.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "tools/cursor_check/console_text.h"

namespace {

// The plug-in's folders whose files the game reads, relative to the game folder.
const char* const PLUGIN_FOLDERS[] = {"plugin", "plugin\\Cursors", "plugin\\Cursors\\Animated"};
const char STORE_FOLDER[] = "\\VirtualStore";

std::string environment(const char* name) {
    char value[MAX_PATH];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length && length < sizeof value ? std::string(value) : std::string();
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The files (not folders) directly in `folder`, by name.
std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// `path` with a leading `folder` (compared without regard to case) replaced
// by `name`; `path` itself when it does not start with that folder.
std::string replace_leading(const std::string& path, const std::string& folder,
                            const char* name) {
    size_t length = folder.size();
    while (length && folder[length - 1] == '\\')
        --length;
    if (!length || path.size() < length || _strnicmp(path.c_str(), folder.c_str(), length) != 0 ||
        (path.size() > length && path[length] != '\\'))
        return path;
    return name + path.substr(length);
}

}  // namespace

RedirectedCopies find_redirected_copies(const std::string& game_folder) {
    RedirectedCopies found;
    std::string local = environment("LOCALAPPDATA");
    // Redirection keeps a file's path below its drive: C:\Games\X becomes
    // <VirtualStore>\Games\X.
    if (local.empty() || game_folder.size() < 3 || game_folder[1] != ':' || game_folder[2] != '\\')
        return found;
    std::string store_game = local + STORE_FOLDER + game_folder.substr(2);
    found.store_plugin_folder = store_game + "\\" + PLUGIN_FOLDERS[0];
    for (const char* folder : PLUGIN_FOLDERS)
        for (const std::string& name : files_in(store_game + "\\" + folder)) {
            RedirectedCopy copy = {std::string(folder) + "\\" + name, false};
            copy.hides_real = exists(game_folder + "\\" + copy.file);
            found.copies.push_back(copy);
        }
    return found;
}

int print_redirected_copies(const RedirectedCopies& found) {
    if (found.copies.empty())
        return 0;
    int count = static_cast<int>(found.copies.size());
    print_line("");
    say("redirected   Windows keeps %d of the game's files in your VirtualStore, and the "
        "game reads those instead of the game folder's:", count);
    for (const RedirectedCopy& copy : found.copies)
        say("  %s: %s", copy.file.c_str(),
            copy.hides_real ? "hidden: the game never reads the file in the game folder"
                            : "the game reads a copy you can't see in the game folder");
    // The folder on a line of its own, in a form Explorer's address bar takes.
    std::string local = environment("LOCALAPPDATA");
    print_line("  To make the game read your own files, close the game and delete this "
               "folder (keep a copy of any cursor you want first):", 2);
    print_line("  " + replace_leading(found.store_plugin_folder, local, "%LOCALAPPDATA%"), 2);
    return count;
}

std::string without_profile(const std::string& path) {
    return replace_leading(path, environment("USERPROFILE"), "%USERPROFILE%");
}
