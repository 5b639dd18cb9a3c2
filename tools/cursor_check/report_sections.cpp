#include "tools/cursor_check/report_sections.h"

#include <windows.h>

#include <stdio.h>

#include <vector>

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"
#include "settings/scale_policy.h"
#include "tools/cursor_check/check_run.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/findings.h"
#include "tools/cursor_check/game_folder.h"
#include "tools/cursor_check/settings_lines.h"
#include "tools/cursor_check/slot_check.h"
#include "tools/cursor_check/wrapper_report.h"
#include "wrappers/wrappers.h"

namespace {

// The settings file is a few lines; a longer one is cut here.
const size_t LARGEST_SETTINGS_TEXT = 8192;
const wchar_t WRAPPER_FILE[] = L".\\ddraw.dll";
const char CNC_DDRAW_SETTINGS[] = ".\\ddraw.ini";
const int TEXT_SIZE = 256;
const char PROFILE_WORD[] = "%USERPROFILE%";

std::string indented(const std::string& text, const char* indent) {
    std::string lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        lines += indent + text.substr(start, end - start) + "\n";
        // One line end, whichever the file uses.
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// The name and version the wrapper's own version resource gives (its
// ProductName and file version), read from the file as data: a DLL named
// like a system one might otherwise be taken for the system's own.
void wrapper_version(const std::wstring& path, std::string* name, std::string* version) {
    *name = "nothing";
    *version = "none";
    HMODULE module = LoadLibraryExW(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO),
                                reinterpret_cast<LPCWSTR>(RT_VERSION));
    HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : NULL;
    // VerQueryValue works on a copy of its own.
    std::vector<char> data;
    if (bytes)
        data.assign(bytes, bytes + SizeofResource(module, found));
    FreeLibrary(module);
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    if (data.empty())
        return;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) &&
        length >= sizeof *fixed)
        *version = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                   std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                   std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                   std::to_string(LOWORD(fixed->dwFileVersionLS));
    struct Translation {
        WORD language, code_page;
    }* translations = NULL;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof *translations)
        return;
    wchar_t query[64];
    _snwprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\ProductName", translations->language,
               translations->code_page);
    query[63] = L'\0';
    wchar_t* text = NULL;
    if (VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&text), &length) && text &&
        length > 0)
        *name = utf8(std::wstring(text, wcsnlen(text, length)));
}

std::string yes_no(bool value) {
    return value ? "1" : "0";
}

}  // namespace

std::string written_line() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[TEXT_SIZE];
    snprintf(text, sizeof text, "written: %04u-%02u-%02u %02u:%02u:%02u (this computer's time)\n",
             now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    return text;
}

std::string findings_lines() {
    std::string lines = "check " + result_line() + "\n";
    for (const Problem& problem : problems())
        if (!problem.advice.empty())
            lines += "problem: " + problem.advice + "\n";
    for (const std::string& note : notes())
        lines += "note: " + note + "\n";
    return lines;
}

std::string settings_text_lines() {
    std::string file = shown_path(SETTINGS_FILE);
    if (is_folder(SETTINGS_FILE) ||
        GetFileAttributesW(wide(SETTINGS_FILE).c_str()) == INVALID_FILE_ATTRIBUTES)
        return "settings file text: " + file + " not found\n";
    std::string text = settings_file_text(SETTINGS_FILE);
    bool cut = text.size() > LARGEST_SETTINGS_TEXT;
    if (cut)
        text.resize(LARGEST_SETTINGS_TEXT);
    return "settings file text: " + file + (cut ? ", its first 8 KiB" : "") + "\n" +
           indented(text, "  | ");
}

std::string wrapper_lines() {
    std::string program = game_program_name();
    CncDdrawSettings cnc = {};
    WrapperPicture picture = folder_wrapper_picture(".", program.c_str(), &cnc);
    if (picture.kind == WRAPPER_NONE)
        return "wrapper: none (no ddraw.dll beside the game)\n";
    // Its full path: a bare ddraw.dll may be taken for the system's own.
    wchar_t path[MAX_PATH * 2] = L"";
    DWORD length = GetFullPathNameW(WRAPPER_FILE, MAX_PATH * 2, path, NULL);
    std::wstring file = length && length < MAX_PATH * 2 ? path : WRAPPER_FILE;
    std::string name, version;
    wrapper_version(file, &name, &version);
    std::string lines = "wrapper: ddraw.dll, named " + name +
                        ", version " + version + "\n";
    if (picture.kind != WRAPPER_CNC_DDRAW)
        return lines;
    char aspect[TEXT_SIZE] = "";
    if (cnc.aspect_x > 0 && cnc.aspect_y > 0)
        snprintf(aspect, sizeof aspect, " aspect_ratio=%d:%d", cnc.aspect_x, cnc.aspect_y);
    cnc.renderer[sizeof cnc.renderer - 1] = '\0';
    return lines + "wrapper settings (" + shown_path(CNC_DDRAW_SETTINGS) + ", as it reads them" +
           (program.empty() ? "" : " for " + program) + "): windowed=" + yes_no(cnc.windowed) +
           " fullscreen=" + yes_no(cnc.fullscreen) + " maintas=" + yes_no(cnc.maintas) +
           " boxing=" + yes_no(cnc.boxing) + aspect + " width=" + std::to_string(cnc.width) +
           " height=" + std::to_string(cnc.height) + " border=" + yes_no(cnc.border) +
           " adjmouse=" + yes_no(cnc.adjmouse) + " devmode=" + yes_no(cnc.devmode) +
           " hook=" + std::to_string(cnc.hook) + " renderer=" + cnc.renderer + "\n";
}

std::string players_files_line() {
    std::string files;
    if (GetFileAttributesW(wide(SETTINGS_FILE).c_str()) != INVALID_FILE_ATTRIBUTES)
        files += shown_path(SETTINGS_FILE);
    const struct {
        const char* pattern;
        int default_first_id;
    } sets[] = {{BASE_CURSOR_PATTERN, BASE_DEFAULT_FIRST_ID},
                {ANIMATED_CURSOR_PATTERN, ANIMATED_DEFAULT_FIRST_ID}};
    for (const auto& set : sets)
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
            char path[MAX_PATH];
            snprintf(path, sizeof path, set.pattern, slot);
            if (GetFileAttributesW(wide(path).c_str()) == INVALID_FILE_ATTRIBUTES ||
                is_default_cursor(path, set.default_first_id + slot))
                continue;
            files += (files.empty() ? "" : ", ") + std::string(shown_path(path));
        }
    return "the player's files: " + (files.empty() ? std::string("none") : files) + "\n";
}

std::string check_output_lines() {
    // Paths under the player's profile name no one, as in the rest.
    std::string text = transcript();
    wchar_t profile[MAX_PATH * 2] = L"";
    DWORD length = GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH * 2);
    std::string named = length && length < MAX_PATH * 2 ? utf8(profile) : std::string();
    for (size_t at = 0; !named.empty() && (at = text.find(named, at)) != std::string::npos;) {
        text.replace(at, named.size(), PROFILE_WORD);
        at += sizeof PROFILE_WORD - 1;
    }
    return "check output:\n" + indented(text, "  ");
}
