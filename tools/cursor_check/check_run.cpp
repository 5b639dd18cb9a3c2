// quillmere_check: tells a player what the plug-in will make of its settings
// file and cursor folders. The plug-in itself is silent; this program runs
// the plug-in's own code (settings, paths, file checks, loading and sizing)
// and prints what it found, the result first. It changes nothing unless
// asked to write the missing default cursors (and the probes of whether it
// could, which leave nothing behind).
//
//   quillmere_check [--client WxH] [--sheet FILE.png] [--restore-defaults]
//                   [--report] [CURSOR FILE...]
//
// Exit code: 0 the game will do what the player's settings and files say,
// 1 something keeps it from doing so (the report names it), 2 bad command line (or a
// sheet that can't be written), 3 no game folder here or above the program.
#include <windows.h>

#include <string>

#include "base/host_address_map.h"
#include "host/host_setup.h"
#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "quillmere_version.h"
#include "tools/cursor_check/check_run.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/cursor_sheet.h"
#include "tools/cursor_check/dropped_file.h"
#include "tools/cursor_check/exploit_protection.h"
#include "tools/cursor_check/findings.h"
#include "tools/cursor_check/module_report.h"
#include "tools/cursor_check/options.h"
#include "tools/cursor_check/player_report.h"
#include "tools/cursor_check/settings_report.h"
#include "tools/cursor_check/size_report.h"
#include "tools/cursor_check/slot_table.h"
#include "tools/cursor_check/stray_files.h"
#include "tools/cursor_check/virtual_store.h"
#include "tools/cursor_check/wrapper_report.h"

namespace {

// The problems listed at the top; the rest are in the report below them.
const size_t PROBLEMS_SHOWN = 6;
const size_t NOTES_SHOWN = 3;
const int ADVICE_INDENT = 4;
const int RESULT_INDENT = 8;  // under the text of "result: "

// The missing defaults are written where they can be, as the module does at
// start-up: folders first.
void restore_folders() {
    if (cursor_folder_state(CURSOR_FOLDER) == FOLDER_CAN_BE_MADE)
        CreateDirectoryW(wide(CURSOR_FOLDER).c_str(), NULL);
    if (cursor_folder_state(ANIMATED_CURSOR_FOLDER) == FOLDER_CAN_BE_MADE)
        CreateDirectoryW(wide(ANIMATED_CURSOR_FOLDER).c_str(), NULL);
}

}  // namespace

std::string result_line() {
    std::string briefs;
    for (const Problem& problem : problems())
        if (!problem.brief.empty())
            briefs += (briefs.empty() ? "" : "; ") + problem.brief;
    if (briefs.empty())
        return "result: all fine: the game will do what your settings and files say";
    return "result: NOT fine: " + briefs;
}

namespace {

// The result and what to do, before the details.
void print_result_first() {
    print_line(result_line(), RESULT_INDENT);
    size_t shown = 0, advised = 0;
    for (const Problem& problem : problems())
        if (!problem.advice.empty() && ++advised <= PROBLEMS_SHOWN) {
            print_line("  - " + problem.advice, ADVICE_INDENT);
            ++shown;
        }
    if (advised > shown)
        print_line("  - and " + std::to_string(advised - shown) + " more: see below",
                   ADVICE_INDENT);
    // What the game does as written but may surprise: after the problems.
    size_t noted = 0;
    for (const std::string& note : notes())
        if (++noted <= NOTES_SHOWN)
            print_line("  - note: " + note, ADVICE_INDENT);
    if (noted > NOTES_SHOWN)
        print_line("  - and " + plural(static_cast<int>(noted - NOTES_SHOWN), "more note",
                                       "more notes") + ": see below",
                   ADVICE_INDENT);
}

void print_counts(const TableCounts& counts) {
    print_line("");
    print_line("files: " + std::to_string(counts.loading) + " load, " +
                   std::to_string(counts.failing) + " fail to load, " +
                   std::to_string(counts.missing) + " missing, " +
                   std::to_string(counts.unwritable) + " can't be written, " +
                   std::to_string(counts.absent) + " none",
               0);
}

std::string full_path(const std::string& path) {
    wchar_t full[MAX_PATH * 2];
    DWORD length = GetFullPathNameW(wide(path).c_str(), MAX_PATH * 2, full, NULL);
    return length && length < MAX_PATH * 2 ? utf8(full) : path;
}

// The plug-in's files where the game does not look for them: says where they
// go. True when the install is where the game looks.
bool check_install(const GameFolder& game) {
    InstallProblem problem = install_problem(game);
    if (problem.advice.empty())
        return true;
    add_problem(problem.brief, problem.advice);
    print_line("install      " + problem.advice);
    return false;
}

}  // namespace

bool report_written(const std::string& path) {
    if (path.empty())
        say("report       can't be written beside this program, nor into your Documents or "
            "Temp folder");
    else
        say("report       %s: send this file with your problem report", path.c_str());
    return !path.empty();
}

int run_check(const Options& options, ReportInputs* report) {
    // The defaults are this program's own resources, as they are the module's.
    attach_module(GetModuleHandleW(NULL));
    // A relative sheet path names a file where the player started us.
    std::string sheet = options.sheet.empty() ? "" : full_path(options.sheet);
    start_transcript();
    print_line("Quillmere cursor check " QUILLMERE_VERSION_TEXT, 0);
    if (!options.files.empty()) {
        // Each file's own result line, and no other.
        return check_dropped_files(options.files) ? EXIT_ALL_FINE : EXIT_PROBLEMS;
    }
    GameFolder game = enter_game_folder();
    if (!game.found) {
        print_line("game folder  " + game.path);
        print_line(
            "This is not a game folder: it has no plugin folder, and this program is "
            "not in a game's plugin folder. Run it in the game folder, or start it "
            "from <game folder>\\plugin.",
            0);
        return EXIT_NOT_A_GAME_FOLDER;
    }
    hold_lines();
    print_line("game folder  " + game.path +
               (game.moved ? " (the one above this program's folder)" : ""));
    bool installed = check_install(game);
    bool module_there = print_module_report();
    print_code_guard(programs_with_code_guard(game.path));
    // Read for the report too, whether or not the rest is checked.
    SettingsReport settings = read_settings_report();
    cursor_edges = settings.edges;  // the cursors checked and drawn look as in the game
    RedirectedCopies copies = find_redirected_copies(game.path);
    TableCounts counts = {};
    int strays = 0;
    CursorSize size = {};  // the size rule's, for the window given
    std::string window_text;  // the window size the sheet's sizes assume
    if (installed) {
        if (options.restore_defaults)
            restore_folders();
        FolderState base = print_folder_report("cursors", CURSOR_FOLDER);
        FolderState animated = print_folder_report("animated", ANIMATED_CURSOR_FOLDER);
        if (module_there)
            print_plugin_not_loaded(base);
        FolderAccess access = {defaults_can_be_written(base), defaults_can_be_written(animated)};
        print_settings_report(settings);
        print_settings_mistakes(settings);
        print_wrapper_report(settings);
        print_size_report(settings, options.client_width, options.client_height);
        TableScales scales = {};
        size = game_size(settings.value, options.client_width, options.client_height);
        scales.scale = size.scale;
        scales.side = size.side;
        scales.automatic = settings.mode == SCALE_AUTOMATIC;
        int width, height;
        maximised_client(&width, &height);
        CursorSize maximised = game_size(settings.value, width, height);
        scales.maximised = maximised.scale;
        scales.maximised_side = maximised.side;
        scales.client_width = options.client_width;
        scales.client_height = options.client_height;
        if (scales.automatic)
            window_text = " (a game window " + std::to_string(options.client_width) + "x" +
                          std::to_string(options.client_height) + " inside; --client sets another)";
        print_line("");
        counts = print_cursor_table(scales, options.restore_defaults, access);
        note_capped_size(settings);
        strays = print_stray_files();
        print_redirected_copies(copies);
        print_counts(counts);
    }
    int code = problems().empty() ? EXIT_ALL_FINE : EXIT_PROBLEMS;
    // The result and what to do lead; the details follow, and the result
    // again at their end.
    stop_holding();
    print_result_first();
    // A double-click window shows the first lines: the key that saves the
    // report is named there too, not only below the details.
    if (!options.report && runs_in_own_console())
        print_line("Press R to save a report for a bug report, or Enter to close this window; "
                   "the details follow.",
                   0);
    print_line("");
    print_held_lines();
    if (installed) {
        if (strays && code == EXIT_ALL_FINE)
            print_line(
                "result: all fine; the files listed above are not cursors the game "
                "reads",
                RESULT_INDENT);
        else
            print_line(result_line(), RESULT_INDENT);
    }
    if (options.report && !report_written(write_player_report(settings, copies)))
        code = EXIT_USAGE;
    if (report)
        *report = {!options.report, settings, copies};
    if (!sheet.empty()) {
        std::string caption = "Quillmere " QUILLMERE_VERSION_TEXT " - the cursors of " + game.path +
                              ", " + scale_caption(size) + window_text;
        if (!write_cursor_sheet(sheet, size, caption)) {
            print_line("sheet        " + sheet +
                       " can't be written: choose another file or folder");
            return EXIT_USAGE;
        }
        print_line("sheet        " + sheet);
    }
    return code;
}
