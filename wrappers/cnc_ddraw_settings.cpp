// cnc-ddraw's settings, read as the release beside the game reads them
// (src/config.c and src/ini.c of each release):
// - up to 5.8 every value came through GetPrivateProfileStringA, which drops
//   the quotes around a value, from the program's section (while its
//   checkfile is there) or [ddraw];
// - 5.9 reads the file once through its own reader (ini.c): each section
//   as GetPrivateProfileSectionA gives it, so values keep their quotes,
//   only sections named in the first 8192 characters of the section names
//   exist, and a section's first 8192 characters are all it has; every
//   value is looked up in the program's section, then in program/2 to
//   program/9 (each while its checkfile is there), then in [ddraw];
// - from 6.0 on the section is chosen once (program/wine under Wine, the
//   program's section, program/2 to program/9), and an empty one is chosen
//   all the same.
#include "wrappers/wrappers.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const char DDRAW_SECTION[] = "ddraw";
// ini.c: the section names and each section are read into 8192 bytes.
const DWORD READER_BUFFER_SIZE = 8192;
// cfg_get_bool reads into 8 bytes, cfg_get_int into 20, aspect_ratio into 16.
const int FLAG_TEXT_SIZE = 8;
const int NUMBER_TEXT_SIZE = 20;
const int ASPECT_TEXT_SIZE = 16;
const int LAST_NUMBERED_SECTION = 9;

// The releases whose rules changed (their file versions).
const WrapperRelease OWN_READER = wrapper_release(5, 9, 0, 0);
const WrapperRelease SECTION_CHOSEN_ONCE = wrapper_release(6, 0, 0, 0);
const WrapperRelease ASPECT_RATIO_KEY = wrapper_release(6, 8, 0, 0);
const WrapperRelease ADJMOUSE_ON_BY_DEFAULT = wrapper_release(4, 4, 2, 1);
const WrapperRelease NO_HANDLEMOUSE = wrapper_release(5, 8, 0, 0);

struct Reader {
    const CncDdrawFile* file;
    bool own_reader;       // ini.c (5.9 on), not the profile functions
    char names[READER_BUFFER_SIZE];  // the section names ini.c knows
    char section[MAX_PATH + 8];      // the program's section chosen once, "" for none
    char data[READER_BUFFER_SIZE];   // a section's lines, read for one lookup
};

bool newer_or_same(const CncDdrawFile& file, WrapperRelease release) {
    return file.release == 0 || file.release >= release;
}

// ini_section_exists: a name among the names read, in any case, empty or not.
bool section_exists(const Reader& reader, const char* section) {
    if (!section[0])
        return false;
    for (const char* name = reader.names; *name; name += strlen(name) + 1)
        if (_stricmp(name, section) == 0)
            return true;
    return false;
}

// ini_get_string without a default: the first line "key=value" of the
// section, its value as written; -1 when the section or the key is not
// there (the caller's default then).
int own_reader_value(Reader& reader, const char* section, const char* key, char* text,
                     int size) {
    if (!section_exists(reader, section))
        return -1;
    DWORD length = GetPrivateProfileSectionA(section, reader.data, sizeof reader.data,
                                             reader.file->ini_path);
    if (!length)
        return -1;
    reader.data[sizeof reader.data - 1] = reader.data[sizeof reader.data - 2] = 0;
    size_t key_length = strlen(key);
    for (const char* line = reader.data; *line; line += strlen(line) + 1) {
        if (_strnicmp(line, key, key_length) == 0 && line[key_length] == '=') {
            lstrcpynA(text, line + key_length + 1, size);
            return static_cast<int>(strlen(text));
        }
    }
    return -1;
}

// A value of `section` without a default: "" and 0 when it has none.
int section_value(Reader& reader, const char* section, const char* key, char* text, int size) {
    text[0] = 0;
    if (reader.own_reader) {
        int length = own_reader_value(reader, section, key, text, size);
        if (length < 0)
            text[0] = 0;
        return length < 0 ? 0 : length;
    }
    return static_cast<int>(
        GetPrivateProfileStringA(section, key, "", text, size, reader.file->ini_path));
}

// FILE_EXISTS(checkfile), a relative name taken from the game's folder.
bool file_there(const CncDdrawFile& file, const char* name) {
    char path[MAX_PATH];
    bool relative = name[0] != '\\' && name[0] != '/' && !(name[0] && name[1] == ':');
    if (relative && file.game_folder && file.game_folder[0]) {
        int written = _snprintf(path, sizeof path, "%s\\%s", file.game_folder, name);
        if (written <= 0 || written >= static_cast<int>(sizeof path))
            return false;
        name = path;
    }
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

// A section with a checkfile is used only while that file is there; one
// without is used when `required` is false.
bool checkfile_allows(Reader& reader, const char* section, bool required) {
    char checked[MAX_PATH];
    if (section_value(reader, section, "checkfile", checked, sizeof checked) <= 0)
        return !required;
    return file_there(*reader.file, checked);
}

bool running_under_wine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// cfg_get_game_section (6.0 on).
void choose_section(Reader& reader) {
    char* section = reader.section;
    const size_t size = sizeof reader.section;
    const char* program = reader.file->program_name;
    section[0] = 0;
    if (!program[0] || strlen(program) >= MAX_PATH)
        return;
    _snprintf(section, size, "%s/wine", program);
    if (running_under_wine() && section_exists(reader, section))
        return;
    lstrcpynA(section, program, size);
    if (section_exists(reader, section) && checkfile_allows(reader, section, false))
        return;
    for (int number = 2; number <= LAST_NUMBERED_SECTION; ++number) {
        _snprintf(section, size, "%s/%d", program, number);
        if (section_exists(reader, section) && checkfile_allows(reader, section, true))
            return;
    }
    section[0] = 0;
}

// Before 6.0 every value looks for a program section of its own: a
// non-empty value there (5.9: or in program/2 to program/9) whose
// checkfile allows it.
bool per_key_value(Reader& reader, const char* key, char* text, int size) {
    const char* program = reader.file->program_name;
    if (!program[0] || strlen(program) >= MAX_PATH)
        return false;
    if (section_value(reader, program, key, text, size) > 0 &&
        checkfile_allows(reader, program, false))
        return true;
    if (!newer_or_same(*reader.file, OWN_READER))
        return false;
    for (int number = 2; number <= LAST_NUMBERED_SECTION; ++number) {
        char section[MAX_PATH + 8];
        _snprintf(section, sizeof section, "%s/%d", program, number);
        section[sizeof section - 1] = 0;
        if (section_value(reader, section, key, text, size) > 0 &&
            checkfile_allows(reader, section, true))
            return true;
    }
    return false;
}

// cfg_get_string: the program's section's non-empty value, else [ddraw]'s,
// else `fallback`.
void read_text(Reader& reader, const char* key, const char* fallback, char* text, int size) {
    if (newer_or_same(*reader.file, SECTION_CHOSEN_ONCE)) {
        if (reader.section[0] && section_value(reader, reader.section, key, text, size) > 0)
            return;
    } else if (per_key_value(reader, key, text, size)) {
        return;
    }
    if (reader.own_reader) {
        if (own_reader_value(reader, DDRAW_SECTION, key, text, size) < 0)
            lstrcpynA(text, fallback, size);
        return;
    }
    GetPrivateProfileStringA(DDRAW_SECTION, key, fallback, text, size, reader.file->ini_path);
}

// cfg_get_bool: yes, true or 1 in any case, nothing else.
bool read_flag(Reader& reader, const char* key, bool fallback) {
    char text[FLAG_TEXT_SIZE];
    read_text(reader, key, fallback ? "Yes" : "No", text, sizeof text);
    return _stricmp(text, "yes") == 0 || _stricmp(text, "true") == 0 || _stricmp(text, "1") == 0;
}

// cfg_get_int: strtol with the base the text gives where it holds "0x",
// else atoi (a sign, digits, whatever follows ignored).
int read_number(Reader& reader, const char* key, int fallback) {
    char fallback_text[NUMBER_TEXT_SIZE], text[NUMBER_TEXT_SIZE];
    _snprintf(fallback_text, sizeof fallback_text, "%d", fallback);
    fallback_text[NUMBER_TEXT_SIZE - 1] = 0;
    read_text(reader, key, fallback_text, text, sizeof text);
    return strstr(text, "0x") ? static_cast<int>(strtol(text, NULL, 0)) : atoi(text);
}

// aspect_ratio=X:Y as dd_SetDisplayMode parses it: a number (strtoul, any
// base), any one character, a number; used as written, so 1920:1080 is
// 16:9. Zero on either side gives no picture.
void read_aspect(Reader& reader, CncDdrawSettings* settings) {
    char text[ASPECT_TEXT_SIZE];
    settings->aspect_x = settings->aspect_y = 0;
    settings->aspect_valid = true;
    if (!newer_or_same(*reader.file, ASPECT_RATIO_KEY))
        return;
    read_text(reader, "aspect_ratio", "", text, sizeof text);
    if (!text[0])
        return;
    settings->maintas = true;
    char* end = text;
    unsigned long x = strtoul(text, &end, 0);
    unsigned long y = *end ? strtoul(end + 1, NULL, 0) : 0;
    // Sides past any screen's would overflow the picture's arithmetic.
    const unsigned long LARGEST = 65535;
    settings->aspect_valid = x > 0 && y > 0 && x <= LARGEST && y <= LARGEST;
    if (settings->aspect_valid) {
        settings->aspect_x = static_cast<int>(x);
        settings->aspect_y = static_cast<int>(y);
    }
}

}  // namespace

void read_cnc_ddraw_file(const CncDdrawFile& file, CncDdrawSettings* settings) {
    // About 24 KB, on the stack of a call made once per wrapper.
    Reader reader;
    reader.file = &file;
    reader.own_reader = newer_or_same(file, OWN_READER);
    reader.names[0] = reader.names[1] = 0;
    reader.section[0] = 0;
    if (reader.own_reader) {
        GetPrivateProfileSectionNamesA(reader.names, sizeof reader.names, file.ini_path);
        reader.names[sizeof reader.names - 1] = reader.names[sizeof reader.names - 2] = 0;
    }
    if (newer_or_same(file, SECTION_CHOSEN_ONCE))
        choose_section(reader);
    settings->width = read_number(reader, "width", 0);
    settings->height = read_number(reader, "height", 0);
    settings->fullscreen = read_flag(reader, "fullscreen", false);
    settings->windowed = read_flag(reader, "windowed", false);
    settings->maintas = read_flag(reader, "maintas", false);
    settings->boxing = read_flag(reader, "boxing", false);
    bool adjmouse_default = newer_or_same(file, ADJMOUSE_ON_BY_DEFAULT);
    settings->adjmouse = read_flag(reader, "adjmouse", adjmouse_default);
    // Older releases: handlemouse=false scales the pointer, and before
    // 4.4.2.1 stretches the picture whatever maintas and boxing say.
    if (!newer_or_same(file, NO_HANDLEMOUSE) && !read_flag(reader, "handlemouse", true)) {
        settings->adjmouse = true;
        if (!adjmouse_default)
            settings->maintas = settings->boxing = false;
    }
    settings->devmode = read_flag(reader, "devmode", false);
    settings->border = read_flag(reader, "border", true);
    settings->hook = read_number(reader, "hook", 4);
    read_text(reader, "renderer", "auto", settings->renderer, sizeof settings->renderer);
    read_aspect(reader, settings);
    // cfg_load: lock_mouse_top_left turns adjmouse off.
    if (read_flag(reader, "lock_mouse_top_left", false))
        settings->adjmouse = false;
}

void read_cnc_ddraw_settings(const char* ini_path, const char* program_name,
                             CncDdrawSettings* settings) {
    CncDdrawFile file = {ini_path, program_name, NULL, 0};
    read_cnc_ddraw_file(file, settings);
}
