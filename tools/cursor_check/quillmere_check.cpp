// quillmere_check's entry: reads the command line, runs the check (in
// check_run.cpp) and, in a console of its own, offers the report and waits
// before it closes.
#include "tools/cursor_check/check_run.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/options.h"
#include "tools/cursor_check/player_report.h"

int main() {
    // Whose console this is, before anyone else can attach to it.
    runs_in_own_console();
    Options options = {};
    ReportInputs report = {};
    std::string error;
    int code = EXIT_USAGE;
    if (!parse_command_line(&options, &error)) {
        print_error_line(error);
        print_error_line("quillmere_check --help tells how to run it");
    } else if (options.help) {
        print_usage();
        code = EXIT_ALL_FINE;
    } else {
        code = run_check(options, &report);
    }
    // A double-click window offers the report with one key; a command prompt
    // or a terminal has --report.
    if (report.ready && runs_in_own_console()) {
        print_line("");
        print_line("Press R to save a report for a bug report, or Enter to close this window.", 0);
        if (wait_for_key(true)) {
            print_line("");
            report_written(write_player_report(report.settings, report.copies));
            wait_if_own_console();
        }
    } else {
        wait_if_own_console();
    }
    return code;
}
