#include "tools/cursor_check/dropped_file.h"

#include <windows.h>

#include <string.h>

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
                   "the game would show its built-in cursor instead");
        add_problem(last_part(path) + " does not load", "");
        return false;
    }
    print_line(std::string("result       loads: ") + (is_animated(path) ? "an animated" : "a") +
               " cursor of " + std::to_string(check.native_width) + "x" +
               std::to_string(check.native_height) +
               ", hotspot (the point that clicks) at " + std::to_string(check.hot_x) + "," +
               std::to_string(check.hot_y));
    std::string folder = cursor_folder_text();
    int slot = slot_of_name(last_part(path));
    if (slot >= 0 && slot < LOADED_SLOT_COUNT)
        print_line("name         it says cursor " + std::to_string(slot) + ": copy it into " +
                   folder + " as cursor" + std::to_string(slot) + ".ani");
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
