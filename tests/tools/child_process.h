// Runs a program as a child process in the current folder and collects what
// it writes to its standard output and error.
#pragma once

#include <windows.h>

#include <string>

struct ChildRun {
    bool started;
    DWORD exit_code;
    std::string output;  // standard output and error, line ends as written
};

// Runs `command_line` (program path first) and waits for it to end.
ChildRun run_child(const std::string& command_line);
