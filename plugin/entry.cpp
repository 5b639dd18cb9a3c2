#include "plugin/plugin.h"

HMODULE module_handle;
ClientRectFn client_rect_fn = GetClientRect;

namespace {

const char CURSOR_FOLDER[] = ".\\plugin\\Cursors";
const char ANIMATED_CURSOR_FOLDER[] = ".\\plugin\\Cursors\\Animated";

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
        module_handle = instance;
    return TRUE;
}

extern "C" int yrp_init(void) {
    create_cursor_folders();
    resolve_client_rect();
    ShowCursor(TRUE);
    return 0;
}
