#include "support/cursor_pipeline.h"

#include <string.h>

namespace {

// The arena, made once: ARENA_SIZE bytes like the module's.
PixelArena* shared_arena() {
    static std::vector<uint8_t> memory(ARENA_SIZE);
    static PixelArena arena = {memory.data(), ARENA_SIZE, 0};
    return &arena;
}

}  // namespace

PipelineRun run_pipeline(const uint8_t* bytes, uint32_t size, float scale, uint32_t pixels,
                         uint32_t frames, uint8_t fill, EdgeStyle edges) {
    PipelineRun run;
    run.table.reset(new CursorTable);
    run.parsed = parse_cursor_file(bytes, size, run.table.get());
    PlanRequest request = {scale, STANDARD_SIDE, STANDARD_SIDE, pixels, frames, edges, 0};
    run.planned = run.parsed && plan_cursor(*run.table, request, &run.plan);
    if (!run.planned)
        return run;
    // As the module makes it: in the memory the plan says it takes.
    if (run.plan.arena_bytes > ARENA_SIZE)
        return run;
    PixelArena* arena = shared_arena();
    arena->size = run.plan.arena_bytes;
    memset(arena->base, fill, arena->size);
    uint8_t* resource = NULL;
    uint32_t length = make_cursor_resource(bytes, *run.table, &run.plan, arena, &resource);
    if (length)
        run.resource.assign(resource, resource + length);
    return run;
}

bool module_accepts(const uint8_t* bytes, uint32_t size) {
    std::unique_ptr<CursorTable> table(new CursorTable);
    std::unique_ptr<CursorPlan> plan(new CursorPlan);
    PlanRequest request = {0.0f,      STANDARD_SIDE,     STANDARD_SIDE,
                           WHOLE_LOAD_PIXELS, WHOLE_LOAD_FRAMES, EDGES_SMOOTH, 0};
    return parse_cursor_file(bytes, size, table.get()) && plan_cursor(*table, request, plan.get());
}
