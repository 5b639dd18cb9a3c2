// Which wrapper is beside the game and its settings, read as the wrapper
// reads them: cnc-ddraw's ddraw.ini (src/config.c, cfg_load and
// cfg_get_game_section), and the version resource each wrapper carries.
#include "wrappers/wrappers.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/system_functions.h"

namespace {

const char CNC_DDRAW_FILE[] = "ddraw.ini";
const char CNC_DDRAW_SECTION[] = "ddraw";
const char CNC_DDRAW_CONFIG_VARIABLE[] = "CNC_DDRAW_CONFIG_FILE";
// cnc-ddraw reads booleans into 8 bytes and numbers into 20.
const int FLAG_TEXT_SIZE = 8;
const int NUMBER_TEXT_SIZE = 20;
const int ASPECT_TEXT_SIZE = 16;
const int SECTION_PROBE_SIZE = 4;
// cnc-ddraw's numbered program sections, program/2 to program/9.
const int LAST_NUMBERED_SECTION = 9;
// DDrawCompat draws the cursor into the frame from 0.4.0 on.
const DWORD DDRAWCOMPAT_CURSOR_VERSION = 0x00000004;  // 0.4 as the high file-version word pair
const DWORD FIXED_INFO_SIGNATURE = 0xFEEF04BD;
const DWORD FIXED_INFO_SEARCH_BYTES = 128;

struct KnownProduct {
    const char* name;  // the start of its ProductName
    WrapperKind kind;
};

const KnownProduct PRODUCTS[] = {
    {"cnc-ddraw", WRAPPER_CNC_DDRAW},
    {"DDrawCompat", WRAPPER_DDRAWCOMPAT},
    {"DxWrapper", WRAPPER_DXWRAPPER},
    {"dgVoodoo", WRAPPER_DGVOODOO},
};

// The settings file and the section that overrides [ddraw] ("" for none).
struct CncReader {
    const char* path;
    char section[MAX_PATH + 8];
};

bool section_exists(const char* path, const char* section) {
    char probe[SECTION_PROBE_SIZE];
    return GetPrivateProfileSectionA(section, probe, sizeof probe, path) > 0;
}

bool file_exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// A section used only while its checkfile names a file that is there.
bool checkfile_present(const char* path, const char* section, bool required) {
    char checked[MAX_PATH];
    if (!GetPrivateProfileStringA(section, "checkfile", "", checked, sizeof checked, path))
        return !required;
    return file_exists(checked);
}

bool running_under_wine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void choose_section(const char* program_name, CncReader* reader) {
    char* section = reader->section;
    const size_t size = sizeof reader->section;
    section[0] = 0;
    if (!program_name[0] || strlen(program_name) >= MAX_PATH)
        return;
    _snprintf(section, size, "%s/wine", program_name);
    if (running_under_wine() && section_exists(reader->path, section))
        return;
    lstrcpynA(section, program_name, size);
    if (section_exists(reader->path, section) && checkfile_present(reader->path, section, false))
        return;
    for (int number = 2; number <= LAST_NUMBERED_SECTION; ++number) {
        _snprintf(section, size, "%s/%d", program_name, number);
        if (section_exists(reader->path, section) && checkfile_present(reader->path, section, true))
            return;
    }
    section[0] = 0;
}

// A value of the program's section when it has a non-empty one, else of
// [ddraw], else `fallback`.
void read_text(const CncReader& reader, const char* key, const char* fallback, char* text,
               int size) {
    if (reader.section[0] &&
        GetPrivateProfileStringA(reader.section, key, "", text, size, reader.path) > 0)
        return;
    GetPrivateProfileStringA(CNC_DDRAW_SECTION, key, fallback, text, size, reader.path);
}

bool read_flag(const CncReader& reader, const char* key, bool fallback) {
    char text[FLAG_TEXT_SIZE];
    read_text(reader, key, fallback ? "Yes" : "No", text, sizeof text);
    return _stricmp(text, "yes") == 0 || _stricmp(text, "true") == 0 || _stricmp(text, "1") == 0;
}

int read_number(const CncReader& reader, const char* key, int fallback) {
    char fallback_text[NUMBER_TEXT_SIZE], text[NUMBER_TEXT_SIZE];
    _snprintf(fallback_text, sizeof fallback_text, "%d", fallback);
    fallback_text[NUMBER_TEXT_SIZE - 1] = 0;
    read_text(reader, key, fallback_text, text, sizeof text);
    return strstr(text, "0x") ? static_cast<int>(strtol(text, NULL, 0)) : atoi(text);
}

// aspect_ratio=X:Y as cnc-ddraw parses it: a number, any one character, a
// number.
void read_aspect(const CncReader& reader, CncDdrawSettings* settings) {
    char text[ASPECT_TEXT_SIZE];
    read_text(reader, "aspect_ratio", "", text, sizeof text);
    settings->aspect_x = settings->aspect_y = 0;
    settings->aspect_valid = true;
    if (!text[0])
        return;
    settings->maintas = true;
    char* end = text;
    unsigned long x = strtoul(text, &end, 0);
    unsigned long y = *end ? strtoul(end + 1, NULL, 0) : 0;
    const unsigned long LARGEST = 1000;  // beyond any screen's shape
    settings->aspect_valid = x > 0 && y > 0 && x <= LARGEST && y <= LARGEST;
    if (settings->aspect_valid) {
        settings->aspect_x = static_cast<int>(x);
        settings->aspect_y = static_cast<int>(y);
    }
}

// A file name's characters without its folder and extension.
void program_name_of(const char* path, char* name, int size) {
    const char* slash = strrchr(path, '\\');
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

DWORD file_version_high(const BYTE* data, DWORD size) {
    for (DWORD at = 0; at + 12 <= size && at < FIXED_INFO_SEARCH_BYTES; at += 4) {
        const DWORD* words = reinterpret_cast<const DWORD*>(data + at);
        if (words[0] == FIXED_INFO_SIGNATURE)
            return words[2];
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

// What a reading of the loaded wrapper read and found. The settings are
// read again only when the DLL or the file changed: a large ddraw.ini takes
// Wine's profile functions about as long to read as a cursor load, and
// cnc-ddraw itself reads it once, when it loads.
struct Reading {
    HMODULE ddraw;
    char ini_path[MAX_PATH];
    bool file_there;
    WIN32_FILE_ATTRIBUTE_DATA file;
    WrapperPicture picture;
};
Reading last_reading;

bool same_reading(const Reading& last, const Reading& now) {
    if (last.ddraw != now.ddraw || last.file_there != now.file_there ||
        lstrcmpiA(last.ini_path, now.ini_path) != 0)
        return false;
    return !now.file_there ||
           (CompareFileTime(&last.file.ftLastWriteTime, &now.file.ftLastWriteTime) == 0 &&
            last.file.nFileSizeLow == now.file.nFileSizeLow &&
            last.file.nFileSizeHigh == now.file.nFileSizeHigh);
}

}  // namespace

void read_cnc_ddraw_settings(const char* ini_path, const char* program_name,
                             CncDdrawSettings* settings) {
    CncReader reader;
    reader.path = ini_path;
    choose_section(program_name, &reader);
    settings->width = read_number(reader, "width", 0);
    settings->height = read_number(reader, "height", 0);
    settings->fullscreen = read_flag(reader, "fullscreen", false);
    settings->windowed = read_flag(reader, "windowed", false);
    settings->maintas = read_flag(reader, "maintas", false);
    settings->boxing = read_flag(reader, "boxing", false);
    settings->adjmouse = read_flag(reader, "adjmouse", true);
    settings->devmode = read_flag(reader, "devmode", false);
    settings->border = read_flag(reader, "border", true);
    settings->hook = read_number(reader, "hook", 4);
    read_text(reader, "renderer", "auto", settings->renderer, sizeof settings->renderer);
    read_aspect(reader, settings);
    // cnc-ddraw: lock_mouse_top_left turns adjmouse off.
    if (read_flag(reader, "lock_mouse_top_left", false))
        settings->adjmouse = false;
}

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

WrapperKind wrapper_of_module(HMODULE module, bool* draws_cursor) {
    *draws_cursor = false;
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
        if (product.kind == WRAPPER_DDRAWCOMPAT)
            *draws_cursor = file_version_high(data, size) >= DDRAWCOMPAT_CURSOR_VERSION;
        return product.kind;
    }
    return WRAPPER_UNKNOWN;
}

WrapperPicture wrapper_picture_of(HMODULE module, const char* cnc_ini_path,
                                  const char* program_name, CncDdrawSettings* cnc) {
    WrapperPicture picture = no_wrapper();
    bool draws_cursor = false;
    picture.kind = wrapper_of_module(module, &draws_cursor);
    picture.draws_cursor = draws_cursor;
    if (picture.kind == WRAPPER_CNC_DDRAW) {
        CncDdrawSettings settings;
        read_cnc_ddraw_settings(cnc_ini_path, program_name, &settings);
        picture = cnc_ddraw_picture(settings);
        if (cnc)
            *cnc = settings;
    }
    return picture;
}

WrapperPicture loaded_wrapper_picture() {
    HMODULE ddraw = find_loaded_module(L"ddraw.dll");
    if (!ddraw)
        return no_wrapper();
    Reading now = {};
    now.ddraw = ddraw;
    if (!GetEnvironmentVariableA(CNC_DDRAW_CONFIG_VARIABLE, now.ini_path, sizeof now.ini_path) ||
        !now.ini_path[0]) {
        // cnc-ddraw reads the ddraw.ini beside its own DLL.
        DWORD length = GetModuleFileNameA(ddraw, now.ini_path, sizeof now.ini_path);
        char* slash = length < sizeof now.ini_path ? strrchr(now.ini_path, '\\') : NULL;
        if (!slash || sizeof now.ini_path - (slash + 1 - now.ini_path) < sizeof CNC_DDRAW_FILE)
            return no_wrapper();
        lstrcpynA(slash + 1, CNC_DDRAW_FILE, sizeof CNC_DDRAW_FILE);
    }
    now.file_there = GetFileAttributesExA(now.ini_path, GetFileExInfoStandard, &now.file) != FALSE;
    if (same_reading(last_reading, now))
        return last_reading.picture;
    char game[MAX_PATH], program[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, game, sizeof game);
    if (!length || length >= sizeof game)
        game[0] = 0;
    program_name_of(game, program, sizeof program);
    now.picture = wrapper_picture_of(ddraw, now.ini_path, program, NULL);
    last_reading = now;
    return now.picture;
}
