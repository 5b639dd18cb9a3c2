#include "tools/cursor_check/player_report.h"

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>

#include "base/file_virtualisation.h"
#include "base/host_address_map.h"
#include "host/host_setup.h"
#include "base/module_state.h"
#include "base/system_functions.h"
#include "cursors/cursor_build.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_resource.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"
#include "patching/patch_primitives.h"
#include "quillmere_version.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/exploit_protection.h"
#include "tools/cursor_check/game_folder.h"
#include "tools/cursor_check/module_report.h"
#include "tools/cursor_check/report_sections.h"
#include "tools/cursor_check/size_report.h"
#include "tools/cursor_check/slot_check.h"
#include "tools/cursor_check/system_facts.h"

namespace {

// The two Size values every cursor is built at for the report.
const float REPORT_SCALES[] = {1.0f, 2.0f};
const char* const SCALE_NAMES[] = {"1.0", "2.0"};
// What Windows answers when exploit protection's code guard refuses.
const DWORD DYNAMIC_CODE_BLOCKED = 1655;

struct SlotSet {
    const char* name;
    const char* pattern;
    int default_first_id;
};
const SlotSet SETS[] = {
    {"base", BASE_CURSOR_PATTERN, BASE_DEFAULT_FIRST_ID},
    {"animated", ANIMATED_CURSOR_PATTERN, ANIMATED_DEFAULT_FIRST_ID},
};

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, pattern);
    vsnprintf(text, sizeof text, pattern, arguments);
    va_end(arguments);
    return text;
}

// Long enough for any folder a game or a profile has in practice.
const DWORD PATH_LENGTH = MAX_PATH * 2;

std::string current_folder() {
    wchar_t folder[PATH_LENGTH] = L"";
    DWORD length = GetCurrentDirectoryW(PATH_LENGTH, folder);
    return length && length < PATH_LENGTH ? utf8(folder) : std::string();
}

std::string program_folder() {
    wchar_t path[PATH_LENGTH] = L"";
    DWORD length = GetModuleFileNameW(NULL, path, PATH_LENGTH);
    std::string folder = length && length < PATH_LENGTH ? utf8(path) : std::string();
    size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? "" : folder.substr(0, slash);
}

std::string environment(const wchar_t* name) {
    wchar_t value[PATH_LENGTH];
    DWORD length = GetEnvironmentVariableW(name, value, PATH_LENGTH);
    return length && length < PATH_LENGTH ? utf8(value) : std::string();
}

// "32x32 at Size 1.0 and 64x64 at Size 2.0", each measured on the cursor
// the system built; `build` makes the cursor for a scale.
template <typename Build>
std::string built_sizes(Build build) {
    std::string text = "built";
    for (int i = 0; i < 2; ++i) {
        HCURSOR cursor = build(REPORT_SCALES[i]);
        int width = 0, height = 0;
        if (cursor && probe_cursor_size(cursor, &width, &height))
            text += format(" %dx%d", width, height);
        else
            text += " nothing";
        if (cursor)
            DestroyCursor(cursor);
        text += std::string(" at Size ") + SCALE_NAMES[i] + (i == 0 ? " and" : "");
    }
    return text;
}

std::string slot_line(const SlotSet& set, int slot) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, set.pattern, slot);
    int identifier = set.default_first_id + slot;
    std::string head = format("cursor %d %s: ", slot, set.name);
    SlotCheck check = check_cursor_file(path, REPORT_SCALES[0]);
    if (check.presence == FILE_MISSING) {
        if (!has_default_cursor(identifier))
            return head + "none, the base cursor shows";
        return head + "missing, the built-in default shows, " + built_sizes([&](float scale) {
                   return load_default_cursor(module_handle, identifier, scale);
               });
    }
    if (check.presence == FILE_FOLDER)
        return head + "a folder stands in its place";
    std::string digest = sha256_of_file(path);
    head += "present, SHA-256 " + (digest.empty() ? std::string("unreadable") : digest) + ", ";
    if (!check.loads)
        return head + "not sound: " + check.note;
    // The second size from the plan of the same read.
    int width = 0, height = 0;
    bool second = size_at_scale(REPORT_SCALES[1], 0, &width, &height);
    return head + "sound, built" + format(" %dx%d", check.width, check.height) + " at Size " +
           SCALE_NAMES[0] + " and" + (second ? format(" %dx%d", width, height) : " nothing") +
           " at Size " + SCALE_NAMES[1];
}

std::string settings_value(const SettingsReport& settings) {
    std::string head = "settings: " + std::string(shown_path(SETTINGS_FILE));
    if (settings.file_is_folder)
        return head + " is a folder; read as Size=0 (automatic)";
    if (!settings.file_present)
        return head + " not found; read as Size=0 (automatic)";
    if (!settings.value_present)
        return head + " has no Size line; read as Size=0 (automatic)";
    const char* mode = settings.mode == SCALE_FIXED    ? "fixed"
                       : settings.mode == SCALE_NATIVE ? "own size"
                                                       : "automatic";
    return head + format(" Size=%s read as %g (%s)", settings.text.c_str(), settings.value, mode);
}

// The settings as read from the game folder, and whether the game reads
// its redirected copy instead.
std::string settings_line(const SettingsReport& settings, const RedirectedCopies& copies) {
    for (const RedirectedCopy& copy : copies.copies)
        if (copy.file == shown_path(SETTINGS_FILE))
            return settings_value(settings) + "; the game reads its copy in the VirtualStore";
    return settings_value(settings);
}

std::string patching_line() {
    // The code of this program stands in for the game's: the same request
    // exploit protection would refuse there.
    DWORD refusal = code_patch_refusal(reinterpret_cast<uintptr_t>(&patching_line));
    if (!refusal)
        return "code patching: a code page of a test image can be made writable";
    return format("code patching: a code page of a test image can't be made writable (Windows "
                  "error %lu)%s", refusal,
                  refusal == DYNAMIC_CODE_BLOCKED ? ": exploit protection's code guard" : "");
}

std::string copies_lines(const RedirectedCopies& found) {
    std::string lines;
    if (found.copies.empty())
        return "redirected copies: none\n";
    lines = format("redirected copies: %d in %s\n", static_cast<int>(found.copies.size()),
                   without_profile(found.store_plugin_folder).c_str());
    for (const RedirectedCopy& copy : found.copies)
        lines += "redirected copy: " + copy.file +
                 (copy.hides_real ? " (hides the file in the game folder)\n" : "\n");
    return lines;
}

std::string report_text(const SettingsReport& settings, const RedirectedCopies& copies) {
    std::string text = "Quillmere problem report, written by quillmere_check " QUILLMERE_VERSION_TEXT "\n";
    text += written_line();
    text += findings_lines();
    std::string module_digest = sha256_of_file(PLUGIN_MODULE_PATH);
    unsigned major, minor, patch;
    if (module_digest.empty())
        text += format("plug-in: %s not found\n", shown_path(PLUGIN_MODULE_PATH));
    else if (file_version(wide(PLUGIN_MODULE_PATH), &major, &minor, &patch))
        text += format("plug-in: %s, version %u.%u.%u\n", shown_path(PLUGIN_MODULE_PATH), major,
                       minor, patch);
    else
        text += format("plug-in: %s, no version information\n", shown_path(PLUGIN_MODULE_PATH));
    text += "plug-in SHA-256: " + (module_digest.empty() ? std::string("none") : module_digest) + "\n";
    text += "system: " + system_version() + "\n";
    DisplayFacts display = display_facts();
    text += "DPI awareness: " + dpi_awareness() + " (this program)\n";
    text += format("system DPI: %d (%d %%)\n", display.system_dpi,
                   display.system_dpi * 100 / USER_DEFAULT_SCREEN_DPI);
    text += format("SM_CXCURSOR: %d (this program), %d (a DPI-aware program)\n",
                   display.own_cursor_side, display.aware_cursor_side);
    text += "game folder: " + without_profile(current_folder()) + "\n";
    text += std::string("writes virtualised: ") + (file_writes_virtualised() ? "yes" : "no") +
            " (this program)\n";
    // A crowded address space leaves the module less room to build cursors in.
    text += format("pixel memory: %u MB could be reserved of %u MB (this program)\n",
                   pixel_memory_size() >> 20, ARENA_SIZE >> 20);
    // A game without a manifest has its writes into a folder the player
    // can't write redirected into the VirtualStore.
    text += std::string("game folder writable: ") +
            (cursor_folder_state(PLUGIN_FOLDER) == FOLDER_WRITABLE ? "yes" : "no") + "\n";
    text += copies_lines(copies);
    text += settings_line(settings, copies) + "\n";
    CursorSize size = game_size(settings.value, HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    text += format("pointer size: %d (0: never set)\n", read_pointer_size());
    text += std::string("gamescope: ") + (under_gamescope() ? "yes" : "no") + "\n";
    text += std::string("size at the game's own window size: ") + size.reasons + "\n";
    text += "built: " + built_arrow_words(size) + "\n";
    text += patching_line() + "\n";
    std::vector<std::string> guarded = programs_with_code_guard(current_folder());
    text += "code guard on for: ";
    for (const std::string& program : guarded)
        text += program + (&program == &guarded.back() ? "" : ", ");
    text += guarded.empty() ? "no program of the game folder\n" : "\n";
    text += wrapper_lines();
    text += players_files_line();
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
        for (const SlotSet& set : SETS)
            text += slot_line(set, slot) + "\n";
    text += settings_text_lines();
    text += check_output_lines();
    return text;
}

bool write_text(const std::string& path, const std::string& text) {
    FILE* file = _wfopen(wide(path).c_str(), L"wb");
    if (!file)
        return false;
    std::string windows_lines;
    for (char c : text)
        windows_lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    bool written = fwrite(windows_lines.data(), 1, windows_lines.size(), file) ==
                   windows_lines.size();
    return fclose(file) == 0 && written;
}

}  // namespace

std::string write_player_report(const SettingsReport& settings, const RedirectedCopies& copies) {
    std::string text = report_text(settings, copies);
    std::string documents = environment(L"USERPROFILE");
    const std::string folders[] = {program_folder(),
                                   documents.empty() ? "" : documents + "\\Documents",
                                   environment(L"TEMP")};
    for (const std::string& folder : folders) {
        std::string path = folder + "\\" + REPORT_FILE_NAME;
        if (!folder.empty() && write_text(path, text))
            return path;
    }
    return "";
}
