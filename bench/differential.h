// The differential run behind scripts/differential.sh: thousands of varied
// cursor files that the module parses and plans, each loaded through the
// module's load path and through the bare system loader, several rounds,
// in child processes so that a crash is pinned on its file. Every cursor the
// module's path builds is compared with the module's own plan and emitted
// resource: its size, steps and first frame's pixels, exactly. Not a test:
// it prints figures and lists the files that crashed, stalled, took over a
// second, grew the process by over 200 MB, left GDI objects behind or were
// built otherwise than planned.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The ways each file is loaded: the module's path at four scales (a
// fractional one among them), the system's loader at the file's own size
// and at 64 by 64.
const int LOAD_METHODS = 6;
// The first ways are the module's load path, the rest the bare system loader.
const int MODULE_LOAD_METHODS = 4;
extern const char* const LOAD_METHOD_NAMES[LOAD_METHODS];

const DWORD SLOW_LOAD_MS = 1000;
const double HUGE_GROWTH_MB = 200.0;

// The figure counting the loads by `method` that gave no cursor.
std::string failed_figure(int method);

// The accepted files are numbered; file i lives at <folder>\<i>.cur.
std::string differential_file_path(const std::string& folder, int index);

// Parent side: loads the files of `folder` (one per description, accepted
// out of `candidates` drawn or read) in child processes, prints the figures
// table and the findings, and copies the files found into <out>\findings.
// The process's exit code.
int run_differential(const std::string& out, const std::string& folder,
                     const std::vector<std::string>& descriptions, long candidates, int rounds);

// Child side: loads files first..last-1 of `folder`, `rounds` times each by
// every method, printing "AT i" before each file, one line per problem
// ("PROBLEM i method what value") and its figures so far after each file.
int run_differential_child(const std::string& folder, int first, int last, int rounds);
