// Holding the animated cursor on screen for a while, so that a program
// outside Wine can watch what the X server shows (X screenshots hold no
// cursor): scripts/run.sh and a test check there that the frames take turns.
#pragma once

#include <windows.h>

// Shows the animated set's cursor 5 under the pointer on the host's window,
// says so on standard output, keeps it there for `milliseconds` and returns
// 0, or 1 when the plug-in set no cursor of its own for it.
int hold_animated_cursor(HWND window, DWORD milliseconds);
