// Runs the test program itself again as child processes, a few at a time,
// and reads the figures each prints.
#pragma once

#include <windows.h>

#include "support/child_process.h"

#include <string>
#include <vector>

// Runs this program once per entry of `arguments`, at most `parallel` at a
// time, and waits for all of them (each at most `timeout_ms`).
std::vector<ChildRun> run_self(const std::vector<std::string>& arguments, int parallel,
                               DWORD timeout_ms);

// Figures a child prints on one line: "FIGURES name=value name=value ...".
struct Figures {
    std::vector<std::pair<std::string, long>> values;
    long get(const std::string& name) const;
    void add(const std::string& name, long value);       // sums into an existing name
    void keep_max(const std::string& name, long value);  // the larger one stays
    std::string line() const;
};
Figures parse_figures(const std::string& output);
