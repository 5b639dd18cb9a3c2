// Varied cursor files that the module's judgement is meant to accept, drawn
// from a seeded random sequence: single-image and animated, bitmap images
// (core and 40-byte headers, every bit count) and PNG images, sequences and
// rates present or not, directory sizes that differ from their images',
// odd chunks with pad bytes, lengths the module's private copy puts right,
// and files past 64 KiB. Seeds the fuzz corpus and feeds the differential run.
#pragma once

#include <stdint.h>

#include <string>

#include "support/random.h"

struct VariedCursor {
    std::string bytes;
    std::string description;  // what was drawn, for a finding's listing
};

// The next file of the sequence.
VariedCursor varied_cursor(Random& random);
