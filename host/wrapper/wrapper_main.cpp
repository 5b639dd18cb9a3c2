// The wrapper's loading: its settings and the first rewriting of imports.
#include <string.h>

#include "host/wrapper/wrapper.h"

WrapperState wrapper;

namespace {

bool read_flag(const char* path, const char* key, bool fallback) {
    char value[16];
    GetPrivateProfileStringA("ddraw", key, fallback ? "true" : "false", value, sizeof value, path);
    return _stricmp(value, "true") == 0 || strcmp(value, "1") == 0 || _stricmp(value, "yes") == 0;
}

}  // namespace

void read_wrapper_settings() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    while (length > 0 && path[length - 1] != '\\')
        --length;
    lstrcpynA(path + length, "ddraw.ini", MAX_PATH - length);
    WrapperSettings& settings = wrapper.settings;
    settings.windowed = read_flag(path, "windowed", false);
    settings.borderless = read_flag(path, "fullscreen", false);
    settings.width = GetPrivateProfileIntA("ddraw", "width", 0, path);
    settings.height = GetPrivateProfileIntA("ddraw", "height", 0, path);
    settings.hook = GetPrivateProfileIntA("ddraw", "hook", HOOK_GAME_FOLDER, path);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wrapper.self = instance;
        read_wrapper_settings();
        rewrite_game_imports();
    }
    return TRUE;
}
