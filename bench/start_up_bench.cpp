// yrp_init of the real module on a first run (empty cursor folders: the
// defaults are written) and on a warm run (the files are there), each in a
// fresh host process, in automatic mode with a 1280x960 client area: the
// share spent loading cursors, the cursors built (CreateIconFromResourceEx
// calls), and the loading against one load of the
// same files at the same scale. A load starts with the first file opened and
// ends with the SetCursor that shows its cursor: the module's imports mark
// both.
#include "bench/bench.h"

#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "host/runtime/plugin_loader.h"
#include "support/child_process.h"
#include "support/import_hooks.h"
#include "support/malformed_corpus.h"
#include "support/scratch_folder.h"
#include "window/cursor_window.h"

namespace {

// Automatic mode at 1280x960 on the 640x480 host screen.
const float START_UP_SCALE = 2.0f;
// Reloads after start-up, the old set alive beside the new one each time:
// the process's peak memory is read after them.
const int RELOADS = 3;

typedef HCURSOR(WINAPI* SetCursorFn)(HCURSOR);

SetCursorFn real_set_cursor;
typedef HANDLE(WINAPI* CreateFileFn)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
CreateFileFn real_create_file;
double load_started, loading_us;
int loads;

typedef HICON(WINAPI* FromResourceFn)(PBYTE, DWORD, BOOL, DWORD, int, int, UINT);
FromResourceFn real_from_resource;
int builds;

HICON WINAPI counting_from_resource(PBYTE bytes, DWORD size, BOOL icon, DWORD version, int width,
                                    int height, UINT flags) {
    builds++;
    return real_from_resource(bytes, size, icon, version, width, height, flags);
}

// A load of the cursor sets runs from its first cursor file opened to the
// SetCursor that shows the loaded cursor.
HCURSOR WINAPI marking_set_cursor(HCURSOR cursor) {
    if (load_started > 0.0) {
        loading_us += now_us() - load_started;
        load_started = 0.0;
        loads++;
    }
    return real_set_cursor(cursor);
}

HANDLE WINAPI marking_create_file(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                  DWORD disposition, DWORD flags, HANDLE template_file) {
    if (load_started == 0.0)
        load_started = now_us();
    return real_create_file(name, access, share, security, disposition, flags, template_file);
}

std::string temp_folder(const char* name) {
    char temp[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    snprintf(path, sizeof path, "%squillmere-bench-%lu-%s", temp, GetCurrentProcessId(), name);
    return path;
}

// A game folder with the module in .\plugin and nothing else.
std::string game_folder(const char* name) {
    std::string folder = temp_folder(name);
    remove_tree(folder);
    CreateDirectoryA(folder.c_str(), NULL);
    CreateDirectoryA((folder + "\\plugin").c_str(), NULL);
    CopyFileA(module_path().c_str(), (folder + "\\plugin\\Quillmere.yrp").c_str(), FALSE);
    return folder;
}

struct StartUp {
    double total_us, loading_us;
    int loads, builds;
    double reload_us, peak_mb;
};

bool parse(const std::string& output, StartUp* start_up) {
    size_t at = output.find("START-UP ");
    return at != std::string::npos &&
           sscanf(output.c_str() + at,
                  "START-UP total_us=%lf loading_us=%lf loads=%d builds=%d reload_us=%lf peak_mb=%lf",
                  &start_up->total_us, &start_up->loading_us, &start_up->loads, &start_up->builds,
                  &start_up->reload_us, &start_up->peak_mb) == 6;
}

// One load of the files in `folder` at `scale` by the module's code in this
// process, the median of `rounds` after a first one.
double one_load_us(const std::string& folder, float scale, int rounds) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(folder.c_str());
    load_cursor_set(scale);
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        double start = now_us();
        load_cursor_set(scale);
        times.push_back(now_us() - start);
    }
    SetCurrentDirectoryA(previous);
    return median(times);
}

}  // namespace

int child_start_up() {
    install_host_code();
    set_host_screen_size(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    HWND window = create_host_window(2 * HOST_SCREEN_WIDTH, 2 * HOST_SCREEN_HEIGHT);
    HMODULE module = LoadLibraryA(".\\plugin\\Quillmere.yrp");
    if (!window || !module)
        return 1;
    real_set_cursor = reinterpret_cast<SetCursorFn>(
        replace_import(module, "user32.dll", "SetCursor", reinterpret_cast<void*>(marking_set_cursor)));
    real_create_file = reinterpret_cast<CreateFileFn>(replace_import(
        module, "kernel32.dll", "CreateFileA", reinterpret_cast<void*>(marking_create_file)));
    real_from_resource = reinterpret_cast<FromResourceFn>(
        replace_import(module, "user32.dll", "CreateIconFromResourceEx",
                       reinterpret_cast<void*>(counting_from_resource)));
    if (!real_set_cursor || !real_create_file || !real_from_resource)
        return 1;
    double start = now_us();
    int result;
    if (!call_yrp_init(module, &result))
        return 1;
    double total = now_us() - start;
    double start_up_loading = loading_us;
    int start_up_loads = loads, start_up_builds = builds;
    // Reloads as the window's timer makes them, at the same client size;
    // the first timed.
    double reload = 0.0;
    for (int i = 0; i < RELOADS; ++i) {
        start = now_us();
        SendMessageA(window, WM_TIMER, RESCALE_TIMER_ID, 0);
        if (i == 0)
            reload = now_us() - start;
    }
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    printf("START-UP total_us=%.1f loading_us=%.1f loads=%d builds=%d reload_us=%.1f peak_mb=%.1f\n",
           total, start_up_loading, start_up_loads, start_up_builds, reload,
           static_cast<double>(memory.PeakPagefileUsage) / (1024.0 * 1024.0));
    return 0;
}

// A game folder whose 22 base slot files are hostile: the robustness
// suite's costly and hostile files of 64 KiB and more, then files that each
// spend a large share of a load.
std::string hostile_folder() {
    std::string folder = game_folder("hostile");
    CreateDirectoryA((folder + "\\plugin\\Cursors").c_str(), NULL);
    CreateDirectoryA((folder + "\\plugin\\Cursors\\Animated").c_str(), NULL);
    std::vector<std::string> files = hostile_files();
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\plugin\\Cursors\\cursor%d.ani", folder.c_str(), slot);
        write_file(path, slot < static_cast<int>(files.size()) ? files[slot] : budget_spending_file());
    }
    return folder;
}

// A game folder whose 22 base slot files together spend the whole of a
// load at their own size: small files, each within every limit of one file.
std::string budget_folder() {
    std::string folder = game_folder("budget");
    CreateDirectoryA((folder + "\\plugin\\Cursors").c_str(), NULL);
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\plugin\\Cursors\\cursor%d.ani", folder.c_str(), slot);
        write_file(path, budget_spending_file());
    }
    return folder;
}

void bench_start_up(const Settings& settings, Table* table) {
    std::vector<double> first_total, first_share, warm_total, warm_share, warm_loading;
    std::vector<double> warm_loads, warm_builds, hostile_total, hostile_reload, hostile_peak;
    std::vector<double> budget_peak;
    std::string warm = game_folder("warm");
    std::string hostile = hostile_folder();
    std::string budget = budget_folder();
    run_self_in("--child-start-up", warm);  // writes the defaults once
    for (int run = 0; run < settings.init_runs; ++run) {
        std::string first = game_folder("first");
        StartUp start_up;
        if (parse(run_self_in("--child-start-up", first), &start_up)) {
            first_total.push_back(start_up.total_us);
            first_share.push_back(start_up.loading_us / start_up.total_us);
        }
        remove_tree(first);
        if (parse(run_self_in("--child-start-up", warm), &start_up)) {
            warm_total.push_back(start_up.total_us);
            warm_share.push_back(start_up.loading_us / start_up.total_us);
            warm_loading.push_back(start_up.loading_us);
            warm_loads.push_back(start_up.loads);
            warm_builds.push_back(start_up.builds);
        }
        if (parse(run_self_in("--child-start-up", hostile), &start_up)) {
            hostile_total.push_back(start_up.total_us);
            hostile_reload.push_back(start_up.reload_us);
            hostile_peak.push_back(start_up.peak_mb);
        }
        if (parse(run_self_in("--child-start-up", budget), &start_up))
            budget_peak.push_back(start_up.peak_mb);
    }
    remove_tree(hostile);
    remove_tree(budget);
    double one_load = one_load_us(warm, START_UP_SCALE, settings.rounds);
    remove_tree(warm);
    const char* setting = "client 1280x960 on a 640x480 host screen: one load, at 2.0";
    table->push_back({format("yrp_init, first run (23 defaults written; %s)", setting),
                      format("%.1f ms, %.0f %% in cursor loading", median(first_total) / 1000.0,
                             100.0 * median(first_share)),
                      "(figure)"});
    table->push_back({"yrp_init, warm run (the files are there)",
                      format("%.1f ms, %.0f %% in cursor loading", median(warm_total) / 1000.0,
                             100.0 * median(warm_share)),
                      "(figure)"});
    table->push_back({"yrp_init, warm run: cursors built (CreateIconFromResourceEx calls), and "
                      "its cursor loading / one load_cursor_set of the same files at 2.0",
                      format("%.0f builds in %.0f load(s); %.3f (%.1f / %.1f ms)",
                             median(warm_builds), median(warm_loads),
                             median(warm_loading) / one_load, median(warm_loading) / 1000.0,
                             one_load / 1000.0),
                      "<= 23 builds; <= 1.1"});
    table->push_back({"yrp_init with 22 hostile files in the cursor folder (costly, hostile, "
                      "spending the load); then three reloads, the first timed; the process's "
                      "peak memory",
                      format("%.1f ms; %.1f ms; %.1f MB", median(hostile_total) / 1000.0,
                             median(hostile_reload) / 1000.0, median(hostile_peak)),
                      "<= 2000 ms; <= 1000 ms; < 200 MB"});
    table->push_back({"yrp_init with a pack spending the whole load at its own size (22 small "
                      "files of 48 frames of 256x256), then three reloads: the process's peak "
                      "memory",
                      format("%.1f MB", median(budget_peak)), "< 200 MB"});
}

std::string module_path() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string self(path, length);
    return self.substr(0, self.find_last_of("\\/")) + "\\..\\plugin\\Quillmere.yrp";
}

std::string run_self_in(const std::string& arguments, const std::string& folder) {
    return run_child(self_command(arguments), folder).output;
}
