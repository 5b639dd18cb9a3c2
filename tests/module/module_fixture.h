// A process laid out like the host, with a real host window, into which the
// real built module is loaded from .\plugin of a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "host/plugin_loader.h"
#include "tests/support/scratch_folder.h"

class ModuleInHost : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the built module into .\plugin (unless told not to), loads it
    // and calls yrp_init once.
    PluginLoad start_plugin();
    // Loads the module from the build folder, for folders without .\plugin.
    PluginLoad start_plugin_from_build();

    std::unique_ptr<ScratchFolder> scratch;
    bool with_plugin_folder = true;
    HWND window = NULL;
};

// Pumps the thread's messages for about the given time.
void pump_messages_for(DWORD milliseconds);
