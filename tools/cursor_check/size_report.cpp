#include "tools/cursor_check/size_report.h"

#include <windows.h>

#include <stdio.h>

#include <string>

#include "base/module_state.h"
#include "base/system_functions.h"
#include "cursors/cursor_loader.h"
#include "cursors/default_cursors.h"
#include "host/host_setup.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/settings_report.h"
#include "tools/cursor_check/system_facts.h"
#include "tools/cursor_check/wrapper_report.h"

namespace {

std::string size_words(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// The pointer size's factor to a few digits: 3, 2.5.
std::string factor_words(int pointer) {
    char text[16];
    snprintf(text, sizeof text, "%.4g", static_cast<double>(pointer) / STANDARD_POINTER_SIZE);
    return text;
}

void resolve_once() {
    static bool resolved;
    if (!resolved)
        resolve_size_functions();
    resolved = true;
}

}  // namespace

std::string built_arrow_words(const CursorSize& size) {
    UINT previous = begin_exact_cursors();
    HCURSOR arrow = load_default_cursor(module_handle, BASE_DEFAULT_FIRST_ID, size.scale, size.side);
    end_exact_cursors(previous);
    int width = 0, height = 0;
    std::string reported = probe_cursor_size(arrow, &width, &height)
                               ? size_words(width, height)
                               : std::string("nothing");
    if (arrow)
        DestroyCursor(arrow);
    std::string shown = "nothing";
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    int shown_width = 0, shown_height = 0;
    if (GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) &&
        probe_cursor_size(info.hCursor, &shown_width, &shown_height))
        shown = size_words(shown_width, shown_height);
    return "the built-in arrow (cursor 0) built at " +
           std::to_string(built_side(size, STANDARD_POINTER_SIZE)) +
           " px; the system reports " + reported + " for it" +
           (cursors_show_as_built() ? " (Windows asked to show it as built)" : "") +
           "; the cursor on screen now: " + shown;
}

SizeFacts game_facts(float setting, int width, int height, int display_dpi) {
    resolve_once();
    SizeFacts facts = {};
    facts.setting = setting;
    facts.window_width = facts.shown_width = width;
    facts.window_height = facts.shown_height = height;
    facts.screen_width = HOST_SCREEN_WIDTH;
    facts.screen_height = HOST_SCREEN_HEIGHT;
    facts.wrapper = folder_wrapper_picture(".", game_program_name().c_str(), NULL);
    facts.pointer_size = read_pointer_size();
    facts.exact_pixels = cursors_show_as_built();
    facts.gamescope = under_gamescope();
    // The game is unaware of display scaling: the system stretches its
    // window, and where cursors show as built the module measures that.
    if (facts.exact_pixels && display_dpi > 0) {
        facts.shown_width = MulDiv(width, display_dpi, USER_DEFAULT_SCREEN_DPI);
        facts.shown_height = MulDiv(height, display_dpi, USER_DEFAULT_SCREEN_DPI);
    }
    return facts;
}

CursorSize game_size(float setting, int width, int height) {
    return decide_cursor_size(game_facts(setting, width, height, display_facts().system_dpi));
}

void print_size_report(const SettingsReport& settings, int client_width, int client_height) {
    CursorSize size = game_size(settings.value, client_width, client_height);
    print_line("size         " + std::string(size.reasons));
    if (settings.mode == SCALE_AUTOMATIC) {
        int width, height;
        maximised_client(&width, &height);
        CursorSize maximised = game_size(settings.value, width, height);
        print_line("maximised    on this screen (" + size_words(width, height) + " inside): cursor 0 at " +
                   std::to_string(built_side(maximised, STANDARD_POINTER_SIZE)) + " px");
    }
    int pointer = clamp_pointer_size(read_pointer_size());
    if (pointer > STANDARD_POINTER_SIZE)
        print_line("pointer      Windows' pointer size is " + std::to_string(pointer) +
                   " px (Settings, Accessibility, Mouse pointer and touch): every cursor " +
                   factor_words(pointer) + " times as large, up to 256 px");
    else
        print_line("pointer      Windows' pointer size is the standard 32 px: it changes nothing");
    if (under_gamescope())
        print_line("gamescope    the game runs under gamescope: it shows the cursor at the pixels "
                   "built, not magnified with the game's picture (see the guide's Steam Deck part)");
    print_line("built        " + built_arrow_words(size));
}
