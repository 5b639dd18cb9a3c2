#include "tools/cursor_check/stray_files.h"

#include <windows.h>

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/game_folder.h"

namespace {

struct CursorFolder {
    const char* folder;
    const char* pattern;
};

const CursorFolder FOLDERS[] = {
    {CURSOR_FOLDER, BASE_CURSOR_PATTERN},
    {ANIMATED_CURSOR_FOLDER, ANIMATED_CURSOR_PATTERN},
};
// The endings a cursor file may carry, hidden or not.
const char* const CURSOR_ENDINGS[] = {".ani", ".cur"};
const char NAME_STEM[] = "cursor";
// More digits than this can only be a number past the last slot.
const size_t LONGEST_NUMBER = 3;
const int LIST_INDENT = 2;

std::string last_part(const char* path) {
    const char* slash = strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

// The file name the game reads for `slot` in a folder of `pattern`.
std::string slot_name(const char* pattern, int slot) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, pattern, slot);
    return last_part(path);
}

bool same_name(const std::string& first, const std::string& second) {
    return lstrcmpiA(first.c_str(), second.c_str()) == 0;
}

bool is_read_by_the_game(const CursorFolder& folder, const std::string& name) {
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
        if (same_name(name, slot_name(folder.pattern, slot)))
            return true;
    return false;
}

// True when `rest` is nothing but cursor endings (".ani", ".cur.ani", "").
bool only_cursor_endings(std::string rest) {
    while (!rest.empty()) {
        bool found = false;
        for (const char* ending : CURSOR_ENDINGS) {
            size_t length = strlen(ending);
            if (rest.compare(0, length, ending) == 0) {
                rest.erase(0, length);
                found = true;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

// What to do with a file the game never reads: the name it should have when
// its name says a cursor number, else how to name it.
std::string advice(const CursorFolder& folder, const std::string& name, bool is_a_folder) {
    if (is_a_folder)
        return "a folder: the game reads no folder here";
    const char* unclear = "not a name the game reads: name it cursor<n>.ani (n from 0 to 21)";
    std::string plain;
    for (char c : name)
        if (c != ' ')
            plain += static_cast<char>(tolower(static_cast<unsigned char>(c)));
    size_t stem = sizeof NAME_STEM - 1;
    if (plain.compare(0, stem, NAME_STEM) != 0)
        return unclear;
    size_t end = plain.find_first_not_of("0123456789", stem);
    if (end == std::string::npos)
        end = plain.size();
    size_t count = end - stem;
    if (count == 0 || !only_cursor_endings(plain.substr(end)))
        return unclear;
    int number = count > LONGEST_NUMBER ? LOADED_SLOT_COUNT : atoi(plain.c_str() + stem);
    if (number >= LOADED_SLOT_COUNT)
        return "no cursor " + plain.substr(stem, count) + " exists: numbers go from 0 to 21";
    std::string wanted = slot_name(folder.pattern, number);
    std::string wanted_path = std::string(folder.folder) + "\\" + wanted;
    if (GetFileAttributesA(wanted_path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return wanted + " is there too: keep one of the two, named " + wanted;
    return "rename it to " + wanted;
}

struct StrayEntry {
    std::string name;
    bool is_a_folder;
};

// The folder's entries the game never reads, sorted by name (Wine lists a
// folder in no particular order).
std::vector<StrayEntry> stray_entries(const CursorFolder& folder) {
    std::vector<StrayEntry> entries;
    std::string animated = last_part(ANIMATED_CURSOR_FOLDER);
    std::string pattern = std::string(folder.folder) + "\\*";
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        std::string name = entry.cFileName;
        bool is_a_folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // Windows' own hidden files (Thumbs.db, desktop.ini) are no player's doing.
        if (name == "." || name == ".." ||
            (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) ||
            (folder.folder == CURSOR_FOLDER && is_a_folder && same_name(name, animated)) ||
            is_read_by_the_game(folder, name))
            continue;
        entries.push_back({name, is_a_folder});
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(entries.begin(), entries.end(), [](const StrayEntry& a, const StrayEntry& b) {
        return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
    });
    return entries;
}

}  // namespace

int print_stray_files() {
    int found = 0;
    for (const CursorFolder& folder : FOLDERS) {
        for (const StrayEntry& entry : stray_entries(folder)) {
            if (found++ == 0) {
                print_line("");
                print_line("Files the game never reads (it reads only cursor0.ani to "
                           "cursor21.ani):", 0);
            }
            std::string path = std::string(shown_path(folder.folder)) + "\\" + entry.name;
            print_line(std::string(LIST_INDENT, ' ') + path + ": " +
                           advice(folder, entry.name, entry.is_a_folder),
                       LIST_INDENT * 2);
        }
    }
    return found;
}
