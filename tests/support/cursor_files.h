// Builds cursor files for tests: single-image .cur data and animated (.ani)
// files wrapping such frames, in the layouts the system's loaders accept.
#pragma once

#include <string>

// A .cur file holding one width by height image: 32-bit colour with alpha,
// or 1-bit monochrome (its AND and XOR images stacked, as Windows keeps them).
std::string make_cur(int width, int height, int hotspot_x, int hotspot_y, int bits_per_pixel = 32);

// An animated cursor with `frames` 32-bit frames of width by height. With
// size_in_header the "anih" header carries the size; otherwise 0 there.
std::string make_ani(int width, int height, int frames = 1, bool size_in_header = true);

// Little-endian helpers for tests that take such files apart.
unsigned read_u32(const std::string& bytes, size_t offset);
void write_u32(std::string& bytes, size_t offset, unsigned value);
