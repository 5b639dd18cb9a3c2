// Runs the test program itself again as child processes, a few at a time,
// and collects what each printed and how it ended: a crash in a child is
// counted instead of ending the parent.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ChildRun {
    std::string arguments;
    DWORD exit_code;
    std::string output;  // standard output and standard error
};

// True for the exit codes of a process ended by an unhandled exception.
bool ended_by_exception(DWORD exit_code);

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
