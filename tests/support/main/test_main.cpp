// The main of test programs that need no start of their own.
#include <gtest/gtest.h>

#include "tests/support/test_process.h"

int main(int argc, char** argv) {
    return run_tests(argc, argv);
}
