// Which wrapper is beside the game, from the version resource each wrapper
// carries, and the picture it shows with its settings (cnc_ddraw_settings.cpp
// reads cnc-ddraw's).
#include "wrappers/wrappers.h"

#include <string.h>

#include "base/system_functions.h"

namespace {

const char CNC_DDRAW_FILE[] = "ddraw.ini";
const char CNC_DDRAW_CONFIG_VARIABLE[] = "CNC_DDRAW_CONFIG_FILE";
// DDrawCompat draws the cursor into the frame from 0.4.0 on
// (D3dDdi/ShaderBlitter.cpp, cursorBlt), and from 0.5.0 on first makes it a
// 32x32 copy (D3dDdi/SurfaceRepository.cpp, getCursor: CopyImage(cursor,
// IMAGE_CURSOR, 32, 32, LR_COPYRETURNORG | LR_COPYFROMRESOURCE)).
const WrapperRelease DDRAWCOMPAT_DRAWS_CURSOR = wrapper_release(0, 4, 0, 0);
const WrapperRelease DDRAWCOMPAT_RESAMPLES_CURSOR = wrapper_release(0, 5, 0, 0);
const int DDRAWCOMPAT_CURSOR_SIDE = 32;
const DWORD FIXED_INFO_SIGNATURE = 0xFEEF04BD;
const DWORD FIXED_INFO_SEARCH_BYTES = 128;

struct KnownProduct {
    const char* name;  // the start of its ProductName
    WrapperKind kind;
};

const KnownProduct PRODUCTS[] = {
    {"cnc-ddraw", WRAPPER_CNC_DDRAW},
    {"DDrawCompat", WRAPPER_DDRAWCOMPAT},
    {"DxWrapper", WRAPPER_DXWRAPPER},  // its stub ("DxWrapper Stub")
    // dxwrapper's own DLL (Dllmain/dxwrapper.h, APP_NAME).
    {"DirectX Dynamic Link Library", WRAPPER_DXWRAPPER},
    {"dgVoodoo", WRAPPER_DGVOODOO},
};

// A file name's characters without its folder and extension (_splitpath's
// fname: after the last \\ or /, before the last dot).
void program_name_of(const char* path, char* name, int size) {
    const char* slash = strrchr(path, '\\');
    const char* forward = strrchr(path, '/');
    if (forward > slash)
        slash = forward;
    lstrcpynA(name, slash ? slash + 1 : path, size);
    char* dot = strrchr(name, '.');
    if (dot)
        *dot = 0;
}

// A wide string in a version resource equal to `key` (ASCII) at `at`.
bool wide_equals(const BYTE* at, const char* key) {
    for (int i = 0;; ++i) {
        WCHAR c = static_cast<WCHAR>(at[2 * i] | (at[2 * i + 1] << 8));
        if (c != static_cast<unsigned char>(key[i]))
            return false;
        if (!c)
            return true;
    }
}

// The ProductName value's first characters, as ASCII, into `name`.
void product_name(const BYTE* data, DWORD size, char* name, int name_size) {
    static const char KEY[] = "ProductName";
    const DWORD key_bytes = sizeof KEY * 2;
    name[0] = 0;
    for (DWORD at = 0; at + key_bytes <= size; at += 2) {
        if (!wide_equals(data + at, KEY))
            continue;
        DWORD value = (at + key_bytes + 3) & ~3u;  // values start on 4 bytes
        int i = 0;
        for (; i < name_size - 1 && value + 2 * i + 1 < size; ++i) {
            WCHAR c = static_cast<WCHAR>(data[value + 2 * i] | (data[value + 2 * i + 1] << 8));
            if (!c)
                break;
            name[i] = c < 0x80 ? static_cast<char>(c) : '?';
        }
        name[i] = 0;
        return;
    }
}

// VS_FIXEDFILEINFO's dwFileVersionMS and dwFileVersionLS.
WrapperRelease file_version(const BYTE* data, DWORD size) {
    for (DWORD at = 0; at + 16 <= size && at < FIXED_INFO_SEARCH_BYTES; at += 4) {
        const DWORD* words = reinterpret_cast<const DWORD*>(data + at);
        if (words[0] == FIXED_INFO_SIGNATURE)
            return (static_cast<WrapperRelease>(words[2]) << 32) | words[3];
    }
    return 0;
}

WrapperPicture no_wrapper() {
    WrapperPicture picture = {};
    picture.kind = WRAPPER_NONE;
    picture.fit = FIT_STRETCH;
    picture.known = true;
    return picture;
}

// The loaded wrapper read once: cnc-ddraw reads its settings in DllMain.
struct Reading {
    HMODULE ddraw;
    WrapperPicture picture;
};
Reading last_reading;

}  // namespace

WrapperPicture cnc_ddraw_picture(const CncDdrawSettings& settings) {
    WrapperPicture picture = no_wrapper();
    picture.kind = WRAPPER_CNC_DDRAW;
    // Whole numbers win over the aspect ratio (dd_SetDisplayMode).
    if (settings.boxing) {
        picture.fit = FIT_WHOLE_NUMBER;
    } else if (settings.maintas) {
        picture.fit = FIT_ASPECT;
        picture.aspect_x = settings.aspect_x;
        picture.aspect_y = settings.aspect_y;
        picture.known = settings.aspect_valid;
    }
    return picture;
}

WrapperKind wrapper_and_release_of_module(HMODULE module, WrapperRelease* release) {
    *release = 0;
    HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16))
                         : NULL;
    HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : NULL;
    DWORD size = found ? SizeofResource(module, found) : 0;
    if (!data || !size)
        return WRAPPER_UNKNOWN;
    char name[32];
    product_name(data, size, name, sizeof name);
    for (const KnownProduct& product : PRODUCTS) {
        if (_strnicmp(name, product.name, strlen(product.name)) != 0)
            continue;
        *release = file_version(data, size);
        return product.kind;
    }
    return WRAPPER_UNKNOWN;
}

WrapperPicture release_picture(WrapperKind kind, WrapperRelease release) {
    WrapperPicture picture = no_wrapper();
    picture.kind = kind;
    picture.release = release;
    if (kind == WRAPPER_DDRAWCOMPAT) {
        picture.draws_cursor = release >= DDRAWCOMPAT_DRAWS_CURSOR;
        picture.cursor_side = release >= DDRAWCOMPAT_RESAMPLES_CURSOR ? DDRAWCOMPAT_CURSOR_SIDE : 0;
    }
    return picture;
}

WrapperKind wrapper_of_module(HMODULE module, bool* draws_cursor) {
    WrapperRelease release;
    WrapperKind kind = wrapper_and_release_of_module(module, &release);
    *draws_cursor = release_picture(kind, release).draws_cursor;
    return kind;
}

WrapperPicture wrapper_picture_in_folder(HMODULE module, const char* cnc_ini_path,
                                         const char* program_name, const char* game_folder,
                                         CncDdrawSettings* cnc) {
    WrapperRelease release;
    WrapperKind kind = wrapper_and_release_of_module(module, &release);
    WrapperPicture picture = release_picture(kind, release);
    if (kind == WRAPPER_CNC_DDRAW) {
        CncDdrawSettings settings;
        CncDdrawFile file = {cnc_ini_path, program_name, game_folder, release};
        read_cnc_ddraw_file(file, &settings);
        picture = cnc_ddraw_picture(settings);
        if (cnc)
            *cnc = settings;
    }
    picture.release = release;
    return picture;
}

WrapperPicture wrapper_picture_of(HMODULE module, const char* cnc_ini_path,
                                  const char* program_name, CncDdrawSettings* cnc) {
    return wrapper_picture_in_folder(module, cnc_ini_path, program_name, NULL, cnc);
}

WrapperPicture loaded_wrapper_picture() {
    HMODULE ddraw = find_loaded_module(L"ddraw.dll");
    if (!ddraw)
        return no_wrapper();
    if (ddraw == last_reading.ddraw)
        return last_reading.picture;
    char ini_path[MAX_PATH];
    // cfg_init: the file the environment names, else the ddraw.ini beside
    // the wrapper's own DLL.
    if (!GetEnvironmentVariableA(CNC_DDRAW_CONFIG_VARIABLE, ini_path, sizeof ini_path) ||
        !ini_path[0]) {
        DWORD length = GetModuleFileNameA(ddraw, ini_path, sizeof ini_path);
        char* slash = length < sizeof ini_path ? strrchr(ini_path, '\\') : NULL;
        if (!slash || sizeof ini_path - (slash + 1 - ini_path) < sizeof CNC_DDRAW_FILE)
            return no_wrapper();
        lstrcpynA(slash + 1, CNC_DDRAW_FILE, sizeof CNC_DDRAW_FILE);
    }
    char game[MAX_PATH], program[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, game, sizeof game);
    if (!length || length >= sizeof game)
        game[0] = 0;
    program_name_of(game, program, sizeof program);
    last_reading.picture = wrapper_picture_of(ddraw, ini_path, program, NULL);
    last_reading.ddraw = ddraw;
    return last_reading.picture;
}
