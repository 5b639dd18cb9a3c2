// libFuzzer target: the whole line, from a file's bytes to the resource the
// system is handed. The first byte chooses the scale (its low 4 bits) and
// how pixel art is enlarged (bit 4: square blocks, else along its edges),
// the second the pixels the load has left, the rest is the file (in a buffer of exactly its
// size). A resource made is read back by a strict reader of the one shape
// the module emits as exactly the planned size, frames, hotspots (each
// inside the cursor), steps and rates; made again over memory filled otherwise it is the same bytes (no
// pixel from memory nothing wrote), else abort().
#include <string.h>

#include "fuzz/fuzz_support.h"
#include "support/cursor_pipeline.h"
#include "support/emitted_reader.h"

namespace {

const size_t CHOICE_BYTES = 2;
const float SCALES[] = {0.0f,  1.0f, 1.25f, 1.5f,  1.875f, 2.0f,  2.25f, 3.0f,
                        0.01f, 4.0f, 7.9f,  16.0f, 128.0f, 1e30f, -0.0f, 2.5f};
const uint32_t BUDGETS[] = {
    WHOLE_LOAD_PIXELS, MAX_CURSOR_PIXELS, 1u << 20, 65536, 4096, 1024, 64, 1};
const uint32_t SCALE_COUNT = sizeof SCALES / sizeof SCALES[0];
const uint32_t BUDGET_COUNT = sizeof BUDGETS / sizeof BUDGETS[0];
const uint8_t SQUARE_BIT = 0x10;

void require_as_planned(const PipelineRun& run) {
    const CursorPlan& plan = run.plan;
    const CursorTable& table = *run.table;
    EmittedCursor read;
    require(run.resource.size() == plan.bytes);
    require(read_emitted_cursor(run.resource.data(), plan.bytes, table.animated, &read));
    require(read.width == plan.width && read.height == plan.height);
    require(read.frames == plan.frames && read.steps == plan.steps);
    for (uint32_t frame = 0; frame < plan.frames; ++frame) {
        require(read.hot_x[frame] == plan.hot_x[frame] && read.hot_y[frame] == plan.hot_y[frame]);
        require(read.hot_x[frame] < read.width && read.hot_y[frame] < read.height);
    }
    for (uint32_t step = 0; step < plan.steps && table.animated; ++step)
        require(read.frame_of_step[step] == table.frame_of_step[step] &&
                read.rate_of_step[step] == table.rate_of_step[step]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < CHOICE_BYTES)
        return 0;
    float scale = SCALES[data[0] % SCALE_COUNT];
    EdgeStyle edges = data[0] & SQUARE_BIT ? EDGES_SQUARE : EDGES_SMOOTH;
    uint32_t budget = BUDGETS[data[1] % BUDGET_COUNT];
    uint32_t length = static_cast<uint32_t>(size - CHOICE_BYTES);
    Buffer file(length);
    if (length)
        memcpy(file.bytes, data + CHOICE_BYTES, length);
    PipelineRun first =
        run_pipeline(file.bytes, length, scale, budget, WHOLE_LOAD_FRAMES, 0x00, edges);
    if (!first.planned)
        return 0;
    PipelineRun second =
        run_pipeline(file.bytes, length, scale, budget, WHOLE_LOAD_FRAMES, 0xff, edges);
    require(second.planned && second.resource == first.resource);
    if (!first.resource.empty())
        require_as_planned(first);
    return 0;
}
