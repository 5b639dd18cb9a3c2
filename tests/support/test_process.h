// What every test program does before its cases run: it and every process
// it starts share a job that ends them all when the program ends, however it
// ends (a kill from the test runner included), and each case gets a time
// limit. A case past it is named, the processes it started are ended, its
// scratch folders removed, and the program fails at once instead of hanging.
#pragma once

#include <windows.h>

// The limit of one case unless QUILLMERE_CASE_TIME_LIMIT_S says otherwise.
const DWORD CASE_TIME_LIMIT_S = 90;

// With this option, each case the filter selects runs in a fresh process
// of its own (a child of this one), for suites whose cases leave state in
// the process that the next case must not meet.
const char EACH_CASE_ALONE_OPTION[] = "--each-case-alone";

// Call after testing::InitGoogleTest.
void limit_test_process();

// InitGoogleTest, limit_test_process, then the cases (each alone when asked);
// the program's exit code.
int run_tests(int argc, char** argv);
