// quillmere_bench: prints the module's performance figures as a table.
//   quillmere_bench [--rounds N] [--rescales N] [--init-runs N]
// Laid out like the host (host globals at their real addresses); links the
// module's code for the in-process figures and starts the real module in
// child processes for the start-up and memory figures.
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "bench/bench.h"
#include "plugin/plugin.h"


namespace {

bool read_option(int argc, char** argv, const char* name, int* value) {
    for (int i = 1; i + 1 < argc; ++i)
        if (strcmp(argv[i], name) == 0) {
            *value = atoi(argv[i + 1]);
            return true;
        }
    return false;
}

void print_table(const Table& table) {
    printf("| figure | measured | target |\n|---|---|---|\n");
    for (const Row& row : table)
        printf("| %s | %s | %s |\n", row.figure.c_str(), row.measured.c_str(), row.target.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    DllMain(GetModuleHandleA(NULL), DLL_PROCESS_ATTACH, NULL);
    if (argc >= 2 && strcmp(argv[1], "--child-start-up") == 0)
        return child_start_up();
    int rescales = 0;
    if (read_option(argc, argv, "--child-rescales", &rescales))
        return child_rescales(rescales);

    Settings settings;
    read_option(argc, argv, "--rounds", &settings.rounds);
    read_option(argc, argv, "--rescales", &settings.rescales);
    read_option(argc, argv, "--init-runs", &settings.init_runs);
    if (settings.rounds < 1 || settings.rescales < 1 || settings.init_runs < 1) {
        fprintf(stderr, "usage: quillmere_bench [--rounds N] [--rescales N] [--init-runs N]\n");
        return 2;
    }
    Table table;
    bench_cursor_path(settings, &table);
    bench_cursor_loading(settings, &table);
    bench_pipeline(settings, &table);
    bench_edge_stage(settings, &table);
    bench_start_up(settings, &table);
    bench_footprint(settings, &table);
    bench_wrapper_settings(settings, &table);
    printf("\nrounds %d, rescales %d, start-up runs %d\n\n", settings.rounds, settings.rescales,
           settings.init_runs);
    print_table(table);
    return 0;
}
