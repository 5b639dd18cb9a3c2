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
#include "cursors/default_cursors.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/findings.h"
#include "tools/cursor_check/game_folder.h"
#include "tools/cursor_check/slot_check.h"

namespace {

struct CursorFolder {
    const char* folder;
    const char* pattern;
    int default_first_id;
};

const CursorFolder BASE_FOLDER = {CURSOR_FOLDER, BASE_CURSOR_PATTERN, BASE_DEFAULT_FIRST_ID};
const CursorFolder ANIMATED_FOLDER = {ANIMATED_CURSOR_FOLDER, ANIMATED_CURSOR_PATTERN,
                                      ANIMATED_DEFAULT_FIRST_ID};
// Where players put cursors that the game does not look in.
const char GAME_FOLDER[] = ".";
const char GAME_CURSOR_FOLDER[] = ".\\Cursors";
const char PLUGIN_ANIMATED_FOLDER[] = ".\\plugin\\Animated";
// The endings a cursor file may carry, hidden or not.
const char* const CURSOR_ENDINGS[] = {".ani", ".cur"};
const char NAME_STEM[] = "cursor";
// What copies of a file are called: "cursor9 (1).ani", "cursor9 - Copy.ani",
// "Copy of cursor9.ani" (spaces already dropped).
const char COPY_WORD[] = "copy";
const char COPY_OF[] = "copyof";
// More digits than this can only be a number past the last slot.
const size_t LONGEST_NUMBER = 3;
const int LIST_INDENT = 2;

struct Entry {
    std::string name;
    bool is_a_folder;
};

// The folder's entries, hidden system files (Thumbs.db) left out, sorted by
// name (Wine lists a folder in no particular order).
std::vector<Entry> entries_of(const char* folder) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(std::string(folder) + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        std::string name = utf8(found.cFileName);
        if (name == "." || name == ".." ||
            (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            continue;
        entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

std::string slot_name(const char* pattern, int slot) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, pattern, slot);
    return last_part(path);
}

bool same_name_any_case(const std::string& first, const std::string& second) {
    return lstrcmpiW(wide(first).c_str(), wide(second).c_str()) == 0;
}

bool ends_with(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// Drops any run of cursor endings from the end; true when there was one.
bool drop_cursor_endings(std::string* name) {
    bool dropped = false;
    for (bool found = true; found;) {
        found = false;
        for (const char* ending : CURSOR_ENDINGS)
            if (ends_with(*name, ending)) {
                name->erase(name->size() - strlen(ending));
                found = dropped = true;
            }
    }
    return dropped;
}

// Drops what marks a copy from the end: "(1)", "-copy", "-copy(2)".
void drop_copy_marks(std::string* rest) {
    if (!rest->empty() && rest->back() == ')') {
        size_t open = rest->rfind('(');
        if (open != std::string::npos &&
            rest->find_first_not_of("0123456789", open + 1) == rest->size() - 1)
            rest->erase(open);
    }
    if (ends_with(*rest, COPY_WORD))
        rest->erase(rest->size() - strlen(COPY_WORD));
    if (!rest->empty() && (rest->back() == '-' || rest->back() == '_'))
        rest->pop_back();
}

bool is_cursor_file(const std::string& name) {
    std::string lower;
    for (char c : name) lower += static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return drop_cursor_endings(&lower);
}

// True when both paths open the same file (a name Wine finds by ignoring
// case is the same file as the name it was found by).
bool same_file(const std::string& first, const std::string& second) {
    BY_HANDLE_FILE_INFORMATION info[2];
    const std::string* paths[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        HANDLE file = CreateFileW(wide(*paths[i]).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        bool got = GetFileInformationByHandle(file, &info[i]) != 0;
        CloseHandle(file);
        if (!got)
            return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
}

class StrayList {
public:
    // Lists `path` with `advice`; a cursor file the game ignores is a problem.
    void add(const std::string& path, const std::string& advice, bool problem) {
        if (count_++ == 0) {
            print_line("");
            print_line(
                "Files the game never reads (it reads only plugin\\Cursors\\cursor0.ani "
                "to cursor21.ani, and the same names in plugin\\Cursors\\Animated):",
                0);
        }
        print_line(std::string(LIST_INDENT, ' ') + path + ": " + advice, LIST_INDENT * 2);
        if (problem) {
            add_problem("", path + ": " + advice);
            ++problems_;
        }
    }
    int count() const { return count_; }
    int problems() const { return problems_; }

private:
    int count_ = 0;
    int problems_ = 0;
};

// Advice for a cursor file in a folder the game reads, whose name is not
// one it reads; `names` are the folder's entries.
std::string misnamed_advice(const CursorFolder& folder, const std::string& name,
                            const std::vector<Entry>& names) {
    int slot = slot_of_name(name);
    if (slot < 0)
        return "not a name the game reads: name it cursor<n>.ani, n from 0 to 21 "
               "(Quillmere-cursor-numbers.png shows which is which)";
    if (slot >= LOADED_SLOT_COUNT)
        return "there is no cursor of that number: numbers go from 0 to 21";
    std::string wanted = slot_name(folder.pattern, slot);
    std::string exact = std::string(folder.folder) + "\\" + wanted;
    for (const Entry& entry : names) {
        // Of names differing only in case, the one the system opens for the
        // game's exact name is read.
        std::string read = std::string(folder.folder) + "\\" + entry.name;
        if (entry.is_a_folder || !same_name_any_case(entry.name, wanted) || !same_file(read, exact))
            continue;
        if (is_default_cursor(read.c_str(), folder.default_first_id + slot))
            return "the game reads the default " + entry.name +
                   " instead: delete that one, "
                   "then rename this one to " +
                   wanted;
        return "the game reads " + entry.name +
               ", which is there too, not this file: keep "
               "the one you want, named " +
               wanted;
    }
    for (const Entry& entry : names)
        if (entry.name != name && slot_of_name(entry.name) == slot)
            return "rename it to " + wanted + " (" + entry.name + " is meant for cursor " +
                   std::to_string(slot) + " too: keep one)";
    return "rename it to " + wanted;
}

// The cursor folders the game reads: misnamed files, names differing only
// in case, and folders of cursors inside them.
void list_cursor_folder(const CursorFolder& folder, StrayList* list) {
    std::vector<Entry> entries = entries_of(folder.folder);
    std::string animated = last_part(ANIMATED_CURSOR_FOLDER);
    for (const Entry& entry : entries) {
        std::string path = std::string(shown_path(folder.folder)) + "\\" + entry.name;
        if (entry.is_a_folder) {
            if (folder.folder == CURSOR_FOLDER && same_name_any_case(entry.name, animated))
                continue;
            int cursors = 0;
            for (const Entry& inner : entries_of(("." + std::string("\\") + path).c_str()))
                cursors += !inner.is_a_folder && is_cursor_file(inner.name);
            if (cursors)
                list->add(path + "\\",
                          plural(cursors, "cursor file", "cursor files") +
                              ": the game reads no folder here; move the ones you "
                              "want into " +
                              shown_path(folder.folder) + ", each named cursor<n>.ani",
                          true);
            else
                list->add(path + "\\", "a folder: the game reads no folder here", false);
            continue;
        }
        int read_slot = -1;
        for (int slot = 0; slot < LOADED_SLOT_COUNT && read_slot < 0; ++slot)
            if (same_name_any_case(entry.name, slot_name(folder.pattern, slot)))
                read_slot = slot;
        if (read_slot < 0) {
            list->add(path, misnamed_advice(folder, entry.name, entries),
                      is_cursor_file(entry.name));
            continue;
        }
        // Where names differ only in case, the game reads the one the
        // system opens for the exact name; the others are never read.
        std::string exact = slot_name(folder.pattern, read_slot);
        std::string read_path = std::string(folder.folder) + "\\" + exact;
        if (entry.name == exact ||
            same_file(read_path, std::string(folder.folder) + "\\" + entry.name))
            continue;
        list->add(path,
                  "the game reads another file for cursor " + std::to_string(read_slot) +
                      ", whose name differs only in capital letters (Linux and the "
                      "Steam Deck tell such names apart): keep one of the two, named " +
                      exact,
                  true);
    }
}

// Cursor files in a folder the game does not read them from.
void list_wrong_folder(const char* folder, const char* where, StrayList* list, bool whole_folder) {
    std::vector<Entry> entries = entries_of(folder);
    std::string shown =
        strcmp(folder, GAME_FOLDER) == 0 ? "" : std::string(shown_path(folder)) + "\\";
    int cursors = 0;
    for (const Entry& entry : entries) {
        if (entry.is_a_folder || !is_cursor_file(entry.name))
            continue;
        ++cursors;
        if (whole_folder)
            continue;
        int slot = slot_of_name(entry.name);
        std::string name = slot >= 0 && slot < LOADED_SLOT_COUNT
                               ? slot_name(BASE_CURSOR_PATTERN, slot)
                               : "cursor<n>.ani";
        list->add(shown + entry.name,
                  std::string("cursors go in ") + where + ": move it there" +
                      (name == entry.name ? "" : ", named " + name),
                  true);
    }
    if (whole_folder && cursors)
        list->add(shown,
                  plural(cursors, "cursor file", "cursor files") +
                      " in a folder the "
                      "game does not read: move the ones you want into " +
                      where + ", each named cursor<n>.ani",
                  true);
}

}  // namespace

int slot_of_name(const std::string& name) {
    std::string plain;
    for (char c : name)
        if (c != ' ')
            plain += static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (plain.compare(0, sizeof COPY_OF - 1, COPY_OF) == 0)
        plain.erase(0, sizeof COPY_OF - 1);
    size_t stem = sizeof NAME_STEM - 1;
    if (plain.compare(0, stem, NAME_STEM) != 0 || !drop_cursor_endings(&plain))
        return -1;
    size_t end = plain.find_first_not_of("0123456789", stem);
    if (end == std::string::npos)
        end = plain.size();
    size_t count = end - stem;
    std::string rest = plain.substr(end);
    drop_copy_marks(&rest);
    if (count == 0 || !rest.empty())
        return -1;
    return count > LONGEST_NUMBER ? LOADED_SLOT_COUNT : atoi(plain.c_str() + stem);
}

int print_stray_files() {
    StrayList list;
    list_cursor_folder(BASE_FOLDER, &list);
    list_cursor_folder(ANIMATED_FOLDER, &list);
    list_wrong_folder(PLUGIN_FOLDER, shown_path(CURSOR_FOLDER), &list, false);
    list_wrong_folder(GAME_FOLDER, shown_path(CURSOR_FOLDER), &list, false);
    list_wrong_folder(GAME_CURSOR_FOLDER, shown_path(CURSOR_FOLDER), &list, true);
    list_wrong_folder(PLUGIN_ANIMATED_FOLDER, shown_path(ANIMATED_CURSOR_FOLDER), &list, true);
    if (list.problems())
        add_problem(plural(list.problems(), "cursor file is", "cursor files are") +
                        " never read (see the list)",
                    "");
    return list.count();
}
