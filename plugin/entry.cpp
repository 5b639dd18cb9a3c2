#include "plugin/plugin.h"

#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "patching/host_patch_set.h"
#include "scaling/cursor_scaling.h"
#include "window/cursor_window.h"

namespace {

void create_cursor_folders() {
    // Existing folders are fine; without .\plugin neither can be made, and
    // the later stages run all the same.
    CreateDirectoryA(CURSOR_FOLDER, NULL);
    CreateDirectoryA(ANIMATED_CURSOR_FOLDER, NULL);
}

void resolve_client_rect() {
    HMODULE user32 = LoadLibraryA("user32.dll");
    FARPROC found = user32 ? GetProcAddress(user32, "GetClientRect") : NULL;
    // Never store a null pointer: keep the imported function instead.
    if (found)
        client_rect_fn = reinterpret_cast<ClientRectFn>(reinterpret_cast<void*>(found));
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        attach_module(instance);
    return TRUE;
}

extern "C" int yrp_init(void) {
    // The host calls this once. A second call would subclass the window again
    // (its procedure would then pass messages to itself) and divert the hooks
    // to themselves: it does nothing and returns the first call's result.
    static bool started;
    static int first_result;
    if (started)
        return first_result;
    started = true;

    create_cursor_folders();
    resolve_client_rect();
    load_cursors_at_start();
    ShowCursor(TRUE);
    subclass_host_window();
    first_result = apply_host_patch_set();
    return first_result;
}
