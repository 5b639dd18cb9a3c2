// What the rewritten imports lead to.
#include <string.h>

#include "host/wrapper/wrapper.h"

namespace {

bool reports_game_screen(HWND window) {
    return wrapper.window && wrapper.mode_width &&
           (window == wrapper.window || window == GetDesktopWindow());
}

BOOL WINAPI fake_get_client_rect(HWND window, LPRECT rect) {
    if (!rect || !reports_game_screen(window))
        return GetClientRect(window, rect);
    SetRect(rect, 0, 0, wrapper.mode_width, wrapper.mode_height);
    return TRUE;
}

BOOL WINAPI fake_get_window_rect(HWND window, LPRECT rect) {
    if (!rect || !reports_game_screen(window))
        return GetWindowRect(window, rect);
    SetRect(rect, 0, 0, wrapper.mode_width, wrapper.mode_height);
    return TRUE;
}

// Until the player clicks into the window the game's count and cursor are
// only recorded; once the wrapper has the pointer they go to the system.
int WINAPI fake_show_cursor(BOOL show) {
    if (!wrapper.window)
        return ShowCursor(show);
    if (wrapper.locked) {
        int count = ShowCursor(show);
        InterlockedExchange(&wrapper.game_cursor_count, count);
        return count;
    }
    return show ? InterlockedIncrement(&wrapper.game_cursor_count)
                : InterlockedDecrement(&wrapper.game_cursor_count);
}

HCURSOR WINAPI fake_set_cursor(HCURSOR cursor) {
    if (!wrapper.window)
        return SetCursor(cursor);
    HCURSOR previous = wrapper.game_cursor;
    wrapper.game_cursor = cursor;
    if (!wrapper.locked)
        return previous;
    HCURSOR shown = SetCursor(cursor_to_show(cursor));
    return draws_game_cursor() ? previous : shown;
}

// Where the wrapper draws the cursor itself, the system shows the empty
// one and the game is told its own.
HCURSOR WINAPI fake_get_cursor() {
    HCURSOR shown = GetCursor();
    return shown && shown == wrapper.empty_cursor ? wrapper.game_cursor : shown;
}

BOOL WINAPI fake_get_cursor_pos(LPPOINT point) {
    POINT at;
    if (!point || !game_pointer(&at))
        return GetCursorPos(point);
    *point = at;
    return TRUE;
}

LONG WINAPI fake_set_window_long(HWND window, int index, LONG value) {
    if (window == wrapper.window && wrapper.game_proc && index == GWL_WNDPROC) {
        WNDPROC previous = wrapper.game_proc;
        wrapper.game_proc = reinterpret_cast<WNDPROC>(value);
        return reinterpret_cast<LONG>(previous);
    }
    return SetWindowLongA(window, index, value);
}

LONG WINAPI fake_get_window_long(HWND window, int index) {
    if (window == wrapper.window && wrapper.game_proc && index == GWL_WNDPROC)
        return reinterpret_cast<LONG>(wrapper.game_proc);
    return GetWindowLongA(window, index);
}

FARPROC WINAPI fake_get_proc_address(HMODULE module, LPCSTR name) {
    FARPROC found = GetProcAddress(module, name);
    if (wrapper.settings.hook != HOOK_GAME_FOLDER || !module || !HIWORD(name))
        return found;
    if (module != GetModuleHandleA("user32.dll") && module != GetModuleHandleA("kernel32.dll"))
        return found;
    void* fake = fake_for(name);
    return fake ? reinterpret_cast<FARPROC>(fake) : found;
}

// A module loaded anew gets its imports rewritten at once.
template <typename Name, typename Load>
HMODULE load_and_rewrite(Name name, Load load) {
    HMODULE module = load(name);
    if (module)
        rewrite_game_imports();
    return module;
}

HMODULE WINAPI fake_load_library_a(LPCSTR name) { return load_and_rewrite(name, LoadLibraryA); }
HMODULE WINAPI fake_load_library_w(LPCWSTR name) { return load_and_rewrite(name, LoadLibraryW); }

HMODULE WINAPI fake_load_library_ex_a(LPCSTR name, HANDLE file, DWORD flags) {
    HMODULE module = LoadLibraryExA(name, file, flags);
    if (module)
        rewrite_game_imports();
    return module;
}

HMODULE WINAPI fake_load_library_ex_w(LPCWSTR name, HANDLE file, DWORD flags) {
    HMODULE module = LoadLibraryExW(name, file, flags);
    if (module)
        rewrite_game_imports();
    return module;
}

struct Fake {
    const char* name;
    void* function;
};

const Fake FAKES[] = {
    {"GetClientRect", reinterpret_cast<void*>(fake_get_client_rect)},
    {"GetWindowRect", reinterpret_cast<void*>(fake_get_window_rect)},
    {"ShowCursor", reinterpret_cast<void*>(fake_show_cursor)},
    {"SetCursor", reinterpret_cast<void*>(fake_set_cursor)},
    {"GetCursor", reinterpret_cast<void*>(fake_get_cursor)},
    {"GetCursorPos", reinterpret_cast<void*>(fake_get_cursor_pos)},
    {"SetWindowLongA", reinterpret_cast<void*>(fake_set_window_long)},
    {"GetWindowLongA", reinterpret_cast<void*>(fake_get_window_long)},
    {"GetProcAddress", reinterpret_cast<void*>(fake_get_proc_address)},
    {"LoadLibraryA", reinterpret_cast<void*>(fake_load_library_a)},
    {"LoadLibraryW", reinterpret_cast<void*>(fake_load_library_w)},
    {"LoadLibraryExA", reinterpret_cast<void*>(fake_load_library_ex_a)},
    {"LoadLibraryExW", reinterpret_cast<void*>(fake_load_library_ex_w)},
};

}  // namespace

HCURSOR cursor_to_show(HCURSOR cursor) {
    return draws_game_cursor() && cursor ? wrapper.empty_cursor : cursor;
}

bool game_pointer(POINT* at) {
    if (!wrapper.window || !wrapper.mode_width || !GetCursorPos(at) ||
        !ScreenToClient(wrapper.window, at))
        return false;
    const RECT& picture = wrapper.picture;
    int x = at->x - picture.left, y = at->y - picture.top;
    x = x > 0 ? x : 0;
    y = y > 0 ? y : 0;
    // As cnc-ddraw scales: from the picture's last pixel to the mode's.
    int picture_width = picture.right - picture.left, picture_height = picture.bottom - picture.top;
    if ((wrapper.settings.adjmouse || draws_game_cursor()) && picture_width > 1 && picture_height > 1) {
        x = static_cast<int>(x * static_cast<float>(wrapper.mode_width - 1) / (picture_width - 1) + 0.5f);
        y = static_cast<int>(y * static_cast<float>(wrapper.mode_height - 1) / (picture_height - 1) + 0.5f);
    }
    at->x = x < wrapper.mode_width - 1 ? x : wrapper.mode_width - 1;
    at->y = y < wrapper.mode_height - 1 ? y : wrapper.mode_height - 1;
    return true;
}

void* fake_for(const char* name) {
    for (const Fake& fake : FAKES)
        if (strcmp(fake.name, name) == 0)
            return fake.function;
    return NULL;
}
