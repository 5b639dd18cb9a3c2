// The one owner of the cursors' size: reads the setting once at start-up,
// loads both cursor sets at the scale it selects, and reloads them at the
// window's scale after a resize in automatic mode. Start-up and the window
// procedure call it; it calls the cursor loader.
#pragma once

// The scale read at start-up; 0 means automatic. Never changed afterwards.
extern float cursor_scale;

// Reads cursor_scale and loads both cursor sets once: at a fixed scale as
// it is; in automatic mode at the window's scale when the window can be
// measured and has an area, else at native size; in native mode at native
// size.
void load_cursors_at_start();

// scale_for_client against the host's screen size, read from the host now.
float compute_auto_scale(int width, int height);

// In automatic mode, measures the host window's client area and reloads both
// cursor sets at the matching scale: the magnification of the picture a
// known wrapper shows there, 1 where the wrapper magnifies the cursor with
// the frame, else the client area's own scale. Does nothing in the other
// modes, when the window can't be measured, or when it has no area
// (minimised). False when a load already running refused the reload (the
// caller tries again later), else true.
bool auto_rescale();

// In automatic mode, whether the window's scale now differs from the one the
// cursors were last loaded at: a resize went by that no rescale followed.
bool window_scale_changed();
