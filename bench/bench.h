// The module's performance figures, each a ratio or a count measured in one
// run of this program, printed as a table. Timings are medians of repeated
// rounds measured with QueryPerformanceCounter. Nothing here passes or fails.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "cursors/cursor_pixels.h"
#include "host/runtime/text_format.h"

struct Settings {
    int rounds = 15;      // timed rounds per figure
    int rescales = 1000;  // rescales of the memory figure
    int init_runs = 7;    // child processes per start-up figure
};

// One line of the table.
struct Row {
    std::string figure;
    std::string measured;
    std::string target;
};
typedef std::vector<Row> Table;


// Microseconds since an arbitrary start.
double now_us();
// The median of `values` (which it sorts).
double median(std::vector<double> values);

// The sections of the table.
void bench_cursor_path(const Settings& settings, Table* table);
void bench_cursor_loading(const Settings& settings, Table* table);
void bench_pipeline(const Settings& settings, Table* table);
void bench_edge_stage(const Settings& settings, Table* table);
void bench_start_up(const Settings& settings, Table* table);
void bench_footprint(const Settings& settings, Table* table);
void bench_wrapper_settings(const Settings& settings, Table* table);

// Child processes of this program: one start-up of the real module, or a
// run of rescales through it, each printing one line of results.
int child_start_up();
int child_rescales(int rescales);

// One file's steps through the module's straight line, in microseconds, and
// whether it was built.
struct StepTimes {
    double parse, plan, decode, render, emit;
    bool built;
};
StepTimes time_steps(const std::string& bytes, float scale, EdgeStyle edges = EDGES_SMOOTH);

// The robustness suite's costly files of about 1 MiB and more.
std::vector<std::string> costly_files();
// Its costly and hostile files (of 64 KiB and more), in its order.
std::vector<std::string> hostile_files();

// Runs this program with `arguments` in `folder` and returns what it printed.
std::string run_self_in(const std::string& arguments, const std::string& folder);
// The built module beside the bench program's folder.
std::string module_path();
