#include "tools/settings_window/size_choice.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "cursors/cursor_plan.h"
#include "cursors/cursor_loader.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/game_folder.h"
#include "tools/cursor_check/settings_report.h"
#include "tools/cursor_check/size_limit.h"
#include "tools/cursor_check/size_report.h"
#include "tools/cursor_check/virtual_store.h"
#include "tools/cursor_check/wrapper_report.h"
#include "tools/settings_window/settings_file.h"
#include "wrappers/wrappers.h"

namespace {

const float DEFAULT_FIXED_SIZE = 2.0f;
const char SAMPLE_FILE[] = ".\\plugin\\Quillmere.ini.sample";
const char SHOWN_SETTINGS_FILE[] = "plugin\\Quillmere.ini";
const char RESTART[] = " Restart the game to see it.";
const DWORD PATH_LENGTH = MAX_PATH * 2;

std::wstring full_path(const char* path) {
    wchar_t full[PATH_LENGTH];
    DWORD length = GetFullPathNameW(wide(path).c_str(), PATH_LENGTH, full, NULL);
    return length && length < PATH_LENGTH ? std::wstring(full) : wide(path);
}

// A number as players write it: at least one decimal, at most three.
std::string number_text(double value) {
    char text[32];
    snprintf(text, sizeof text, "%.3f", value);
    char* end = text + strlen(text) - 1;
    while (end[0] == '0' && end[-1] != '.') *end-- = '\0';
    return text;
}

// What a Size the game read does, in the settings file's words.
std::string effect_words(ScaleMode mode, float value) {
    switch (mode) {
        case SCALE_FIXED:
            return "fixed: every cursor at " + number_text(effective_scale(value)) +
                   " times its own size, whatever the window.";
        case SCALE_NATIVE:
            return "own size: every cursor at the size its file has.";
        case SCALE_AUTOMATIC:
            break;
    }
    return "automatic: the cursors grow with the game window.";
}

// The copy of the settings file Windows keeps for the game, which the game
// reads instead of the real one; empty when there is none.
std::string redirected_settings() {
    wchar_t folder[PATH_LENGTH] = L"";
    DWORD length = GetCurrentDirectoryW(PATH_LENGTH, folder);
    if (!length || length >= PATH_LENGTH)
        return "";
    RedirectedCopies found = find_redirected_copies(utf8(folder));
    for (const RedirectedCopy& copy : found.copies)
        if (copy.file == shown_path(SETTINGS_FILE))
            return found.store_plugin_folder + "\\" + last_part(SETTINGS_FILE);
    return "";
}

std::string windows_error_text(DWORD error) {
    return " (Windows error " + std::to_string(error) + ")";
}

// What keeps the file from being written, and what to do.
std::string unwritable_advice(DWORD error, DWORD attributes) {
    std::string file = SHOWN_SETTINGS_FILE;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return file +
               " is read-only, so nothing was saved. In Explorer, right-click it, choose "
               "Properties, untick Read-only and press OK; then press Save here again.";
    return file + " can't be written" + windows_error_text(error) +
           ", so nothing was saved. Windows lets only administrators change files in some "
           "folders, such as Program Files: move the game folder to a folder of your own "
           "(C:\\Games, for example), or close the program that has the file open; then press "
           "Save here again.";
}

}  // namespace

SizeChoice saved_choice() {
    SettingsReport settings = read_settings_report();
    SizeChoice choice = {settings.mode, DEFAULT_FIXED_SIZE};
    if (settings.mode == SCALE_FIXED)
        choice.value = settings.value;
    return choice;
}

SizeChoice default_choice() {
    return {SCALE_AUTOMATIC, DEFAULT_FIXED_SIZE};
}

std::string size_text(const SizeChoice& choice) {
    switch (choice.mode) {
        case SCALE_FIXED:
            return number_text(choice.value);
        case SCALE_NATIVE:
            return "1.0";
        case SCALE_AUTOMATIC:
            break;
    }
    return "0";
}

bool read_fixed_size(const std::wstring& text, float* value) {
    wchar_t* end = NULL;
    double number = wcstod(text.c_str(), &end);
    while (end && (*end == L' ' || *end == L'\t')) ++end;
    if (!end || end == text.c_str() || *end != L'\0' || !(number > 1.0) ||
        number > largest_useful_size())
        return false;
    *value = static_cast<float>(number);
    return true;
}

std::string fixed_size_rule() {
    return "Write the fixed size as a number above 1 and at most " +
           number_text(largest_useful_size()) + ", with a full stop: 2.0, 1.5.";
}

std::string oversize_advice(const SizeChoice& saved) {
    if (saved.mode != SCALE_FIXED || !(saved.value > largest_useful_size()))
        return "";
    return "Your settings say Size=" + size_text(saved) +
           ", more than the game can show: the cursors stop growing at " +
           std::to_string(MAX_CURSOR_SIDE) + " pixels. Pick a size up to " +
           number_text(largest_useful_size()) + " and press Save.";
}

float size_setting(const SizeChoice& choice) {
    switch (choice.mode) {
        case SCALE_FIXED:
            return choice.value;
        case SCALE_NATIVE:
            return 1.0f;
        case SCALE_AUTOMATIC:
            break;
    }
    return 0.0f;
}

CursorSize shown_size(const SizeChoice& choice, int width, int height, int dpi) {
    return decide_cursor_size(game_facts(size_setting(choice), width, height, dpi));
}

bool save_choice(const SizeChoice& choice, std::string* message) {
    std::wstring path = full_path(SETTINGS_FILE);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *message = std::string(SHOWN_SETTINGS_FILE) +
                   " is a folder, not a file, so nothing was saved: delete that folder, then "
                   "press Save here again.";
        return false;
    }
    // Windows refuses to write a read-only file; say so before trying.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        *message = unwritable_advice(ERROR_ACCESS_DENIED, attributes);
        return false;
    }
    // A new file starts as the sample, with its explanations; an old one
    // keeps every byte but the Size value.
    std::string text = size_text(choice);
    std::string bytes;
    DWORD error = ERROR_SUCCESS;
    bool got = attributes == INVALID_FILE_ATTRIBUTES
                   ? (read_whole_file(full_path(SAMPLE_FILE), &bytes, &error), true)
                   : read_whole_file(path, &bytes, &error);
    if (!got || !replace_file(path, with_size(bytes, text), &error)) {
        *message = unwritable_advice(error, GetFileAttributesW(path.c_str()));
        return false;
    }
    // The game's own reading is the judge of what was saved.
    SettingsReport read = read_settings_report();
    float wanted = choice.mode == SCALE_FIXED ? static_cast<float>(atof(text.c_str())) : 0.0f;
    bool agrees = read.mode == choice.mode && (choice.mode != SCALE_FIXED || read.value == wanted);
    std::string as_read = read.value_present ? read.text : std::string("(nothing)");
    if (!agrees) {
        *message = "Saved Size=" + text + " in " + SHOWN_SETTINGS_FILE +
                   ", but the game reads Size=" + as_read + ", " +
                   effect_words(read.mode, read.value) +
                   " Check the problems listed below, or open the file in Notepad.";
        return false;
    }
    std::string copy = redirected_settings();
    if (!copy.empty()) {
        *message = "Saved Size=" + text + " in " + SHOWN_SETTINGS_FILE +
                   ", but the game reads an older copy Windows keeps for it: " + copy +
                   ". Delete that file; the game then reads the one saved here.";
        return false;
    }
    *message = "Saved: the game reads Size=" + as_read + " from " + SHOWN_SETTINGS_FILE + ", " +
               effect_words(read.mode, read.value) + RESTART;
    return true;
}
