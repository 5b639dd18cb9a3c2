// The robustness program that loads the real module into a host-layout
// process. Run with "--dll-shard K N" it is a child of the malformed-file test and
// runs one shard of the malformed files through the module instead of the
// tests.
#include <gtest/gtest.h>

#include "tests/robustness/module/module_pass.h"
#include "tests/robustness/support/malformed_pass.h"
#include "tests/support/test_process.h"

int main(int argc, char** argv) {
    int shard, shards;
    if (shard_arguments(argc, argv, DLL_SHARD_OPTION, &shard, &shards))
        return run_dll_shard(shard, shards, false);
    if (shard_arguments(argc, argv, FINDINGS_SHARD_OPTION, &shard, &shards))
        return run_dll_shard(shard, shards, true);
    return run_tests(argc, argv);
}
