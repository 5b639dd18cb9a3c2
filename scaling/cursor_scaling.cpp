#include "scaling/cursor_scaling.h"

#include <windows.h>

#include "base/host_address_map.h"
#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "settings/scale_policy.h"
#include "wrappers/wrappers.h"

float cursor_scale;

namespace {

// The scale the cursors were last loaded at.
float loaded_scale;

// Loads both sets at `scale`; false when another load was running and
// refused this one.
bool load_at(float scale) {
    if (!load_cursor_set(scale))
        return false;
    loaded_scale = scale;
    return true;
}

// The scale in automatic mode: the magnification of the picture the
// wrapper beside the game shows in the window (its settings read now, as
// the player may have changed them), or the window's own; false when the
// window can't be measured or has no area (minimised).
bool measure_window_scale(float* scale) {
    RECT client;
    if (!client_rect_fn(host_main_window(), &client))
        return false;
    if (client.right <= 0 || client.bottom <= 0)
        return false;
    *scale = wrapper_cursor_scale(loaded_wrapper_picture(), client.right, client.bottom,
                                  host_screen_width(), host_screen_height());
    return true;
}

}  // namespace

void load_cursors_at_start() {
    cursor_scale = read_size_setting();
    float scale = 0.0f;  // native size
    ScaleMode mode = scale_mode(cursor_scale);
    if (mode == SCALE_FIXED)
        scale = cursor_scale;
    else if (mode == SCALE_AUTOMATIC)
        measure_window_scale(&scale);  // one load, at the window's scale
    load_at(scale);
}

float compute_auto_scale(int width, int height) {
    return scale_for_client(width, height, host_screen_width(), host_screen_height());
}

bool auto_rescale() {
    float scale;
    if (scale_mode(cursor_scale) == SCALE_AUTOMATIC && measure_window_scale(&scale))
        return load_at(scale);
    return true;
}

bool window_scale_changed() {
    float scale;
    return scale_mode(cursor_scale) == SCALE_AUTOMATIC && measure_window_scale(&scale) &&
           scale != loaded_scale;
}
