// The robustness program with the module's code linked in, laid out like the
// host. Run with "--core-shard K N" it is a child of the malformed-file test and runs
// one shard of the malformed files instead of the tests.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include "plugin/plugin.h"
#include "tests/robustness/core/core_pass.h"
#include "tests/robustness/support/malformed_pass.h"
#include "tests/support/test_process.h"

int main(int argc, char** argv) {
    DllMain(GetModuleHandleA(NULL), DLL_PROCESS_ATTACH, NULL);
    int shard, shards;
    if (shard_arguments(argc, argv, CORE_SHARD_OPTION, &shard, &shards))
        return run_core_shard(shard, shards);
    if (argc == 3 && strcmp(argv[1], CORE_FILE_OPTION) == 0)
        return run_core_file(atoi(argv[2]));
    return run_tests(argc, argv);
}
