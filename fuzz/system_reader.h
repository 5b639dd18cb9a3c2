// A reader of cursor resources that walks them as tolerantly as the
// system's builders do: chunks found by stepping over lengths (rounded up
// to even at the top level, not between frames), every header read where a
// walk stands whatever lies past it, frames read one after the other, each
// frame's first entry and its image's header. Given a buffer of exactly the
// resource's size, a read past it is the sanitizer's finding: what the
// module hands the system must hold every structure such a reader walks.
#pragma once

#include <stdint.h>

// Walks the `size` bytes of a resource as the module hands it to the
// builder (an animated cursor, or a single image behind its hotspot).
// Returns the frames it met (0 when it stops early).
uint32_t walk_as_the_system_reads(const uint8_t* bytes, uint32_t size);
