// The module's straight line on one file, step by step, timed in this
// process: parse, plan, decode, render and emit. A default cursor against
// the worst of the robustness suite's hostile files of about 1 MiB and more
// (many entries, chunks and frames, images whose entries claim other sizes,
// PNG images that inflate far), each at 2.0.
#include "bench/bench.h"

#include <string.h>

#include <memory>

#include "cursors/cursor_resource.h"
#include "cursors/default_cursors.h"
#include "support/cursor_pipeline.h"
#include "support/malformed_corpus.h"

namespace {

const uint32_t COSTLY_SIZE = 1000000;  // about 1 MiB and more
const float ASKED_SCALE = 2.0f;

PixelArena* bench_arena() {
    static std::vector<uint8_t> memory(ARENA_SIZE);
    static PixelArena arena = {memory.data(), ARENA_SIZE, 0};
    return &arena;
}

double elapsed(double* start) {
    double now = now_us(), time = now - *start;
    *start = now;
    return time;
}

}  // namespace

StepTimes time_steps(const std::string& bytes, float scale, EdgeStyle edges) {
    static std::unique_ptr<CursorTable> table(new CursorTable);
    static std::unique_ptr<CursorPlan> plan(new CursorPlan);
    StepTimes times = {0, 0, 0, 0, 0, false};
    const uint8_t* file = reinterpret_cast<const uint8_t*>(bytes.data());
    double start = now_us();
    bool parsed = parse_cursor_file(file, static_cast<uint32_t>(bytes.size()), table.get());
    times.parse = elapsed(&start);
    PlanRequest request = {scale,         STANDARD_SIDE,     STANDARD_SIDE,
                           WHOLE_LOAD_PIXELS, WHOLE_LOAD_FRAMES, edges, 0};
    bool planned = parsed && plan_cursor(*table, request, plan.get());
    times.plan = elapsed(&start);
    if (!planned)
        return times;
    PixelArena* arena = bench_arena();
    arena->used = 0;
    uint8_t* out = static_cast<uint8_t*>(arena_take(arena, plan->bytes));
    AnimatedWriter writer;
    if (table->animated)
        begin_animated_cursor(out, plan->frames, plan->steps, plan->width, plan->height, &writer);
    times.emit += elapsed(&start);
    // As the module makes it: each image once, later frames showing it copied.
    std::vector<uint16_t> frame_of_image(MAX_IMAGES);
    for (uint32_t frame = 0; frame < plan->frames; ++frame) {
        uint16_t& shown_in = frame_of_image[plan->image_of_frame[frame]];
        if (table->animated && shown_in) {
            repeat_animated_frame(&writer, shown_in - 1u, plan->hot_x[frame], plan->hot_y[frame]);
            times.emit += elapsed(&start);
            continue;
        }
        shown_in = static_cast<uint16_t>(frame + 1);
        uint32_t mark = arena->used;
        const CursorImage& image = table->images[plan->image_of_frame[frame]];
        Picture decoded, shown;
        bool sound = decode_image(file + image.offset, image.length, arena, &decoded);
        times.decode += elapsed(&start);
        if (!sound)
            return times;
        shown = decoded;
        if (decoded.width != plan->width || decoded.height != plan->height)
            sound = render_picture(decoded, plan->width, plan->height, edges, arena, &shown);
        times.render += elapsed(&start);
        if (!sound)
            return times;
        if (table->animated)
            add_animated_frame(&writer, shown, plan->hot_x[frame], plan->hot_y[frame]);
        else
            emit_cursor_image(shown, plan->hot_x[0], plan->hot_y[0], out);
        arena->used = mark;
        times.emit += elapsed(&start);
    }
    if (table->animated)
        end_animated_cursor(&writer, table->frame_of_step, table->rate_of_step);
    times.emit += elapsed(&start);
    times.built = true;
    return times;
}

std::vector<std::string> costly_files() {
    std::vector<std::string> files;
    for (const SeedFile& file : large_malformed_files())
        if (file.bytes.size() >= COSTLY_SIZE)
            files.push_back(file.bytes);
    return files;
}

std::vector<std::string> hostile_files() {
    std::vector<std::string> files;
    for (const SeedFile& file : large_malformed_files())
        if (strncmp(file.name, "costly:", 7) == 0 || strncmp(file.name, "hostile:", 8) == 0)
            files.push_back(file.bytes);
    return files;
}

void bench_pipeline(const Settings& settings, Table* table) {
    const BYTE* bytes;
    DWORD size;
    if (!default_cursor_bytes(GetModuleHandleA(NULL), BASE_DEFAULT_FIRST_ID, &bytes, &size))
        return;
    auto whole_us = [&](const std::string& file) {
        std::vector<double> times;
        for (int round = 0; round < settings.rounds; ++round) {
            StepTimes steps = time_steps(file, ASKED_SCALE, EDGES_SMOOTH);
            times.push_back(steps.parse + steps.plan + steps.decode + steps.render + steps.emit);
        }
        return median(times);
    };
    double clean = whole_us(std::string(reinterpret_cast<const char*>(bytes), size));
    double worst = 0;
    size_t worst_size = 0;
    StepTimes worst_steps = {0, 0, 0, 0, 0, false};
    for (const std::string& file : costly_files()) {
        double time = whole_us(file);
        if (time > worst) {
            worst = time;
            worst_size = file.size();
            worst_steps = time_steps(file, ASKED_SCALE, EDGES_SMOOTH);
        }
    }
    table->push_back({"one file parsed, planned, decoded, rendered and emitted at 2.0: the worst "
                      "hostile file of about 1 MiB / a default cursor",
                      format("%.2f ms (%lu bytes; parse %.2f, plan %.2f, decode %.2f, render %.2f, "
                             "emit %.2f ms; %s) / %.1f us",
                             worst / 1000.0, static_cast<unsigned long>(worst_size),
                             worst_steps.parse / 1000.0, worst_steps.plan / 1000.0,
                             worst_steps.decode / 1000.0, worst_steps.render / 1000.0,
                             worst_steps.emit / 1000.0, worst_steps.built ? "built" : "refused",
                             clean),
                      "< 50 ms"});
}
