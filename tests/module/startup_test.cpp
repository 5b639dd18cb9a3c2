// Start-up of the real module in a host-like process.
#include "host/runtime/host_window.h"
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
