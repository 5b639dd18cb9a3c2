// One full load of both cursor sets against the bare sequence a plain loader
// would make for the same 44 slot files: a GetFileAttributesA, a probe at the
// file's own size and a load at the scaled size for each (missing files
// included), destroying each probe and each replaced handle.
#include "bench/bench.h"

#include <stdio.h>

#include "cursors/cursor_file.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "host/runtime/host_state.h"
#include "support/cursor_builders.h"
#include "support/scratch_folder.h"

namespace {

const int SLOT_FILES = 44;

std::string slot_path(int index) {
    char path[MAX_PATH];
    if (index < 22)
        snprintf(path, sizeof path, ".\\plugin\\Cursors\\cursor%d.ani", index);
    else
        snprintf(path, sizeof path, ".\\plugin\\Cursors\\Animated\\cursor%d.ani", index - 22);
    return path;
}

HCURSOR load(const std::string& path, int width, int height) {
    return static_cast<HCURSOR>(
        LoadImageA(NULL, path.c_str(), IMAGE_CURSOR, width, height, LR_LOADFROMFILE));
}

struct Variant {
    const char* what;
    bool cur_files;  // single-image cursor files in place of the defaults
    float scale;
    const char* target;
};

class BareLoader {
public:
    explicit BareLoader(float scale) {
        for (int i = 0; i < SLOT_FILES; ++i) {
            paths_[i] = slot_path(i);
            width_[i] = height_[i] = 0;
            HCURSOR probe = load(paths_[i], 0, 0);
            int width = 0, height = 0;
            if (probe && probe_cursor_size(probe, &width, &height)) {
                width_[i] = requested_side(width, scale);
                height_[i] = requested_side(height, scale);
            }
            if (probe)
                DestroyCursor(probe);
            held_[i] = NULL;
        }
    }
    ~BareLoader() {
        for (HCURSOR cursor : held_)
            if (cursor)
                DestroyCursor(cursor);
    }
    void run() {
        for (int i = 0; i < SLOT_FILES; ++i) {
            GetFileAttributesA(paths_[i].c_str());
            if (HCURSOR probe = load(paths_[i], 0, 0))
                DestroyCursor(probe);
            if (HCURSOR cursor = load(paths_[i], width_[i], height_[i])) {
                if (held_[i])
                    DestroyCursor(held_[i]);
                held_[i] = cursor;
            }
        }
    }

private:
    std::string paths_[SLOT_FILES];
    int width_[SLOT_FILES], height_[SLOT_FILES];
    HCURSOR held_[SLOT_FILES];
};

// Parts of a load, in microseconds, each slot file read and taken through
// the module's steps: parsing and planning, decoding, rendering, emitting.
StepTimes time_parts(float scale) {
    StepTimes sum = {0, 0, 0, 0, 0, true};
    for (int i = 0; i < SLOT_FILES; ++i) {
        CursorFile file;
        if (!open_cursor_file(slot_path(i).c_str(), &file))
            continue;
        StepTimes steps =
            time_steps(std::string(reinterpret_cast<const char*>(file.bytes), file.size), scale);
        close_cursor_file(&file);
        sum.parse += steps.parse;
        sum.plan += steps.plan;
        sum.decode += steps.decode;
        sum.render += steps.render;
        sum.emit += steps.emit;
    }
    return sum;
}

void prepare_files(bool cur_files) {
    for (int i = 0; i < SLOT_FILES; ++i)
        DeleteFileA(slot_path(i).c_str());
    load_cursor_set(0.0f);  // writes the defaults
    if (cur_files)
        for (int i = 0; i < SLOT_FILES; ++i)
            if (GetFileAttributesA(slot_path(i).c_str()) != INVALID_FILE_ATTRIBUTES)
                write_file(slot_path(i), make_cur(32, 32, 16, 16));
}

}  // namespace

void bench_cursor_loading(const Settings& settings, Table* table) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
    set_host_cursor_kind(0);
    set_host_state_flags(0);
    // Every file is read once, parsed, planned, and made into a cursor of the
    // module's own at the size shown, animated or not.
    const Variant variants[] = {
        {"default files (animated) at 0.0, native size", false, 0.0f, "<= 0.6"},
        {"default files (animated) at 2.0", false, 2.0f, "<= 0.6"},
        {"default files (animated) at 3.0", false, 3.0f, "<= 0.6"},
        {"single-image cursor files at 0.0, native size", true, 0.0f, "<= 0.6"},
        {"single-image cursor files at 2.0", true, 2.0f, "<= 0.6"},
        {"single-image cursor files at 3.0", true, 3.0f, "<= 0.6"},
    };
    for (const Variant& variant : variants) {
        prepare_files(variant.cur_files);
        load_cursor_set(variant.scale);  // warm: files cached, tables filled
        BareLoader bare(variant.scale);
        bare.run();
        std::vector<double> module_times, bare_times, parsing, decoding, rendering, emitting;
        for (int round = 0; round < settings.rounds; ++round) {
            // Alternate which goes first, so neither always meets a warmer system.
            for (int turn = 0; turn < 2; ++turn) {
                double start = now_us();
                if ((round + turn) % 2)
                    bare.run();
                else
                    load_cursor_set(variant.scale);
                ((round + turn) % 2 ? bare_times : module_times).push_back(now_us() - start);
            }
            StepTimes parts = time_parts(variant.scale);
            parsing.push_back(parts.parse + parts.plan);
            decoding.push_back(parts.decode);
            rendering.push_back(parts.render);
            emitting.push_back(parts.emit);
        }
        double ratio = median(module_times) / median(bare_times);
        table->push_back({format("load_cursor_set / bare sequence (44 GetFileAttributesA, 88 "
                                 "LoadImageA): %s",
                                 variant.what),
                          format("%.3f (%.1f / %.1f ms)", ratio, median(module_times) / 1000.0,
                                 median(bare_times) / 1000.0),
                          variant.target});
        table->push_back({format("  of which, the 44 files at %s: parsing and planning / decoding / "
                                 "rendering / emitting",
                                 variant.what),
                          format("%.2f / %.2f / %.2f / %.2f ms", median(parsing) / 1000.0,
                                 median(decoding) / 1000.0, median(rendering) / 1000.0,
                                 median(emitting) / 1000.0),
                          "(figure)"});
    }
}
