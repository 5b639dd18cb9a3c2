// The pixel arena's inner calls, for the decoders: a block that grows (as a
// decoder's realloc) and the arena given back but for a decoded picture.
#pragma once

#include <string.h>

#include "cursors/cursor_pixels.h"

// `block` (null, or taken from `arena` with `old_bytes`) as `new_bytes`:
// grown in place when it is the last block taken, else copied to a new one.
// Null when the arena has no room (`block` then stays as it was).
void* arena_resize(PixelArena* arena, void* block, uint32_t old_bytes, uint32_t new_bytes);

// Gives back everything taken since `mark` but `picture`'s pixels, which move
// down to `mark` (its colour first, then its mask). Its mask must lie after
// its colour, and both after `mark`.
void arena_keep_from(PixelArena* arena, uint32_t mark, Picture* picture);
