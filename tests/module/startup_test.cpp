// Start-up of the real module in a host-like process.
#include "host/host_window.h"
#include "tests/module/module_fixture.h"

namespace {

TEST_F(ModuleInHost, CreatesBothCursorFolders) {
    PluginLoad plugin = start_plugin();
    ASSERT_TRUE(plugin.initialised);
    EXPECT_TRUE(folder_exists("plugin\\Cursors"));
    EXPECT_TRUE(folder_exists("plugin\\Cursors\\Animated"));
}

typedef int(__cdecl* InitFn)(void);

// In automatic mode with a window that can be measured, start-up loads the
// cursors once, at the window's scale.
TEST_F(ModuleInHost, AutomaticModeLoadsOnceAtTheWindowsScale) {
    set_client_size(window, 1280, 960);
    ASSERT_TRUE(CopyFileA(built_module_path().c_str(), PLUGIN_MODULE_PATH, FALSE));
    HMODULE module = LoadLibraryA(PLUGIN_MODULE_PATH);
    ASSERT_TRUE(module != NULL);
    count_module_loads(module);
    InitFn init = reinterpret_cast<InitFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "yrp_init")));
    ASSERT_TRUE(init != NULL);
    init();
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, module_loads.calls);
    EXPECT_EQ(64, shown_cursor_size().cx);
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
