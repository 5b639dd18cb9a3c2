// Start-up of the real module in a host-like process.
#include "tests/module/module_fixture.h"

namespace {

TEST_F(ModuleInHost, CreatesBothCursorFolders) {
    PluginLoad plugin = start_plugin();
    ASSERT_TRUE(plugin.initialised);
    EXPECT_TRUE(folder_exists("plugin\\Cursors"));
    EXPECT_TRUE(folder_exists("plugin\\Cursors\\Animated"));
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
