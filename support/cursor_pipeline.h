// The module's byte work on a cursor file in memory (parse, plan, and the
// resource made from its pixels), as the tests, the fuzz targets and the
// differential run need it outside the module. Portable, so that the fuzz
// targets build it natively.
#pragma once

#include <stdint.h>

#include <memory>
#include <vector>

#include "cursors/cursor_resource.h"

// The standard cursor size a file in several sizes counts as its own here.
const uint32_t STANDARD_SIDE = 32;
// The most pixels a whole load could allow a player's file (the bytes the
// module's loader allows players' files, at the system's bytes a pixel).
const uint32_t WHOLE_LOAD_PIXELS = (LOAD_BYTES - DEFAULT_BYTES) / SYSTEM_BYTES_A_PIXEL;
const uint32_t WHOLE_LOAD_FRAMES = LOAD_FRAMES - DEFAULT_FRAMES;

struct PipelineRun {
    bool parsed, planned;
    std::unique_ptr<CursorTable> table;
    CursorPlan plan;
    std::vector<uint8_t> resource;  // empty when it was not made
};

// Parses `bytes`, plans them at `scale` within `pixels` and `frames`, and
// makes the resource, as the module does, in as much memory as the plan
// says it takes (no resource when that is over ARENA_SIZE), every byte of
// it set to `fill` first; pixel art enlarged as `edges` says.
PipelineRun run_pipeline(const uint8_t* bytes, uint32_t size, float scale,
                         uint32_t pixels = WHOLE_LOAD_PIXELS, uint32_t frames = WHOLE_LOAD_FRAMES,
                         uint8_t fill = 0, EdgeStyle edges = EDGES_SMOOTH);

// Whether the module would plan the file at its own size (parse and plan).
bool module_accepts(const uint8_t* bytes, uint32_t size);
