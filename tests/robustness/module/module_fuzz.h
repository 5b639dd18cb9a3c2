// The fuzzing pass through the real module in a stand-in host process.
#pragma once

const char DLL_SHARD_OPTION[] = "--dll-shard";

// Child side: runs one shard, prints its figures; the process's exit code.
int run_dll_shard(int shard, int shards);
