// The wrapper's loading: its settings and the first rewriting of imports.
#include <stdlib.h>
#include <string.h>

#include "host/wrapper/wrapper.h"

WrapperState wrapper;

namespace {

const int VALUE_SIZE = 16;

struct SettingsFile {
    char path[MAX_PATH];
    char program[MAX_PATH];  // the section named after the game's program
};

// The program's section's value, or [ddraw]'s, or `fallback`.
void read_value(const SettingsFile& file, const char* key, const char* fallback, char* value) {
    if (GetPrivateProfileStringA(file.program, key, "", value, VALUE_SIZE, file.path) > 0)
        return;
    GetPrivateProfileStringA("ddraw", key, fallback, value, VALUE_SIZE, file.path);
}

bool read_flag(const SettingsFile& file, const char* key, bool fallback) {
    char value[VALUE_SIZE];
    read_value(file, key, fallback ? "true" : "false", value);
    return _stricmp(value, "true") == 0 || strcmp(value, "1") == 0 || _stricmp(value, "yes") == 0;
}

int read_number(const SettingsFile& file, const char* key, int fallback) {
    char value[VALUE_SIZE];
    read_value(file, key, "", value);
    return value[0] ? atoi(value) : fallback;
}

}  // namespace

void read_wrapper_settings() {
    SettingsFile file;
    DWORD length = GetModuleFileNameA(NULL, file.path, MAX_PATH);
    while (length > 0 && file.path[length - 1] != '\\')
        --length;
    lstrcpynA(file.program, file.path + length, MAX_PATH);
    char* dot = strrchr(file.program, '.');
    if (dot)
        *dot = 0;
    lstrcpynA(file.path + length, "ddraw.ini", MAX_PATH - length);
    WrapperSettings& settings = wrapper.settings;
    settings.windowed = read_flag(file, "windowed", false);
    settings.borderless = read_flag(file, "fullscreen", false);
    settings.width = read_number(file, "width", 0);
    settings.height = read_number(file, "height", 0);
    settings.hook = read_number(file, "hook", HOOK_GAME_FOLDER);
    settings.boxing = read_flag(file, "boxing", false);
    settings.maintas = read_flag(file, "maintas", false);
    settings.adjmouse = read_flag(file, "adjmouse", true);
    char ratio[VALUE_SIZE];
    read_value(file, "aspect_ratio", "", ratio);
    settings.toggle_upscaled = read_flag(file, "toggle_upscaled", false);
    // A number, any one character, a number; any text keeps the aspect.
    settings.aspect_x = settings.aspect_y = 0;
    if (ratio[0]) {
        settings.maintas = true;
        char* end = ratio;
        unsigned long across = strtoul(ratio, &end, 0);
        unsigned long down = *end ? strtoul(end + 1, NULL, 0) : 0;
        const unsigned long LARGEST = 65535;
        if (across && down && across <= LARGEST && down <= LARGEST) {
            settings.aspect_x = static_cast<int>(across);
            settings.aspect_y = static_cast<int>(down);
        }
    }
    if (draws_game_cursor()) {
        // What it stands in for keeps the picture's shape on the whole screen.
        settings.windowed = settings.borderless = true;
        settings.maintas = true;
        settings.boxing = false;
    }
}

bool draws_game_cursor() {
#ifdef DRAWS_GAME_CURSOR
    return true;
#else
    return false;
#endif
}

int drawn_cursor_side() {
#ifdef DRAWN_CURSOR_SIDE
    return DRAWN_CURSOR_SIDE;
#else
    return 0;
#endif
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wrapper.self = instance;
        BYTE and_plane = 0xFF, xor_plane = 0;
        wrapper.empty_cursor = CreateCursor(instance, 0, 0, 1, 1, &and_plane, &xor_plane);
        read_wrapper_settings();
        rewrite_game_imports();
    }
    return TRUE;
}
