// yrp_init of the real module on a first run (empty cursor folders: the
// defaults are written) and on a warm run (the files are there), each in a
// fresh host process, and the share of it spent loading cursors. A load
// starts with SetCursor(null) and ends with the next SetCursor: the module's
// SetCursor import marks both.
#include "bench/bench.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host/runtime/host_code.h"
#include "tests/support/child_process.h"
#include "host/runtime/host_state.h"
#include "host/runtime/plugin_loader.h"
#include "host/runtime/host_window.h"
#include "tests/support/import_hooks.h"
#include "tests/support/scratch_folder.h"

namespace {

typedef HCURSOR(WINAPI* SetCursorFn)(HCURSOR);

SetCursorFn real_set_cursor;
typedef HANDLE(WINAPI* CreateFileFn)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
CreateFileFn real_create_file;
double load_started, loading_us;
int loads;

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
};

bool parse(const std::string& output, StartUp* start_up) {
    size_t at = output.find("START-UP ");
    return at != std::string::npos &&
           sscanf(output.c_str() + at, "START-UP total_us=%lf loading_us=%lf", &start_up->total_us,
                  &start_up->loading_us) == 2;
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
    if (!real_set_cursor || !real_create_file)
        return 1;
    double start = now_us();
    int result;
    if (!call_yrp_init(module, &result))
        return 1;
    double total = now_us() - start;
    printf("START-UP total_us=%.1f loading_us=%.1f loads=%d\n", total, loading_us, loads);
    return 0;
}

void bench_start_up(const Settings& settings, Table* table) {
    std::vector<double> first_total, first_share, warm_total, warm_share;
    std::string warm = game_folder("warm");
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
        }
    }
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
