#include "tools/cursor_check/settings_report.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "cursors/cursor_loader.h"
#include "host/host_setup.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/game_folder.h"

namespace {

// Long enough to show a player what they wrote; the module reads only the
// first 15 characters of it.
const int SETTINGS_TEXT_SIZE = 256;
const int READ_CHARACTERS = 15;

// A scale as a player writes it: at least one decimal ("2.0", "1.875").
std::string scale_text(double scale) {
    char text[32];
    snprintf(text, sizeof text, "%.6g", scale);
    if (!strpbrk(text, ".eEnN"))
        strncat(text, ".0", sizeof text - strlen(text) - 1);
    return text;
}

float automatic_scale(int client_width, int client_height) {
    return scale_for_client(client_width, client_height, HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
}

}  // namespace

SettingsReport read_settings_report() {
    SettingsReport report = {};
    DWORD attributes = GetFileAttributesA(SETTINGS_FILE);
    report.file_is_folder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    report.file_present = attributes != INVALID_FILE_ATTRIBUTES && !report.file_is_folder;
    // A missing value gives back the default: read once with "?" and once
    // with "" as the default, and only a missing value gives both back.
    char text[SETTINGS_TEXT_SIZE] = "";
    GetPrivateProfileStringA(SETTINGS_SECTION, SETTINGS_SIZE_KEY, "?", text, sizeof text,
                             SETTINGS_FILE);
    char again[2] = "";
    GetPrivateProfileStringA(SETTINGS_SECTION, SETTINGS_SIZE_KEY, "", again, sizeof again,
                             SETTINGS_FILE);
    report.value_present = !(text[0] == '?' && text[1] == '\0' && again[0] == '\0');
    report.text = report.value_present ? text : "";
    report.value = read_ini_float(SETTINGS_SECTION, SETTINGS_SIZE_KEY, 0.0f, SETTINGS_FILE);
    report.mode = scale_mode(report.value);
    return report;
}

float load_scale(const SettingsReport& settings, int client_width, int client_height) {
    switch (settings.mode) {
    case SCALE_FIXED:
        return effective_scale(settings.value);
    case SCALE_AUTOMATIC:
        return effective_scale(automatic_scale(client_width, client_height));
    case SCALE_NATIVE:
        break;
    }
    return effective_scale(0.0f);
}

std::string scale_caption(float scale) {
    if (scale == 0.0f || scale == 1.0f)
        return "each at its own size";
    return "at " + scale_text(scale) + " times their own size";
}

void print_settings_report(const SettingsReport& settings, int client_width, int client_height) {
    const char* path = shown_path(SETTINGS_FILE);
    if (settings.file_is_folder)
        say("settings     %s is a folder, not a file: delete it; the size is automatic", path);
    else if (!settings.file_present)
        say("settings     %s not found: the size is automatic (as Size=0)", path);
    else if (!settings.value_present)
        say("settings     %s has no Size line under [%s]: the size is automatic", path,
            SETTINGS_SECTION);
    else
        say("settings     %s: %s=%s reads as %s%s", path, SETTINGS_SIZE_KEY,
            settings.text.c_str(), scale_text(settings.value).c_str(),
            settings.text.size() > READ_CHARACTERS ? " (only the first 15 characters count)" : "");

    double scale = load_scale(settings, client_width, client_height);
    switch (settings.mode) {
    case SCALE_FIXED:
        say("size         fixed: every cursor at %s times its own size", scale_text(scale).c_str());
        break;
    case SCALE_NATIVE:
        say("size         every cursor at its own size");
        break;
    case SCALE_AUTOMATIC: {
        double factor = automatic_scale(client_width, client_height);
        say("size         automatic: a game window %dx%d inside (the game draws %dx%d) gives "
            "%s times each cursor's own size%s", client_width, client_height, HOST_SCREEN_WIDTH,
            HOST_SCREEN_HEIGHT, scale_text(factor).c_str(),
            factor < 1.0 ? ", so their own size (cursors never shrink)" : "");
        break;
    }
    }
}
