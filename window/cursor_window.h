// The procedure put in front of the host's own on its main window: it sets
// the cursor for the client area and rescales the cursors one second after
// the window's size or the display last changed.
#pragma once

#include <windows.h>

// Window timer (no procedure) that carries the debounced rescale.
const UINT_PTR RESCALE_TIMER_ID = 0x20435170;
const UINT RESCALE_DELAY_MS = 1000;

// The host's own procedure, as the subclassing returned it.
extern WNDPROC prev_wnd_proc;

// Subclasses the host's main window with cursor_wnd_proc.
void subclass_host_window();

// WM_SETCURSOR over the client area: sets the current cursor and answers
// TRUE. WM_SIZE restored or maximised, WM_WINDOWPOSCHANGED with a new size
// and WM_DISPLAYCHANGE: (re)arm the rescale timer (a move alone does not). The
// rescale timer: runs the rescale unless a host dialog is open. Everything
// else goes to the host's procedure unchanged.
LRESULT CALLBACK cursor_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
