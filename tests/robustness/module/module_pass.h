// The malformed-file pass through the real module in a stand-in host process.
#pragma once

const char DLL_SHARD_OPTION[] = "--dll-shard";
// The same pass over the past fuzz findings instead of the malformed files.
const char FINDINGS_SHARD_OPTION[] = "--findings-shard";

// Child side: runs one shard of the malformed files (or, with `findings`,
// of the past fuzz findings), prints its figures; the process's exit code.
int run_dll_shard(int shard, int shards, bool findings);
