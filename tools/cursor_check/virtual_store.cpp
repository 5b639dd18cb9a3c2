#include "tools/cursor_check/virtual_store.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/findings.h"

namespace {

// The plug-in's folders whose files the game reads, relative to the game folder.
const char* const PLUGIN_FOLDERS[] = {"plugin", "plugin\\Cursors", "plugin\\Cursors\\Animated"};
const char STORE_FOLDER[] = "\\VirtualStore";

std::string environment(const wchar_t* name) {
    wchar_t value[MAX_PATH * 2];
    DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    return length && length < MAX_PATH * 2 ? utf8(value) : std::string();
}

bool exists(const std::string& path) {
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The files (not folders) directly in `folder`, by name.
std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(utf8(found.cFileName));
    while (FindNextFileW(search, &found));
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
    std::string local = environment(L"LOCALAPPDATA");
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
    std::string local = environment(L"LOCALAPPDATA");
    print_line("  To make the game read your own files, close the game and delete this "
               "folder (keep a copy of any cursor you want first):", 2);
    std::string folder = replace_leading(found.store_plugin_folder, local, "%LOCALAPPDATA%");
    print_line("  " + folder, 2);
    // A copy the player can't see in place of a file they put there keeps
    // their file from ever showing.
    int hidden = 0;
    for (const RedirectedCopy& copy : found.copies)
        hidden += copy.hides_real;
    // A copy only there is read in place of a file the game folder lacks:
    // the cursor or the settings the game uses are not the ones shown here.
    int only_there = count - hidden;
    std::string brief, advice;
    if (hidden) {
        brief = plural(hidden, "file is", "files are") + " hidden behind copies in your "
                "VirtualStore";
        advice = "Windows hides " + std::to_string(hidden) + " of your files behind copies in "
                 "your VirtualStore";
    }
    if (only_there) {
        brief += (hidden ? ", " + std::to_string(only_there) + " more read from there"
                         : plural(only_there, "file is", "files are") +
                               " read from copies in your VirtualStore");
        advice += hidden ? ", and the game reads " + std::to_string(only_there) + " more from there"
                         : "the game reads " + std::to_string(only_there) +
                               " of its files from copies you can't see in the game folder";
    }
    add_problem(brief, advice + ": close the game and delete " + folder);
    return count;
}

std::string without_profile(const std::string& path) {
    return replace_leading(path, environment(L"USERPROFILE"), "%USERPROFILE%");
}
