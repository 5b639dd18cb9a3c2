// The one owner of the cursors' size: reads the setting once at start-up and
// the player's pointer size whenever it changes, decides the size with the
// one rule (scaling/size_rule.h) from what it measures now, and loads both
// cursor sets at it. Start-up and the window procedure call it; it calls the
// cursor loader.
#pragma once

#include "scaling/size_rule.h"

// The Size setting read at start-up; 0 means automatic. Never changed
// afterwards.
extern float cursor_scale;
// Windows' pointer size as last read, 0 when never set.
extern int pointer_size;

// Reads cursor_scale and the pointer size and loads both cursor sets once,
// at the size the rule gives for the window as it is now (in automatic mode
// a window that can't be measured or has no area gives each cursor's own
// size).
void load_cursors_at_start();

// What the module knows now, for the rule: the setting, the pointer size,
// the window's client area (as the game sees it and on screen), the game's
// screen, the wrapper beside the game with its settings read now, and how
// the system shows cursors. The window sizes are 0 when it can't be
// measured or has no area (minimised).
SizeFacts facts_now();

// scale_for_client against the host's screen size, read from the host now.
float compute_auto_scale(int width, int height);

// Reloads both cursor sets at the size the rule gives now: in automatic mode
// whenever the window can be measured and has an area; in the other modes
// only when the pointer size changed since the last load. False when a load
// already running refused the reload (the caller tries again later), else
// true.
bool auto_rescale();

// Whether a rescale now would load another size than the last load: in
// automatic mode a resize went by that no rescale followed; in any mode the
// pointer size changed.
bool window_scale_changed();

// Reads the pointer size again; true when it differs from the one the
// cursors were last loaded with.
bool pointer_size_changed();

// True when the window's pixels on screen differ from those of the last
// load while the game's view of it stayed (moved to a monitor of another
// display scaling); false where the system shows no such difference.
bool screen_pixels_changed();
