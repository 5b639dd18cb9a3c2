// Start-up of the real module in a host-like process.
#include <string.h>

#include "host/runtime/host_window.h"
#include "support/import_hooks.h"
#include "tests/module/module_fixture.h"

namespace {

TEST_F(ModuleInHost, CreatesBothCursorFolders) {
    PluginLoad plugin = start_plugin();
    ASSERT_TRUE(plugin.initialised);
    EXPECT_TRUE(folder_exists("plugin\\Cursors"));
    EXPECT_TRUE(folder_exists("plugin\\Cursors\\Animated"));
}

// In automatic mode with a window that can be measured, start-up loads the
// cursors once, at the window's scale.
TEST_F(ModuleInHost, AutomaticModeLoadsOnceAtTheWindowsScale) {
    set_client_size(window, 1280, 960);
    HMODULE module = load_plugin_unstarted();
    ASSERT_TRUE(module != NULL);
    count_module_loads(module);
    int result;
    ASSERT_TRUE(call_yrp_init(module, &result));
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, module_loads.calls);
    EXPECT_EQ(64, shown_cursor_size().cx);
}

// What a DirectDraw wrapper beside the game hands the module: the game's
// screen for its window, from the rewritten import and from GetProcAddress.
BOOL WINAPI reports_the_game_screen(HWND, LPRECT rect) {
    SetRect(rect, 0, 0, HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    return TRUE;
}

FARPROC WINAPI hands_out_the_fake(HMODULE module, LPCSTR name) {
    if (HIWORD(name) && strcmp(name, "GetClientRect") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(reports_the_game_screen));
    return GetProcAddress(module, name);
}

int game_show_cursor_calls;
BOOL game_show_cursor_argument;
int WINAPI counted_by_the_game(BOOL show) {
    ++game_show_cursor_calls;
    game_show_cursor_argument = show;
    return show ? 0 : -1;
}

TEST_F(ModuleInHost, MeasuresTheRealClientAreaPastRewrittenImports) {
    set_client_size(window, 1280, 960);
    HMODULE module = load_plugin_unstarted();
    ASSERT_TRUE(module != NULL);
    const char* user32_fakes[] = {"GetClientRect", "GetWindowRect"};
    for (const char* name : user32_fakes)
        replace_import(module, "user32.dll", name, reinterpret_cast<void*>(reports_the_game_screen));
    replace_import(module, "kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(hands_out_the_fake));
    int result;
    ASSERT_TRUE(call_yrp_init(module, &result));
    EXPECT_EQ(64, shown_cursor_size().cx);

    // Every rescale measures the same way.
    count_module_loads(module);
    set_client_size(window, 1600, 900);
    pump_until_loads(LOADS_PER_DEFAULT_SET, 4000);
    EXPECT_EQ(60, shown_cursor_size().cx);
}

// The display count is raised through the game program's own ShowCursor
// import, where a wrapper that keeps the game's count sees it.
TEST_F(ModuleInHost, RaisesTheDisplayCountThroughTheGamesImport) {
    // Taking the address makes this program import ShowCursor as the game does.
    int(WINAPI* volatile system_show_cursor)(BOOL) = ShowCursor;
    ASSERT_TRUE(system_show_cursor != NULL);
    void* original = replace_import(GetModuleHandleA(NULL), "user32.dll", "ShowCursor",
                                    reinterpret_cast<void*>(counted_by_the_game));
    ASSERT_TRUE(original != NULL);
    PluginLoad plugin = start_plugin();
    replace_import(GetModuleHandleA(NULL), "user32.dll", "ShowCursor", original);
    ASSERT_TRUE(plugin.initialised);
    EXPECT_EQ(1, game_show_cursor_calls);
    EXPECT_EQ(TRUE, game_show_cursor_argument);
}

class ModuleWithoutPluginFolder : public ModuleInHost {
protected:
    void SetUp() override {
        with_plugin_folder = false;
        ModuleInHost::SetUp();
    }
};

TEST_F(ModuleWithoutPluginFolder, CreatesNoFolderAndCarriesOn) {
    PluginLoad plugin = start_plugin_from_build();
    ASSERT_TRUE(plugin.initialised);
    EXPECT_FALSE(folder_exists("plugin"));
    EXPECT_FALSE(folder_exists("plugin\\Cursors"));
}

}  // namespace
