// quillmere_check's entry: reads the command line, runs the check (in
// check_run.cpp) and, in a console of its own, waits before it closes.
#include "tools/cursor_check/check_run.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/options.h"
#include "tools/cursor_check/player_report.h"

int main() {
    Options options = {};
    std::string error;
    int code = EXIT_USAGE;
    if (!parse_command_line(&options, &error)) {
        print_error_line(error);
        print_error_line("quillmere_check --help tells how to run it");
    } else if (options.help) {
        print_usage();
        code = EXIT_ALL_FINE;
    } else {
        code = run_check(options);
    }
    if (!options.report && !options.help)
        point_to_report_if_double_clicked();
    wait_if_own_console();
    return code;
}
