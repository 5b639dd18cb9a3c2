#include "tests/module/module_fixture.h"

#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "host/runtime/screenshot.h"
#include "support/import_hooks.h"

LoadLog module_loads;

namespace {

typedef HANDLE(WINAPI* LoadImageFn)(HINSTANCE, LPCSTR, UINT, int, int, UINT);
typedef HICON(WINAPI* CreateIconFn)(PBYTE, DWORD, BOOL, DWORD, int, int, UINT);
LoadImageFn real_load_image;
CreateIconFn real_create_icon;

void log_load() {
    DWORD now = GetTickCount();
    if (module_loads.calls++ == 0)
        module_loads.first_tick = now;
    module_loads.last_tick = now;
}

HANDLE WINAPI logging_load_image(HINSTANCE instance, LPCSTR name, UINT type, int width,
                                 int height, UINT flags) {
    log_load();
    return real_load_image(instance, name, type, width, height, flags);
}

HICON WINAPI logging_create_icon(PBYTE bytes, DWORD size, BOOL icon, DWORD version, int width,
                                 int height, UINT flags) {
    log_load();
    return real_create_icon(bytes, size, icon, version, width, height, flags);
}

template <typename Fn>
void log_import(HMODULE module, const char* function, Fn replacement, Fn* real) {
    void* original = replace_import(module, "user32.dll", function, reinterpret_cast<void*>(replacement));
    ASSERT_TRUE(original != NULL) << function;
    if (original != reinterpret_cast<void*>(replacement))
        *real = reinterpret_cast<Fn>(original);
}

}  // namespace

void ModuleInHost::SetUp() {
    scratch.reset(new ScratchFolder(with_plugin_folder));
    install_host_code();
    set_host_screen_size(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    set_host_cursor_kind(0);
    set_host_state_flags(0);
    window = create_host_window(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    ASSERT_TRUE(window != NULL);
}

void ModuleInHost::TearDown() {
    // The plug-in has no unload path of its own. With the window gone (its
    // subclass and timer with it) nothing calls into it any more, so its
    // copy in .\plugin can be unloaded and the scratch folder removed.
    if (window)
        DestroyWindow(window);
    window = NULL;
    if (scratch)
        unload_plugin_in(scratch->path());
    scratch.reset();
}

PluginLoad ModuleInHost::start_plugin() {
    EXPECT_TRUE(CopyFileA(built_module_path().c_str(), PLUGIN_MODULE_PATH, FALSE));
    return load_plugin(PLUGIN_MODULE_PATH);
}

HMODULE ModuleInHost::load_plugin_unstarted() {
    EXPECT_TRUE(CopyFileA(built_module_path().c_str(), PLUGIN_MODULE_PATH, FALSE));
    return LoadLibraryA(PLUGIN_MODULE_PATH);
}

PluginLoad ModuleInHost::start_plugin_from_build() {
    return load_plugin(built_module_path().c_str());
}


void ModuleInHost::write_size_setting(const char* value) {
    ASSERT_TRUE(write_file("plugin\\Quillmere.ini",
                           std::string("[Cursor]\r\nSize=") + value + "\r\n"));
}

void ModuleInHost::count_module_loads(HMODULE module) {
    module_loads = LoadLog();
    // Every cursor is built from memory: the module imports no LoadImageA.
    EXPECT_TRUE(replace_import(module, "user32.dll", "LoadImageA",
                               reinterpret_cast<void*>(logging_load_image)) == NULL);
    log_import(module, "CreateIconFromResourceEx", logging_create_icon, &real_create_icon);
}

SIZE ModuleInHost::shown_cursor_size() {
    SIZE size = {-1, -1};
    int width, height;
    if (measure_cursor(ask_for_client_cursor(window), &width, &height)) {
        size.cx = width;
        size.cy = height;
    }
    return size;
}

void ModuleInHost::pump_past_rescale() {
    // The module rescales a second after the last resize; a busy machine may
    // run the timer late.
    const DWORD RESCALE_DELAY_MS = 1000;
    const DWORD LATE_TIMER_LIMIT_MS = 5000;
    EXPECT_TRUE(pump_through_timer(window, RESCALE_DELAY_MS, LATE_TIMER_LIMIT_MS))
        << "a timer of the test's own never fired";
}

void unload_plugin_in(const std::string& folder) {
    char copy[MAX_PATH];
    GetFullPathNameA((folder + "\\" + PLUGIN_MODULE_PATH).c_str(), MAX_PATH, copy, NULL);
    for (HMODULE module; (module = GetModuleHandleA(copy)) != NULL;)
        if (!FreeLibrary(module))
            break;
}

void pump_until_loads(int calls, DWORD timeout_milliseconds) {
    DWORD start = GetTickCount();
    while (module_loads.calls < calls && GetTickCount() - start < timeout_milliseconds)
        pump_messages_for(20);
}
