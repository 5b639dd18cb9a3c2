// The malformed-file pass over the module's code linked into this program.
#pragma once

const char CORE_SHARD_OPTION[] = "--core-shard";

// Child side: runs one shard, prints its figures; the process's exit code.
int run_core_shard(int shard, int shards);

// Diagnosis: "--core-file I" loads corpus file I alone, in base slot 0 and
// in animated slot 0, at every scale, printing each step; "--core-file -1"
// lists the corpus.
const char CORE_FILE_OPTION[] = "--core-file";
int run_core_file(int index);
