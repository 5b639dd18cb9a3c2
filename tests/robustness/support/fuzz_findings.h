// The inputs that fuzzing found (fuzz/findings/<target>/, committed), as
// files a player could drop: read from the source tree at test time.
#pragma once

#include <vector>

#include "support/malformed_corpus.h"

// Every past finding, in a fixed order; a target's leading bytes that are
// no part of the file (the size the private copy's target asks) removed.
std::vector<MalformedCursor> past_fuzz_findings();
