// The renderer's first stage for pixel art: the picture enlarged by 2, 3 or
// 4 along its edges, each new pixel a copy of one of its neighbours, so no
// colour is added, single pixels stay, a mask stays one bit and inverting
// pixels stay inverting. Used by picture_render.cpp only.
#pragma once

#include "cursors/cursor_pixels.h"

// The factor the edge stage enlarges a `source_width` by `source_height`
// picture by on its way to `width` by `height`: 1 (no edge stage) unless
// both sides grow by the same whole factor K, counted up (so 1.5 gives 2 and
// 2.25 gives 3), and the picture is at most 64 px a side. K of 2,
// 3 or 4 is itself; above 4, the largest of 4, 3, 2 that divides K (blocks
// of a whole number of pixels follow), or 4.
uint32_t edge_factor(uint32_t source_width, uint32_t source_height, uint32_t width,
                     uint32_t height);

// Whether `picture` is pixel art: at most EDGE_LARGEST_PALETTE distinct
// (colour, mask) pairs, or (colour, alpha) pairs with alpha.
bool is_pixel_art(const Picture& picture);

// `source` enlarged `factor` (2, 3 or 4) times along its edges into
// `target` (buffers from `arena`). False when the arena is spent.
bool magnify_edges(const Picture& source, uint32_t factor, PixelArena* arena, Picture* target);

// The most arena bytes magnify_edges takes for a `source_width` by
// `source_height` picture on its way to `width` by `height`; 0 when
// edge_factor is 1.
uint64_t edge_arena_bytes(uint32_t source_width, uint32_t source_height, uint32_t width,
                          uint32_t height);
