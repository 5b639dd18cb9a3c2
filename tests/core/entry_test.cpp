#include <gtest/gtest.h>

#include "base/module_state.h"
#include "plugin/plugin.h"
#include "support/scratch_folder.h"

namespace {

HINSTANCE fake_instance(uintptr_t value) { return reinterpret_cast<HINSTANCE>(value); }

TEST(DllMain, StoresTheHandleOnProcessAttachOnly) {
    HMODULE before = module_handle;
    const DWORD other_reasons[] = {DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH};
    for (DWORD reason : other_reasons) {
        EXPECT_EQ(TRUE, DllMain(fake_instance(0x12340000), reason, NULL)) << reason;
        EXPECT_EQ(before, module_handle) << reason;
    }
    EXPECT_EQ(TRUE, DllMain(fake_instance(0x56780000), DLL_PROCESS_ATTACH, NULL));
    EXPECT_EQ(fake_instance(0x56780000), module_handle);
    DllMain(before, DLL_PROCESS_ATTACH, NULL);
}

TEST(ClientRectFunction, MeasuresThroughTheImportUntilStartUpResolvesIt) {
    // Before start-up the pointer is the import (reached through its thunk).
    ASSERT_TRUE(client_rect_fn != NULL);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 123, 45, NULL, NULL,
                                  NULL, NULL);
    RECT rect = {};
    EXPECT_TRUE(client_rect_fn(window, &rect));
    EXPECT_EQ(123, rect.right);
    EXPECT_EQ(45, rect.bottom);
    EXPECT_FALSE(client_rect_fn(NULL, &rect));

    ScratchFolder scratch;
    yrp_init();
    FARPROC by_name = GetProcAddress(LoadLibraryA("user32.dll"), "GetClientRect");
    EXPECT_EQ(reinterpret_cast<void*>(by_name), reinterpret_cast<void*>(client_rect_fn));
    DestroyWindow(window);
}

}  // namespace
