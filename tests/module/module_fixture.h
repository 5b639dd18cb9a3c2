// A process laid out like the host, with a real host window, into which the
// real built module is loaded from .\plugin of a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "host/runtime/host_window.h"
#include "host/runtime/plugin_loader.h"
#include "support/scratch_folder.h"

class ModuleInHost : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the built module into .\plugin (unless told not to), loads it
    // and calls yrp_init once.
    PluginLoad start_plugin();
    // Loads the module from the build folder, for folders without .\plugin.
    PluginLoad start_plugin_from_build();
    // Copies the built module into .\plugin and loads it without starting
    // it, so that a test can redirect its imports before call_yrp_init.
    HMODULE load_plugin_unstarted();

    // Writes .\plugin\Quillmere.ini with [Cursor] Size=value.
    void write_size_setting(const char* value);
    // Starts counting the cursors the module builds (its
    // CreateIconFromResourceEx calls; it imports no LoadImageA, which this
    // checks) and their times.
    void count_module_loads(HMODULE module);
    // Size of the cursor the module shows now for the host's current kind,
    // after asking for it as Windows does when the mouse is over the client.
    SIZE shown_cursor_size();
    // Pumps until a rescale armed by now has had its turn: the one-second
    // timer waited for exactly, with no fixed sleep.
    void pump_past_rescale();

    std::unique_ptr<ScratchFolder> scratch;
    bool with_plugin_folder = true;
    HWND window = NULL;
};

// Cursors the module built since count_module_loads, and the tick count of
// the first and last.
struct LoadLog {
    int calls;
    DWORD first_tick;
    DWORD last_tick;
};
extern LoadLog module_loads;

// One full load of the default folder at a scale builds this many cursors:
// one build for each of the 22 base files and the one animated file (missing
// files are never built).
const int LOADS_PER_DEFAULT_SET = 23;

// Unloads the module loaded from `folder`\plugin, however often it was
// loaded, so that the folder can be removed. Nothing may call into it any
// more: its window must be gone.
void unload_plugin_in(const std::string& folder);

// Pumps until the module has built `calls` cursors, or the time is up.
void pump_until_loads(int calls, DWORD timeout_milliseconds);
