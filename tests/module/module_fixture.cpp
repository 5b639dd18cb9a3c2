#include "tests/module/module_fixture.h"

#include "host/host_state.h"
#include "host/host_window.h"

void ModuleInHost::SetUp() {
    scratch.reset(new ScratchFolder(with_plugin_folder));
    set_host_screen_size(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    set_host_cursor_kind(0);
    set_host_state_flags(0);
    window = create_host_window(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    ASSERT_TRUE(window != NULL);
}

void ModuleInHost::TearDown() {
    // The plug-in has no unload path: the process ends after each test.
    scratch.reset();
}

PluginLoad ModuleInHost::start_plugin() {
    EXPECT_TRUE(CopyFileA(built_module_path().c_str(), PLUGIN_MODULE_PATH, FALSE));
    return load_plugin(PLUGIN_MODULE_PATH);
}

PluginLoad ModuleInHost::start_plugin_from_build() {
    return load_plugin(built_module_path().c_str());
}

void pump_messages_for(DWORD milliseconds) {
    DWORD start = GetTickCount();
    MSG message;
    do {
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}
