// The edge stage's cost: the defaults rendered each way, a 128 px cursor
// made from a 32 px picture, and the worst case of the pixel limit, an
// animation of 1,024 frames of small images whose header asks 64x64, so
// that every scale above 1 makes 1,024 frames of 64x64 (4 Mi pixels) from
// them, each step of the line timed in this process.
#include "bench/bench.h"

#include <algorithm>

#include "cursors/default_cursors.h"
#include "support/cursor_builders.h"

namespace {

const int DEFAULT_FILES = 23;
const uint32_t FAMILY_FRAMES = 1024;
const uint32_t FAMILY_HEADER_SIDE = 64;
const int FAMILY_SIDES[] = {2, 3, 5, 7, 16, 45};
const int FAMILY_BITS[] = {1, 32};
const float FAMILY_SCALES[] = {2.0f, 3.0f};

std::string default_file(int index) {
    int identifier = index < 22 ? BASE_DEFAULT_FIRST_ID + index : ANIMATED_DEFAULT_FIRST_ID + 5;
    const BYTE* bytes;
    DWORD size;
    if (!default_cursor_bytes(GetModuleHandleA(NULL), identifier, &bytes, &size))
        return "";
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

double total_us(const StepTimes& steps) {
    return steps.parse + steps.plan + steps.decode + steps.render + steps.emit;
}

// The median of the rounds of one file's whole line.
StepTimes median_steps(const Settings& settings, const std::string& file, float scale,
                       EdgeStyle edges) {
    std::vector<StepTimes> runs;
    for (int round = 0; round < settings.rounds; ++round)
        runs.push_back(time_steps(file, scale, edges));
    std::sort(runs.begin(), runs.end(), [](const StepTimes& a, const StepTimes& b) {
        return total_us(a) < total_us(b);
    });
    return runs[runs.size() / 2];
}

std::string family_file(int side, int bits) {
    AniLayout layout;
    for (uint32_t frame = 0; frame < FAMILY_FRAMES; ++frame)
        layout.frames.push_back(make_cur(side, side, side / 2, side / 2, bits));
    layout.width = layout.height = FAMILY_HEADER_SIDE;
    return ani_file(layout);
}

}  // namespace

void bench_edge_stage(const Settings& settings, Table* table) {
    std::string rendered;
    for (float scale : FAMILY_SCALES) {
        double smooth = 0, square = 0;
        for (int index = 0; index < DEFAULT_FILES; ++index) {
            std::string file = default_file(index);
            smooth += median_steps(settings, file, scale, EDGES_SMOOTH).render;
            square += median_steps(settings, file, scale, EDGES_SQUARE).render;
        }
        rendered += format("%s%.1f: %.2f / %.2f ms", rendered.empty() ? "" : "; at ", scale,
                           smooth / 1000.0, square / 1000.0);
    }
    table->push_back({"the 23 defaults rendered along their edges / as square blocks (rendering "
                      "alone), at 2.0 and 3.0",
                      "at " + rendered, "(figure)"});

    std::string arrow = default_file(0);
    StepTimes smooth = median_steps(settings, arrow, 4.0f, EDGES_SMOOTH);
    StepTimes square = median_steps(settings, arrow, 4.0f, EDGES_SQUARE);
    table->push_back({"a 128 px cursor from a 32 px picture (default 0 at 4.0), parsed to "
                      "emitted, along its edges / as square blocks",
                      format("%.3f ms (render %.3f ms) / %.3f ms", total_us(smooth) / 1000.0,
                             smooth.render / 1000.0, total_us(square) / 1000.0),
                      "<= 2 ms"});

    double worst = 0;
    std::string worst_what;
    StepTimes worst_steps = {0, 0, 0, 0, 0, false};
    for (int side : FAMILY_SIDES)
        for (int bits : FAMILY_BITS) {
            std::string file = family_file(side, bits);
            for (float scale : FAMILY_SCALES) {
                StepTimes steps = median_steps(settings, file, scale, EDGES_SMOOTH);
                if (total_us(steps) > worst) {
                    worst = total_us(steps);
                    worst_steps = steps;
                    worst_what = format("%dx%d %d-bit images, %lu bytes, at %.1f", side, side, bits,
                                        static_cast<unsigned long>(file.size()), scale);
                }
            }
        }
    table->push_back(
        {"worst case of the pixel limit: 1,024 frames of small images (2x2 to 45x45, 1 and "
         "32 bits) under a 64x64 header, parsed to emitted at 2.0 and 3.0 along their edges",
         format("%.2f ms (%s; parse %.2f, plan %.2f, decode %.2f, render %.2f, emit %.2f ms; %s)",
                worst / 1000.0, worst_what.c_str(), worst_steps.parse / 1000.0,
                worst_steps.plan / 1000.0, worst_steps.decode / 1000.0,
                worst_steps.render / 1000.0, worst_steps.emit / 1000.0,
                worst_steps.built ? "built" : "refused"),
         "< 50 ms"});
}
