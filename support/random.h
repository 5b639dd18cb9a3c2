// A small pseudo-random sequence of our own (splitmix64), so that the same
// seed gives the same files with every compiler and library.
#pragma once

#include <stdint.h>

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint32_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<uint32_t>((z ^ (z >> 31)) >> 16);
    }
    // A value in [0, bound); 0 when bound is 0.
    uint32_t below(uint32_t bound) { return bound ? next() % bound : 0; }

private:
    uint64_t state_;
};
