// quillmere_check: tells a player what the plug-in will make of its settings
// file and cursor folders. The plug-in itself is silent; this program runs
// the plug-in's own code (settings, paths, file checks, loading and sizing)
// and prints what it found. It changes nothing unless asked to write the
// missing default cursors (and the probes of whether it could, which leave
// nothing behind).
//
//   quillmere_check [--client WxH] [--sheet FILE.png] [--restore-defaults] [--report]
//
// Exit code: 0 every present cursor file loads, 1 a present file fails to
// load or a missing default can't be written, 2 bad command line (or a sheet
// that can't be written), 3 no game folder here or above the program.
// Misnamed files in the cursor folders are listed but do not fail: the game
// still shows a cursor for every number.
#include <windows.h>

#include <string>

#include "cursors/cursor_loader.h"
#include "base/host_address_map.h"
#include "base/module_state.h"
#include "quillmere_version.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/cursor_sheet.h"
#include "tools/cursor_check/cursor_table.h"
#include "tools/cursor_check/exploit_protection.h"
#include "tools/cursor_check/module_report.h"
#include "tools/cursor_check/options.h"
#include "tools/cursor_check/player_report.h"
#include "tools/cursor_check/settings_report.h"
#include "tools/cursor_check/stray_files.h"
#include "tools/cursor_check/virtual_store.h"

namespace {

const int EXIT_ALL_LOAD = 0;
const int EXIT_FILES_FAIL = 1;
const int EXIT_USAGE = 2;
const int EXIT_NOT_A_GAME_FOLDER = 3;

std::string plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The missing defaults are written where they can be, as the module does at
// start-up: folders first.
void restore_folders() {
    if (cursor_folder_state(CURSOR_FOLDER) == FOLDER_CAN_BE_MADE)
        CreateDirectoryA(CURSOR_FOLDER, NULL);
    if (cursor_folder_state(ANIMATED_CURSOR_FOLDER) == FOLDER_CAN_BE_MADE)
        CreateDirectoryA(ANIMATED_CURSOR_FOLDER, NULL);
}

int print_result(const TableCounts& counts, int strays) {
    print_line("");
    print_line("files: " + std::to_string(counts.loading) + " load, " + std::to_string(counts.failing) +
                   " fail to load, " + std::to_string(counts.missing) + " missing, " +
                   std::to_string(counts.unwritable) + " can't be written, " +
                   std::to_string(counts.absent) + " none",
               0);
    std::string never_read =
        strays ? "; " + plural(strays, "file is", "files are") + " never read: see the list" : "";
    if (counts.failing == 0 && counts.unwritable == 0) {
        print_line("result: every cursor file that is there loads" + never_read, 0);
        return EXIT_ALL_LOAD;
    }
    std::string problems;
    if (counts.failing)
        problems = plural(counts.failing, "file fails", "files fail") + " to load";
    if (counts.unwritable)
        problems += std::string(problems.empty() ? "" : ", ") +
                    plural(counts.unwritable, "default", "defaults") + " can't be written";
    print_line("result: " + problems + never_read, 0);
    return EXIT_FILES_FAIL;
}

std::string full_path(const std::string& path) {
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, NULL);
    return length && length < sizeof full ? full : path;
}

bool report_written(const std::string& path) {
    if (path.empty())
        say("report       can't be written beside this program, nor into your Documents or "
            "Temp folder");
    else
        say("report       %s: send this file with your problem report", path.c_str());
    return !path.empty();
}

int check(const Options& options) {
    // The defaults are this program's own resources, as they are the module's.
    attach_module(GetModuleHandleA(NULL));
    // A relative sheet path names a file where the player started us.
    std::string sheet = options.sheet.empty() ? "" : full_path(options.sheet);
    print_line("Quillmere cursor check " QUILLMERE_VERSION_TEXT);
    bool moved = false;
    bool found = enter_game_folder(&moved);
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    say("game folder  %s%s", folder, moved ? " (the one above this program's folder)" : "");
    if (!found) {
        print_line("This is not a game folder: it has no plugin folder, and this program is "
                   "not in a game's plugin folder. Run it in the game folder, or start it "
                   "from <game folder>\\plugin.", 0);
        return EXIT_NOT_A_GAME_FOLDER;
    }
    print_module_report();
    print_code_guard(programs_with_code_guard(folder));
    if (options.restore_defaults)
        restore_folders();
    FolderAccess access;
    access.base = defaults_can_be_written(print_folder_report("cursors", CURSOR_FOLDER));
    access.animated =
        defaults_can_be_written(print_folder_report("animated", ANIMATED_CURSOR_FOLDER));

    SettingsReport settings = read_settings_report();
    print_settings_report(settings, options.client_width, options.client_height);
    float scale = load_scale(settings, options.client_width, options.client_height);
    print_line("");
    TableCounts counts = print_cursor_table(scale, options.restore_defaults, access);
    int strays = print_stray_files();
    RedirectedCopies copies = find_redirected_copies(folder);
    print_redirected_copies(copies);
    int code = print_result(counts, strays);
    if (options.report && !report_written(write_player_report(settings, copies)))
        code = EXIT_USAGE;
    if (!sheet.empty()) {
        std::string caption = "Quillmere " QUILLMERE_VERSION_TEXT " - the cursors of " +
                              std::string(folder) + ", " + scale_caption(scale);
        if (!write_cursor_sheet(sheet.c_str(), scale, caption.c_str())) {
            say("sheet        %s can't be written: choose another file or folder",
                sheet.c_str());
            return EXIT_USAGE;
        }
        say("sheet        %s", sheet.c_str());
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    Options options = {};
    std::string error;
    int code = EXIT_USAGE;
    if (!parse_options(argc, argv, &options, &error)) {
        print_error_line(error);
        print_error_line("quillmere_check --help tells how to run it");
    } else if (options.help) {
        print_usage();
        code = EXIT_ALL_LOAD;
    } else {
        code = check(options);
    }
    if (!options.report && !options.help)
        point_to_report_if_double_clicked();
    wait_if_own_console();
    return code;
}
