// The child side of the differential run: loading and measuring.
#include "bench/differential.h"

#include <psapi.h>
#include <stdio.h>

#include "bench/bench.h"
#include "cursors/cursor_loader.h"
#include "tests/robustness/support/child_runs.h"
#include "tests/support/gdi_objects.h"

const char* const LOAD_METHOD_NAMES[LOAD_METHODS] = {
    "module at 0", "module at 1.5", "module at 2.0", "system at 0x0", "system at 64x64"};

namespace {

const float MODULE_SCALES[] = {0.0f, 1.5f, 2.0f};
const int SYSTEM_SIDES[] = {0, 64};
const double BYTES_PER_MB = 1024.0 * 1024.0;

HCURSOR load(const std::string& path, int method) {
    if (method < 3)
        return load_cursor_file(path.c_str(), MODULE_SCALES[method]);
    int side = SYSTEM_SIDES[method - 3];
    return static_cast<HCURSOR>(
        LoadImageA(NULL, path.c_str(), IMAGE_CURSOR, side, side, LR_LOADFROMFILE));
}

double pagefile_mb() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PagefileUsage) / BYTES_PER_MB;
}

void problem(int index, int method, const char* what, double value) {
    printf("PROBLEM %d %d %s %.1f\n", index, method, what, value);
}

}  // namespace

std::string failed_figure(int method) { return "failed_" + std::to_string(method); }

std::string differential_file_path(const std::string& folder, int index) {
    char name[32];
    snprintf(name, sizeof name, "\\%05d.cur", index);
    return folder + name;
}

int run_differential_child(const std::string& folder, int first, int last, int rounds) {
    Figures figures;
    for (const char* name : {"loads", "slow", "huge", "gdi_growth"})
        figures.add(name, 0);
    for (int method = 0; method < LOAD_METHODS; ++method)
        figures.add(failed_figure(method), 0);
    long gdi = gdi_table_entries();
    for (int index = first; index < last; ++index) {
        std::string path = differential_file_path(folder, index);
        // Every round of the module's ways before the system's: a crash of
        // the system's loader ends the child, and names the way it was in.
        for (int method = 0; method < LOAD_METHODS; ++method)
            for (int round = 0; round < rounds; ++round) {
                printf("AT %d %d\n", index, method);
                fflush(stdout);
                double memory = pagefile_mb();
                double start = now_us();
                HCURSOR cursor = load(path, method);
                double ms = (now_us() - start) / 1000.0;
                double growth = pagefile_mb() - memory;
                if (cursor)
                    DestroyCursor(cursor);
                long after = gdi_table_entries();
                figures.add("loads", 1);
                if (!cursor)
                    figures.add(failed_figure(method), 1);
                if (!cursor && round == 0)
                    problem(index, method, "no-cursor", 0);
                if (ms > SLOW_LOAD_MS) {
                    figures.add("slow", 1);
                    problem(index, method, "slow-ms", ms);
                }
                if (growth > HUGE_GROWTH_MB) {
                    figures.add("huge", 1);
                    problem(index, method, "growth-mb", growth);
                }
                // The first load of all may set up objects the system keeps.
                if (after > gdi && !(index == first && round == 0)) {
                    figures.add("gdi_growth", 1);
                    problem(index, method, "gdi-objects", static_cast<double>(after - gdi));
                }
                gdi = after;
            }
        printf("%s\n", figures.line().c_str());
        fflush(stdout);
    }
    return 0;
}
