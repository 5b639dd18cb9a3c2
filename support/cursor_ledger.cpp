#include "support/cursor_ledger.h"

#include "support/import_hooks.h"

namespace {

typedef HICON(WINAPI* CreateIconFn)(PBYTE, DWORD, BOOL, DWORD, int, int, UINT);
typedef BOOL(WINAPI* DestroyCursorFn)(HCURSOR);
typedef HCURSOR(WINAPI* SetCursorFn)(HCURSOR);
typedef BOOL(WINAPI* GetIconInfoFn)(HICON, PICONINFO);
typedef BOOL(WINAPI* DeleteObjectFn)(HGDIOBJ);

CreateIconFn real_create_icon = CreateIconFromResourceEx;
DestroyCursorFn real_destroy_cursor = DestroyCursor;
SetCursorFn real_set_cursor = SetCursor;
GetIconInfoFn real_get_icon_info = GetIconInfo;
DeleteObjectFn real_delete_object = DeleteObject;

CRITICAL_SECTION lock;
bool lock_ready;
std::set<HCURSOR> alive;
std::set<HGDIOBJ> icon_bitmaps;
LedgerCounts totals;
bool (*holder_check)(HCURSOR);
thread_local HCURSOR last_set;

class Locked {
public:
    Locked() { EnterCriticalSection(&lock); }
    ~Locked() { LeaveCriticalSection(&lock); }
};

void note_created(HANDLE handle) {
    if (!handle)
        return;
    Locked held;
    totals.created++;
    alive.insert(static_cast<HCURSOR>(handle));
}

HICON WINAPI counting_create_icon(PBYTE bytes, DWORD size, BOOL icon, DWORD version, int width,
                                  int height, UINT flags) {
    HICON handle = real_create_icon(bytes, size, icon, version, width, height, flags);
    note_created(handle);
    return handle;
}

BOOL WINAPI counting_destroy_cursor(HCURSOR cursor) {
    {
        Locked held;
        totals.destroyed++;
        if (!alive.erase(cursor))
            totals.double_destroys++;
        if (holder_check && holder_check(cursor))
            totals.destroyed_while_held++;
    }
    return real_destroy_cursor(cursor);
}

HCURSOR WINAPI counting_set_cursor(HCURSOR cursor) {
    {
        Locked held;
        totals.set_cursor_calls++;
        if (!cursor)
            totals.null_set_cursor++;
        if (cursor && !alive.count(cursor))
            totals.stale_set_cursor++;
    }
    last_set = cursor;
    DWORD start = GetTickCount();
    HCURSOR previous = real_set_cursor(cursor);
    long took = static_cast<long>(GetTickCount() - start);
    Locked held;
    if (took > totals.longest_set_cursor_ms)
        totals.longest_set_cursor_ms = took;
    return previous;
}

BOOL WINAPI counting_get_icon_info(HICON icon, PICONINFO info) {
    BOOL ok = real_get_icon_info(icon, info);
    if (ok) {
        Locked held;
        for (HBITMAP bitmap : {info->hbmColor, info->hbmMask})
            if (bitmap && icon_bitmaps.insert(bitmap).second)
                totals.icon_info_bitmaps++;
    }
    return ok;
}

BOOL WINAPI counting_delete_object(HGDIOBJ object) {
    {
        Locked held;
        if (icon_bitmaps.erase(object))
            totals.bitmaps_deleted++;
    }
    return real_delete_object(object);
}

template <typename Fn>
bool redirect(HMODULE module, const char* dll, const char* name, Fn replacement, Fn* real) {
    void* original = replace_import(module, dll, name, reinterpret_cast<void*>(replacement));
    if (!original)
        return false;
    if (original != reinterpret_cast<void*>(replacement))
        *real = reinterpret_cast<Fn>(original);
    return true;
}

}  // namespace

namespace ledger {

bool install(HMODULE module) {
    if (!lock_ready) {
        InitializeCriticalSection(&lock);
        lock_ready = true;
    }
    bool ok = redirect(module, "user32.dll", "CreateIconFromResourceEx", counting_create_icon,
                   &real_create_icon);
    ok &= redirect(module, "user32.dll", "DestroyCursor", counting_destroy_cursor,
                   &real_destroy_cursor);
    ok &= redirect(module, "user32.dll", "SetCursor", counting_set_cursor, &real_set_cursor);
    ok &= redirect(module, "user32.dll", "GetIconInfo", counting_get_icon_info, &real_get_icon_info);
    ok &= redirect(module, "gdi32.dll", "DeleteObject", counting_delete_object, &real_delete_object);
    return ok;
}

void set_holder_check(bool (*holds)(HCURSOR)) {
    Locked held;
    holder_check = holds;
}

bool is_live(HCURSOR cursor) {
    Locked held;
    return alive.count(cursor) != 0;
}

std::set<HCURSOR> live() {
    Locked held;
    return alive;
}

LedgerCounts counts() {
    Locked held;
    return totals;
}

long open_icon_bitmaps() {
    Locked held;
    return static_cast<long>(icon_bitmaps.size());
}

HCURSOR last_set_cursor() { return last_set; }

}  // namespace ledger
