// The wrapper in a game folder, for the tools: its ddraw.dll read as data
// (never run), its settings beside it. The module never links this file.
#include "wrappers/wrappers.h"

#include <stdio.h>
#include <string.h>

namespace {

const char DIRECT_DRAW_FILE[] = "ddraw.dll";
const char CNC_DDRAW_FILE[] = "ddraw.ini";
// dxwrapper reads <its DLL>-<program>.ini, else <its DLL>.ini
// (Settings/Settings.cpp); beside its stub, its DLL is dxwrapper.dll.
const char DXWRAPPER_FILE[] = "dxwrapper.ini";
const char DXWRAPPER_PROGRAM_FILE[] = "dxwrapper-%s.ini";
const char DGVOODOO_FILE[] = "dgVoodoo.conf";

// `folder`\`file` into `path`; false when it does not fit.
bool joined(const char* folder, const char* file, char* path, int size) {
    size_t length = strlen(folder);
    const char* separator = length && folder[length - 1] != '\\' ? "\\" : "";
    int written = _snprintf(path, size, "%s%s%s", folder, separator, file);
    return written > 0 && written < size;
}

bool file_in_folder(const char* folder, const char* file) {
    char path[MAX_PATH];
    return joined(folder, file, path, sizeof path) &&
           GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

WrapperPicture folder_wrapper_picture(const char* game_folder, const char* program_name,
                                      CncDdrawSettings* cnc) {
    WrapperPicture picture = {};
    picture.kind = WRAPPER_NONE;
    picture.fit = FIT_STRETCH;
    picture.known = true;
    char dll[MAX_PATH], ini_path[MAX_PATH];
    if (!joined(game_folder, DIRECT_DRAW_FILE, dll, sizeof dll) ||
        !joined(game_folder, CNC_DDRAW_FILE, ini_path, sizeof ini_path))
        return picture;
    if (GetFileAttributesA(dll) != INVALID_FILE_ATTRIBUTES) {
        HMODULE module = LoadLibraryExA(dll, NULL, LOAD_LIBRARY_AS_DATAFILE);
        if (module) {
            picture = wrapper_picture_in_folder(module, ini_path, program_name, game_folder, cnc);
            FreeLibrary(module);
        } else {
            picture.kind = WRAPPER_UNKNOWN;
        }
    }
    // dxwrapper may come as another DLL than ddraw.dll, and a DLL may not
    // name itself: their settings files tell.
    bool named = picture.kind != WRAPPER_NONE && picture.kind != WRAPPER_UNKNOWN;
    char program_file[MAX_PATH];
    int written =
        _snprintf(program_file, sizeof program_file, DXWRAPPER_PROGRAM_FILE, program_name);
    bool program_file_there = written > 0 && written < static_cast<int>(sizeof program_file) &&
                              file_in_folder(game_folder, program_file);
    if (!named && (program_file_there || file_in_folder(game_folder, DXWRAPPER_FILE)))
        picture.kind = WRAPPER_DXWRAPPER;
    else if (picture.kind == WRAPPER_UNKNOWN && file_in_folder(game_folder, DGVOODOO_FILE))
        picture.kind = WRAPPER_DGVOODOO;
    return picture;
}

WrapperPreview preview_wrapper(const char* game_folder, const char* program_name, int width,
                               int height, int mode_width, int mode_height) {
    WrapperPicture picture = folder_wrapper_picture(game_folder, program_name, NULL);
    WrapperPreview preview = {picture.kind, width, height, 0.0f};
    RECT rect;
    if (picture.kind == WRAPPER_CNC_DDRAW &&
        picture_rect(picture, width, height, mode_width, mode_height, &rect)) {
        preview.picture_width = rect.right - rect.left;
        preview.picture_height = rect.bottom - rect.top;
    }
    preview.cursor_scale = wrapper_cursor_scale(picture, width, height, mode_width, mode_height);
    return preview;
}
