#include "scaling/cursor_scaling.h"

#include <windows.h>

#include "base/host_address_map.h"
#include "base/module_state.h"
#include "base/system_functions.h"
#include "cursors/cursor_loader.h"
#include "settings/scale_policy.h"
#include "wrappers/wrappers.h"

float cursor_scale;
int pointer_size;

namespace {

// What the cursors were last loaded at, and from.
CursorSize loaded;
int loaded_pointer_size;
int loaded_shown_width, loaded_shown_height;

bool measured(const SizeFacts& facts) { return facts.shown_width > 0 && facts.shown_height > 0; }

bool automatic() { return scale_mode(cursor_scale) == SCALE_AUTOMATIC; }

// Loads both sets at the size the rule gives for `facts`, each cursor made
// to show at exactly its pixels where the system offers that; false when
// another load was running and refused this one.
bool load_for(const SizeFacts& facts) {
    CursorSize size = decide_cursor_size(facts);
    UINT previous = begin_exact_cursors();
    bool done = load_cursor_set(size.scale, size.side);
    end_exact_cursors(previous);
    if (!done)
        return false;
    loaded = size;
    loaded_pointer_size = facts.pointer_size;
    loaded_shown_width = facts.shown_width;
    loaded_shown_height = facts.shown_height;
    return true;
}

}  // namespace

SizeFacts facts_now() {
    SizeFacts facts = {};
    facts.setting = cursor_scale;
    facts.screen_width = host_screen_width();
    facts.screen_height = host_screen_height();
    facts.wrapper = loaded_wrapper_picture();
    facts.pointer_size = pointer_size;
    facts.exact_pixels = cursors_show_as_built();
    facts.gamescope = under_gamescope();
    HWND window = host_main_window();
    RECT client;
    if (client_rect_fn(window, &client) && client.right > 0 && client.bottom > 0) {
        facts.window_width = facts.shown_width = client.right;
        facts.window_height = facts.shown_height = client.bottom;
        // Where cursors show as built, they are built for the pixels the
        // player sees; elsewhere the system scales them with the window.
        if (facts.exact_pixels)
            physical_client_size(window, client, &facts.shown_width, &facts.shown_height);
    }
    return facts;
}

void load_cursors_at_start() {
    cursor_scale = read_size_setting();
    pointer_size = read_pointer_size();
    load_for(facts_now());
}

float compute_auto_scale(int width, int height) {
    return scale_for_client(width, height, host_screen_width(), host_screen_height());
}

bool auto_rescale() {
    if (!automatic() && pointer_size == loaded_pointer_size)
        return true;
    SizeFacts facts = facts_now();
    if (automatic() && !measured(facts))
        return true;
    return load_for(facts);
}

bool window_scale_changed() {
    if (pointer_size != loaded_pointer_size)
        return true;
    if (!automatic())
        return false;
    SizeFacts facts = facts_now();
    if (!measured(facts))
        return false;
    CursorSize size = decide_cursor_size(facts);
    return size.scale != loaded.scale || size.side != loaded.side;
}

bool pointer_size_changed() {
    pointer_size = read_pointer_size();
    return pointer_size != loaded_pointer_size;
}

bool screen_pixels_changed() {
    if (!automatic() || !cursors_show_as_built())
        return false;
    HWND window = host_main_window();
    RECT client;
    int width, height;
    return client_rect_fn(window, &client) && client.right > 0 && client.bottom > 0 &&
           physical_client_size(window, client, &width, &height) &&
           (width != loaded_shown_width || height != loaded_shown_height);
}
