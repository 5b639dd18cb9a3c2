// The child side of the differential run: loading and measuring.
#include "bench/differential.h"

#include <psapi.h>
#include <stdio.h>
#include <string.h>

#include "base/icon_bitmaps.h"
#include "bench/bench.h"
#include "cursors/cursor_loader.h"
#include "support/child_runs.h"
#include "support/cursor_pipeline.h"
#include "support/emitted_reader.h"
#include "support/gdi_objects.h"
#include "support/players_files.h"
#include "support/scratch_folder.h"

const char* const LOAD_METHOD_NAMES[LOAD_METHODS] = {
    "module at 0",   "module at 1.5",  "module at 2.0",
    "module at 2.25", "system at 0x0", "system at 64x64"};

namespace {

const float MODULE_SCALES[] = {0.0f, 1.5f, 2.0f, 2.25f};
const int SYSTEM_SIDES[] = {0, 64};
const double BYTES_PER_MB = 1024.0 * 1024.0;

HCURSOR load(const std::string& path, int method) {
    if (method < MODULE_LOAD_METHODS)
        return load_cursor_file(path.c_str(), MODULE_SCALES[method]);
    int side = SYSTEM_SIDES[method - MODULE_LOAD_METHODS];
    return static_cast<HCURSOR>(
        LoadImageA(NULL, path.c_str(), IMAGE_CURSOR, side, side, LR_LOADFROMFILE));
}

double pagefile_mb() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PagefileUsage) / BYTES_PER_MB;
}

void problem(int index, int method, const char* what, double value) {
    printf("PROBLEM %d %d %s %.1f\n", index, method, what, value);
}

// The rows of `bitmap` as 32-bit pixels, top-down.
std::vector<uint32_t> bitmap_rows(HBITMAP bitmap, int width, int height) {
    std::vector<uint32_t> rows(static_cast<size_t>(width) * height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(NULL);
    if (GetDIBits(screen, bitmap, 0, height, rows.data(), &info, DIB_RGB_COLORS) != height)
        rows.clear();
    ReleaseDC(NULL, screen);
    return rows;
}

// What differs between `cursor`, built by the module's path from `bytes` at
// `scale`, and what the module planned and emitted: its size, its steps, or
// its first frame's colour or mask, pixel for pixel.
enum Difference { SAME, NOT_EMITTED, SIZE, STEPS, BITMAPS, COLOUR, MASK };

Difference built_as_planned(const std::string& bytes, float scale, HCURSOR cursor) {
    PipelineRun run = run_pipeline(reinterpret_cast<const uint8_t*>(bytes.data()),
                                   static_cast<uint32_t>(bytes.size()), scale);
    EmittedCursor emitted;
    if (run.resource.empty() ||
        !read_emitted_cursor(run.resource.data(), static_cast<uint32_t>(run.resource.size()),
                             run.table->animated, &emitted))
        return NOT_EMITTED;
    int width = static_cast<int>(run.plan.width), height = static_cast<int>(run.plan.height);
    int built_width = 0, built_height = 0;
    ICONINFO info = {};
    if (!probe_cursor_size(cursor, &built_width, &built_height) || built_width != width ||
        built_height != height)
        return SIZE;
    // A cursor of one frame is still: the system counts it one step.
    if (cursor_steps(cursor) != static_cast<int>(run.plan.frames > 1 ? run.plan.steps : 1))
        return STEPS;
    if (!GetIconInfo(cursor, &info))
        return BITMAPS;
    std::vector<uint32_t> colour = bitmap_rows(info.hbmColor, width, height);
    std::vector<uint32_t> mask = bitmap_rows(info.hbmMask, width, height);
    delete_icon_bitmaps(info);
    if (colour.empty() || mask.empty())
        return BITMAPS;
    // The system shows the first step's frame first: its image's colour
    // rows bottom-up, then its mask's.
    uint32_t image_bytes = 40 + 4 * width * height + (width + 31) / 32 * 4 * height;
    uint32_t frame = run.table->animated ? run.table->frame_of_step[0] : 0;
    const uint8_t* image = run.resource.data() +
                           (run.table->animated ? 12 + 44 + 12 + frame * (8 + 22 + image_bytes) + 8 + 22 : 4) +
                           40;
    const uint8_t* mask_rows = image + 4 * width * height;
    uint32_t mask_stride = (width + 31) / 32 * 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t pixel;
            memcpy(&pixel, image + 4 * ((height - 1 - y) * width + x), 4);
            bool masked = mask_rows[(height - 1 - y) * mask_stride + x / 8] & (0x80 >> (x % 8));
            if (colour[y * width + x] != pixel)
                return COLOUR;
            if (((mask[y * width + x] & 0xffffff) != 0) != masked)
                return MASK;
        }
    return SAME;
}

}  // namespace

std::string failed_figure(int method) { return "failed_" + std::to_string(method); }

std::string differential_file_path(const std::string& folder, int index) {
    char name[32];
    snprintf(name, sizeof name, "\\%05d.cur", index);
    return folder + name;
}

int run_differential_child(const std::string& folder, int first, int last, int rounds) {
    Figures figures;
    for (const char* name : {"loads", "slow", "huge", "gdi_growth", "unplanned"})
        figures.add(name, 0);
    for (int method = 0; method < LOAD_METHODS; ++method)
        figures.add(failed_figure(method), 0);
    long gdi = gdi_table_entries();
    for (int index = first; index < last; ++index) {
        std::string path = differential_file_path(folder, index);
        std::string bytes = read_file(path);
        // Every round of the module's ways before the system's: a crash of
        // the system's loader ends the child, and names the way it was in.
        for (int method = 0; method < LOAD_METHODS; ++method)
            for (int round = 0; round < rounds; ++round) {
                printf("AT %d %d\n", index, method);
                fflush(stdout);
                double memory = pagefile_mb();
                double start = now_us();
                HCURSOR cursor = load(path, method);
                double ms = (now_us() - start) / 1000.0;
                double growth = pagefile_mb() - memory;
                Difference difference = cursor && method < MODULE_LOAD_METHODS && round == 0
                                            ? built_as_planned(bytes, MODULE_SCALES[method], cursor)
                                            : SAME;
                if (difference != SAME) {
                    figures.add("unplanned", 1);
                    problem(index, method, "not-as-planned", difference);
                }
                if (cursor)
                    DestroyCursor(cursor);
                long after = gdi_table_entries();
                figures.add("loads", 1);
                if (!cursor)
                    figures.add(failed_figure(method), 1);
                if (!cursor && round == 0)
                    problem(index, method, "no-cursor", 0);
                if (ms > SLOW_LOAD_MS) {
                    figures.add("slow", 1);
                    problem(index, method, "slow-ms", ms);
                }
                if (growth > HUGE_GROWTH_MB) {
                    figures.add("huge", 1);
                    problem(index, method, "growth-mb", growth);
                }
                // The first load of all may set up objects the system keeps.
                if (after > gdi && !(index == first && round == 0)) {
                    figures.add("gdi_growth", 1);
                    problem(index, method, "gdi-objects", static_cast<double>(after - gdi));
                }
                gdi = after;
            }
        printf("%s\n", figures.line().c_str());
        fflush(stdout);
    }
    return 0;
}
