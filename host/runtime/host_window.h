// The stand-in host's main window: a normal overlapping window that the
// plug-in subclasses, with the host's own window procedure behind it.
#pragma once

#include <windows.h>

// Window class of the stand-in host's dialogs, as the real host names them.
const char HOST_DIALOG_CLASS[] = "SDlgDialog";

// What the host's own window procedure has received, for checks.
struct HostProcLog {
    int setcursor_messages;  // WM_SETCURSOR that reached the host
    LPARAM last_setcursor_lparam;
    int timer_messages;      // WM_TIMER that reached the host
    WPARAM last_timer_id;
    int size_messages;       // WM_SIZE that reached the host
};
extern HostProcLog host_proc_log;

// Registers the classes and creates the main window with the given client
// size, shown, and stores it in the host's main-window global. The host
// program's window takes the activation (`activate`), as a game's does; a
// test's is shown without taking it from the window that has it, so that it
// never sends a full-screen game of another test to the taskbar.
HWND create_host_window(int client_width, int client_height, bool activate = false);

// The client area's size as the system has it. A DirectDraw wrapper that
// rewrote the host's imports makes GetClientRect report the game's screen.
bool real_client_size(HWND window, SIZE* size);

// Resizes the window so that its client area has the given size.
void set_client_size(HWND window, int client_width, int client_height);

// Opens (or closes) the host's top-level "SDlgDialog" window.
void open_host_dialog();
void close_host_dialog();
bool host_dialog_open();

// Asks the window for its cursor as Windows does when the mouse moves over
// its client area (WM_SETCURSOR, HTCLIENT) and returns the cursor set then;
// the cursor is hidden first, so a window that sets none gives null.
HCURSOR ask_for_client_cursor(HWND window);

// Dispatches the thread's messages for about the given time (at least one
// pass), as the host's message loop would.
void pump_messages_for(DWORD milliseconds);

// Dispatches the thread's messages until a timer armed now on `window` for
// `delay_ms` has reached the host's procedure, or `limit_ms` has passed
// (false then). Timers fall due in the order they were armed, so a timer
// armed before with the same delay has had its turn: a wait for a one-second
// timer that may or may not fire, without a fixed sleep.
bool pump_through_timer(HWND window, DWORD delay_ms, DWORD limit_ms);

// Draws the host's scene (background and a status line) into a device
// context covering the client rectangle.
void paint_host_scene(HDC dc, const RECT& client);
