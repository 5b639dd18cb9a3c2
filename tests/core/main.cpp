// Test program with the module's code linked in, in a process laid out like
// the host: host globals at their real addresses. The module's resources are
// linked in too, so the process's own handle stands for the module's.
#include <gtest/gtest.h>

#include "plugin/plugin.h"
#include "tests/support/test_process.h"

int main(int argc, char** argv) {
    DllMain(GetModuleHandleA(NULL), DLL_PROCESS_ATTACH, NULL);
    return run_tests(argc, argv);
}
