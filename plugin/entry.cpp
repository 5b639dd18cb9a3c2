#include "plugin/plugin.h"

#include "base/module_state.h"
#include "base/system_functions.h"
#include "cursors/cursor_build.h"
#include "cursors/cursor_loader.h"
#include "patching/host_patch_set.h"
#include "scaling/cursor_scaling.h"
#include "settings/edge_setting.h"
#include "window/cursor_window.h"

namespace {

void create_cursor_folders() {
    // Existing folders are fine; without .\plugin neither can be made, and
    // the later stages run all the same.
    CreateDirectoryA(CURSOR_FOLDER, NULL);
    CreateDirectoryA(ANIMATED_CURSOR_FOLDER, NULL);
}

typedef int(WINAPI* ShowCursorFn)(BOOL show);

// Raises the display count through the game program's own import of
// ShowCursor: a DirectDraw wrapper that rewrote it keeps a count of the
// game's own, and sets the system's count to that one when it takes the
// pointer; a raise it never saw would leave the pointer hidden in play.
// Without such an import (or a wrapper) it is the system's ShowCursor.
void show_cursor_as_the_game_does() {
    ShowCursorFn show = reinterpret_cast<ShowCursorFn>(
        find_import(GetModuleHandleA(NULL), "user32.dll", "ShowCursor"));
    if (!show)
        show = ShowCursor;
    show(TRUE);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH)
        attach_module(instance);
    // Unloaded while the process goes on (FreeLibrary): its pixel memory goes
    // with it. At process exit the system takes everything anyway.
    else if (reason == DLL_PROCESS_DETACH && !reserved)
        free_pixel_memory();
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
    cursor_edges = read_edges_setting();
    resolve_size_functions();
    load_cursors_at_start();
    show_cursor_as_the_game_does();
    subclass_host_window();
    first_result = apply_host_patch_set();
    return first_result;
}
