// The procedure put in front of the host's own on its main window: it sets
// the cursor for the client area and rescales the cursors one second after
// the window's size or the display last changed, and at once after the
// player changed the pointer size.
#pragma once

#include <windows.h>

// Window timer (no procedure) that carries the debounced rescale.
const UINT_PTR RESCALE_TIMER_ID = 0x20435170;

// Subclasses the host's main window. Then WM_SETCURSOR over the client area
// sets the current cursor and answers TRUE; WM_SIZE restored or maximised,
// WM_WINDOWPOSCHANGED with a new size (or a move to a monitor of another
// display scaling) and WM_DISPLAYCHANGE (re)arm the rescale timer; a
// WM_SETTINGCHANGE that comes with a new pointer size arms it to fire at
// once (one that comes with new display scaling, as a resize does). The
// rescale timer runs the rescale unless a host dialog is open, and arms
// itself again when a load running on another thread refused it. Everything else goes to the host's procedure
// unchanged. When the window's scale changed while the cursors loaded, the
// rescale is posted to the window at once.
void subclass_host_window();
