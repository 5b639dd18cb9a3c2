#include "tools/cursor_check/dropped_file.h"

#include <windows.h>

#include <string.h>

#include <vector>

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/findings.h"
#include "tools/cursor_check/game_folder.h"
#include "tools/cursor_check/slot_check.h"
#include "tools/cursor_check/stray_files.h"

namespace {

const char RIFF_TAG[] = "RIFF";
const DWORD RIFF_TAG_SIZE = sizeof RIFF_TAG - 1;
const char HIGHEST_SLOT[] = "21";

// The path in the ANSI code page, which the module's loader takes: as it is
// when every character has a place there, else its short form.
std::string loader_path(const std::string& path) {
    std::wstring name = wide(path);
    BOOL lost = FALSE;
    int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), -1, NULL, 0, NULL, &lost);
    if (!lost && size > 0) {
        std::string ansi(size, '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), -1, &ansi[0], size, NULL,
                            NULL);
        ansi.resize(size - 1);
        return ansi;
    }
    wchar_t short_name[MAX_PATH];
    DWORD length = GetShortPathNameW(name.c_str(), short_name, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    int short_size = WideCharToMultiByte(CP_ACP, 0, short_name, -1, NULL, 0, NULL, NULL);
    std::string ansi(short_size, '\0');
    WideCharToMultiByte(CP_ACP, 0, short_name, -1, &ansi[0], short_size, NULL, NULL);
    ansi.resize(short_size > 0 ? short_size - 1 : 0);
    return ansi;
}

bool is_animated(const std::string& path) {
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char tag[RIFF_TAG_SIZE] = {};
    DWORD got = 0;
    bool riff = ReadFile(file, tag, RIFF_TAG_SIZE, &got, NULL) && got == RIFF_TAG_SIZE &&
                memcmp(tag, RIFF_TAG, RIFF_TAG_SIZE) == 0;
    CloseHandle(file);
    return riff;
}

// Where a cursor file goes: this program's folder when it is a game's
// plugin folder, else the plugin folder of the game folder.
std::string cursor_folder_text() {
    wchar_t program[MAX_PATH * 2];
    DWORD length = GetModuleFileNameW(NULL, program, MAX_PATH * 2);
    std::string own = length && length < MAX_PATH * 2 ? utf8(program) : "";
    own = own.substr(0, own.find_last_of('\\') == std::string::npos ? 0 : own.find_last_of('\\'));
    if (!own.empty() && lstrcmpiA(last_part(own).c_str(), shown_path(PLUGIN_FOLDER)) == 0)
        return own + "\\Cursors";
    return std::string("the game folder's ") + shown_path(CURSOR_FOLDER);
}

enum CursorPlace { ELSEWHERE, IN_CURSOR_FOLDER, IN_ANIMATED_FOLDER };

bool same_name(const std::string& first, const char* second) {
    return lstrcmpiW(wide(first).c_str(), wide(second).c_str()) == 0;
}

// Whether the file already lies in a game's plugin\Cursors or its Animated
// folder.
CursorPlace place_of(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = path.find('\\', start)) != std::string::npos; start = end + 1)
        parts.push_back(path.substr(start, end - start));
    size_t count = parts.size();
    std::string cursors = last_part(CURSOR_FOLDER), plugin = last_part(PLUGIN_FOLDER);
    std::string animated = last_part(ANIMATED_CURSOR_FOLDER);
    if (count >= 2 && same_name(parts[count - 1], cursors.c_str()) &&
        same_name(parts[count - 2], plugin.c_str()))
        return IN_CURSOR_FOLDER;
    if (count >= 3 && same_name(parts[count - 1], animated.c_str()) &&
        same_name(parts[count - 2], cursors.c_str()) && same_name(parts[count - 3], plugin.c_str()))
        return IN_ANIMATED_FOLDER;
    return ELSEWHERE;
}

bool check_one(const std::string& path) {
    say("file         %s", path.c_str());
    DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        std::string what =
            attributes == INVALID_FILE_ATTRIBUTES ? "not found" : "a folder, not a file";
        print_line("result       " + what + ": drop a cursor file (.ani or .cur) onto the program");
        add_problem(last_part(path) + " is " + what, "");
        return false;
    }
    std::string loader = loader_path(path);
    SlotCheck check = check_cursor_file(loader.c_str(), 0.0f);
    if (!check.loads) {
        print_line("result       does NOT load (" + check.note +
                   "): in the game's cursor folder "
                   "the game would show its default cursor instead");
        add_problem(last_part(path) + " does not load", "");
        return false;
    }
    print_line(std::string("result       loads: ") + (is_animated(path) ? "an animated" : "a") +
               " cursor of " + std::to_string(check.native_width) + "x" +
               std::to_string(check.native_height) +
               ", hotspot (the point that clicks) at " + std::to_string(check.hot_x) + "," +
               std::to_string(check.hot_y));
    int slot = slot_of_name(last_part(path));
    bool numbered = slot >= 0 && slot < LOADED_SLOT_COUNT;
    std::string number = std::to_string(slot), wanted = "cursor" + number + ".ani";
    wchar_t full[MAX_PATH * 2];
    DWORD length = GetFullPathNameW(wide(path).c_str(), MAX_PATH * 2, full, NULL);
    CursorPlace place = place_of(length && length < MAX_PATH * 2 ? utf8(full) : path);
    if (place != ELSEWHERE) {
        std::string set = place == IN_ANIMATED_FOLDER ? "animated cursor " : "cursor ";
        if (numbered && lstrcmpiA(last_part(path).c_str(), wanted.c_str()) == 0) {
            print_line("place        in place: the game shows it as " + set + number);
            return true;
        }
        // The game never reads it under this name.
        if (numbered)
            print_line("place        in the right folder, but the game reads only " + wanted +
                       " there: rename it to " + wanted);
        else
            print_line("place        in the right folder, but the game reads only the names "
                       "cursor0.ani to cursor21.ani there: rename it to cursor<n>.ani, n the "
                       "number it stands for (Quillmere-cursor-numbers.png shows which "
                       "number is which)");
        add_problem(last_part(path) + " is never read", "");
        return false;
    }
    std::string folder = cursor_folder_text();
    if (numbered)
        print_line("name         it says cursor " + number + ": copy it into " + folder + " as " +
                   wanted);
    print_line(std::string("use          it can stand for any cursor number, 0 to ") +
               HIGHEST_SLOT + ": copy it into " + folder +
               " as cursor<n>.ani (for the animated "
               "set, into its Animated folder); Quillmere-cursor-numbers.png shows which "
               "number is which");
    return true;
}

}  // namespace

bool check_dropped_files(const std::vector<std::string>& files) {
    bool all_load = true;
    for (const std::string& file : files) {
        all_load = check_one(file) && all_load;
        print_line("");
    }
    return all_load;
}
