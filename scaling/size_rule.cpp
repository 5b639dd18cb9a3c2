#include "scaling/size_rule.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "cursors/cursor_plan.h"
#include "settings/scale_policy.h"

namespace {

const int LARGEST_POINTER_SIZE = 256;
// The side gamescope redraws every cursor at when Steam starts it with
// --cursor-scale-height 720 (Gaming Mode) on a screen under 1440 lines,
// as the Steam Deck's: a smaller one it enlarges with a blur.
const int GAMESCOPE_CURSOR_SIDE = 36;

// Appends one step to the reasons, "; " before all but the first; a step
// that does not fit is cut short, never the buffer overrun.
void add_step(CursorSize* size, const char* format, ...) {
    size_t used = strlen(size->reasons);
    if (used + 1 >= sizeof size->reasons)
        return;
    if (used) {
        _snprintf(size->reasons + used, sizeof size->reasons - used, "; ");
        size->reasons[sizeof size->reasons - 1] = '\0';
        used = strlen(size->reasons);
    }
    va_list arguments;
    va_start(arguments, format);
    _vsnprintf(size->reasons + used, sizeof size->reasons - used, format, arguments);
    va_end(arguments);
    size->reasons[sizeof size->reasons - 1] = '\0';
}

// A factor to a few digits: 2, 2.25, 1.875.
double shown(float factor) { return static_cast<double>(factor); }

const char* fit_words(PictureFit fit) {
    switch (fit) {
        case FIT_ASPECT: return "keeps the aspect";
        case FIT_WHOLE_NUMBER: return "magnifies by whole numbers";
        case FIT_STRETCH: break;
    }
    return "stretches the picture";
}

// Automatic mode: how far the picture the player sees is magnified, with
// the steps that say so.
float picture_factor(const SizeFacts& facts, CursorSize* size) {
    int width = facts.shown_width, height = facts.shown_height;
    if (width == facts.window_width && height == facts.window_height)
        add_step(size, "Size=0 follows the game window: %dx%d", width, height);
    else
        add_step(size, "Size=0 follows the game window: %dx%d, %dx%d on screen (display scaling)",
                 facts.window_width, facts.window_height, width, height);
    float factor = wrapper_cursor_scale(facts.wrapper, width, height, facts.screen_width,
                                        facts.screen_height);
    RECT picture;
    if (facts.wrapper.draws_cursor)
        add_step(size, "%s draws the cursor into the game's picture and magnifies both: 1 times",
                 wrapper_name(facts.wrapper.kind));
    else if (facts.wrapper.kind == WRAPPER_CNC_DDRAW &&
             picture_rect(facts.wrapper, width, height, facts.screen_width, facts.screen_height,
                          &picture))
        add_step(size, "%s %s: picture %dx%d, %.4g times", wrapper_name(facts.wrapper.kind),
                 fit_words(facts.wrapper.fit), static_cast<int>(picture.right - picture.left),
                 static_cast<int>(picture.bottom - picture.top), shown(factor));
    else
        add_step(size, "%.4g times the game's %dx%d", shown(factor), facts.screen_width,
                 facts.screen_height);
    if (factor < 1.0f) {
        add_step(size, "never below a cursor's own size: 1 times");
        factor = 1.0f;
    }
    return factor;
}

}  // namespace

int clamp_pointer_size(int stored) {
    if (stored <= 0)
        return 0;
    if (stored < STANDARD_POINTER_SIZE)
        return STANDARD_POINTER_SIZE;
    return stored > LARGEST_POINTER_SIZE ? LARGEST_POINTER_SIZE : stored;
}

const char* wrapper_name(WrapperKind kind) {
    switch (kind) {
        case WRAPPER_CNC_DDRAW: return "cnc-ddraw";
        case WRAPPER_DDRAWCOMPAT: return "DDrawCompat";
        case WRAPPER_DXWRAPPER: return "dxwrapper";
        case WRAPPER_DGVOODOO: return "dgVoodoo";
        case WRAPPER_UNKNOWN: return "a ddraw.dll the plug-in does not know";
        case WRAPPER_NONE: break;
    }
    return "none";
}

CursorSize decide_cursor_size(const SizeFacts& facts) {
    CursorSize size = {};
    if (facts.wrapper.cursor_side > 0) {
        size.side = facts.wrapper.cursor_side;
        add_step(&size,
                 "%s redraws every cursor at %d px and magnifies it with the picture: Size and "
                 "the pointer size have no effect there; every cursor built at %d px",
                 wrapper_name(facts.wrapper.kind), size.side, size.side);
        return size;
    }
    float base = 0.0f;  // each cursor's own size
    switch (scale_mode(facts.setting)) {
        case SCALE_FIXED:
            base = effective_scale(facts.setting);
            add_step(&size, "Size=%g: %g times each cursor's own size", shown(facts.setting),
                     shown(base));
            break;
        case SCALE_NATIVE:
            add_step(&size, "Size=%g: each cursor at its own size", shown(facts.setting));
            break;
        case SCALE_AUTOMATIC:
            if (facts.shown_width > 0 && facts.shown_height > 0)
                base = picture_factor(facts, &size);
            else
                add_step(&size, "Size=0 follows the game window, which can't be measured now: "
                                "each cursor at its own size");
            break;
    }
    size.scale = base;
    int pointer = clamp_pointer_size(facts.pointer_size);
    if (pointer > STANDARD_POINTER_SIZE) {
        float factor = static_cast<float>(pointer) / STANDARD_POINTER_SIZE;
        // Own size (0) times the pointer's factor is the factor itself.
        size.scale = base == 0.0f ? factor : base * factor;
        add_step(&size, "your pointer size %d px: %.4g times that", pointer, shown(factor));
    }
    if (facts.gamescope) {
        add_step(&size, "gamescope shows the cursor at the pixels built, not magnified with the "
                        "picture; in Steam's Gaming Mode it redraws it at %d px a side per 720 "
                        "lines of the screen",
                 GAMESCOPE_CURSOR_SIDE);
        float least = static_cast<float>(GAMESCOPE_CURSOR_SIDE) / STANDARD_POINTER_SIZE;
        if (effective_scale(size.scale) < least) {
            size.scale = least;
            add_step(&size, "built at least %d px, so that it is never enlarged with a blur",
                     GAMESCOPE_CURSOR_SIDE);
        }
    }
    int side = built_side(size, STANDARD_POINTER_SIZE);
    add_step(&size, "a %d px cursor at %d px, at most %u", STANDARD_POINTER_SIZE, side,
             static_cast<unsigned>(MAX_CURSOR_SIDE));
    return size;
}

int built_side(const CursorSize& size, int own_side) {
    int side = size.side;
    if (!side) {
        int height = 0;
        asked_size(own_side, own_side, effective_scale(size.scale), &side, &height);
        if (!side)
            side = own_side;
    }
    return side > static_cast<int>(MAX_CURSOR_SIDE) ? static_cast<int>(MAX_CURSOR_SIDE) : side;
}
