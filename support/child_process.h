// Runs programs as child processes and collects what each writes to its
// standard output and error and how it ended: a crash in a child is
// reported instead of ending the parent. The one runner of the tests, the
// robustness suite and the benchmark.
//
// Every child runs in a job of its own and gets a Temp folder of its own,
// removed when it ends: a child that runs out of time is ended with every
// process it started, and what it left in Temp goes with it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ChildRun {
    std::string command_line;
    bool started;
    DWORD exit_code;     // STALLED_EXIT when it ran out of time
    std::string output;  // standard output and error, line ends as written
};

// The exit code given to a child ended for running out of time.
const DWORD STALLED_EXIT = 0xFFFFFFFEu;

// How long a child may run unless its caller says otherwise: many times what
// any test's child needs on a busy two-core machine, so only a hang meets it.
const DWORD CHILD_TIME_LIMIT_MS = 60000;

// True for the exit codes of a process ended by an unhandled exception.
bool ended_by_exception(DWORD exit_code);

// This program itself with `arguments`, as a command line.
std::string self_command(const std::string& arguments);

// Runs each command line (program path first) in `folder` (empty: the
// current one), at most `parallel` at a time, each for at most `timeout_ms`
// from its own start. A child out of time is ended and fails the running
// test, named.
std::vector<ChildRun> run_children(const std::vector<std::string>& command_lines, int parallel,
                                   DWORD timeout_ms, const std::string& folder = "");

// Runs one command line and waits for it to end, at most `timeout_ms`.
ChildRun run_child(const std::string& command_line, const std::string& folder = "",
                   DWORD timeout_ms = CHILD_TIME_LIMIT_MS);

// Waits at most `timeout_ms` for a process a test started itself (with
// handles of its own); past that ends it and fails the test, naming `what`.
// Its exit code, STALLED_EXIT when it was ended.
DWORD wait_for_exit(HANDLE process, const std::string& what,
                    DWORD timeout_ms = CHILD_TIME_LIMIT_MS);
