// Finding the system's own functions past whatever the process's imports
// were rewritten to.
#include <gtest/gtest.h>

#include <string.h>

#include "base/module_state.h"
#include "base/system_functions.h"
#include "support/import_hooks.h"

namespace {

BOOL WINAPI reports_the_game_screen(HWND, LPRECT rect) {
    SetRect(rect, 0, 0, 640, 480);
    return TRUE;
}

TEST(SystemFunctions, FindLoadedModulesByFileNameOnly) {
    EXPECT_EQ(GetModuleHandleA("user32.dll"), find_loaded_module(L"user32.dll"));
    EXPECT_EQ(GetModuleHandleA("kernel32.dll"), find_loaded_module(L"KERNEL32.DLL"));
    EXPECT_TRUE(find_loaded_module(L"ser32.dll") == NULL) << "part of a file name";
    EXPECT_TRUE(find_loaded_module(L"user32") == NULL);
    EXPECT_TRUE(find_loaded_module(L"no-such-module.dll") == NULL);
}

// While another thread holds the loader's lock (loading a module, say), the
// list is not read: the search waits for the lock.
typedef LONG(NTAPI* LockLoaderFn)(ULONG, ULONG*, ULONG_PTR*);
typedef LONG(NTAPI* UnlockLoaderFn)(ULONG, ULONG_PTR);

HANDLE started, go, found_it;

// Running before the lock is taken, and telling by an event when it has
// searched: a thread starting up or ending waits for the lock itself.
DWORD WINAPI find_user32(void* found) {
    SetEvent(started);
    WaitForSingleObject(go, 10000);
    *static_cast<HMODULE*>(found) = find_loaded_module(L"user32.dll");
    SetEvent(found_it);
    return 0;
}

TEST(SystemFunctions, TheModuleListIsReadUnderTheLoadersLock) {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    LockLoaderFn lock = reinterpret_cast<LockLoaderFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrLockLoaderLock")));
    UnlockLoaderFn unlock = reinterpret_cast<UnlockLoaderFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrUnlockLoaderLock")));
    ASSERT_TRUE(lock && unlock);
    started = CreateEventA(NULL, TRUE, FALSE, NULL);
    go = CreateEventA(NULL, TRUE, FALSE, NULL);
    found_it = CreateEventA(NULL, TRUE, FALSE, NULL);
    HMODULE found = NULL;
    HANDLE thread = CreateThread(NULL, 0, find_user32, &found, 0, NULL);
    ASSERT_TRUE(thread != NULL);
    ULONG disposition = 0;
    ULONG_PTR cookie = 0;
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(started, 10000));
    ASSERT_EQ(0, lock(0, &disposition, &cookie));
    SetEvent(go);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(found_it, 200))
        << "read while the lock was held";
    unlock(0, cookie);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    CloseHandle(thread);
    CloseHandle(started);
    CloseHandle(go);
    CloseHandle(found_it);
    EXPECT_EQ(GetModuleHandleA("user32.dll"), found);
}

TEST(SystemFunctions, ReadExportsAsTheLoaderHasThem) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    const char* names[] = {"GetClientRect", "ShowCursor", "SetCursor", "GetWindowRect"};
    for (const char* name : names)
        EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(user32, name)), find_export(user32, name))
            << name;
    // A forwarded export names another module's function: not code here.
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    ASSERT_TRUE(GetProcAddress(kernel32, "HeapAlloc") != NULL);
    EXPECT_TRUE(find_export(kernel32, "HeapAlloc") == NULL);
    EXPECT_TRUE(find_export(user32, "GetClientRectX") == NULL);
    EXPECT_TRUE(find_export(user32, "GetClient") == NULL);
    EXPECT_TRUE(find_export(NULL, "GetClientRect") == NULL);
}

// A wrapper that rewrote this program's import and the module's resolution
// still meets the system's function.
TEST(SystemFunctions, GetPastARewrittenImport) {
    HMODULE program = GetModuleHandleA(NULL);
    void* imported = find_import(program, "user32.dll", "GetClientRect");
    ASSERT_TRUE(imported != NULL);
    void* original = replace_import(program, "user32.dll", "GetClientRect",
                                    reinterpret_cast<void*>(reports_the_game_screen));
    EXPECT_EQ(reinterpret_cast<void*>(reports_the_game_screen),
              find_import(program, "USER32.dll", "GetClientRect"));
    EXPECT_TRUE(find_import(program, "user32.dll", "NoSuchFunction") == NULL);
    EXPECT_TRUE(find_import(program, "no-such.dll", "GetClientRect") == NULL);

    client_rect_fn = reports_the_game_screen;
    resolve_client_rect();
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1280, 960, NULL, NULL, NULL, NULL);
    RECT rect = {};
    EXPECT_TRUE(client_rect_fn(window, &rect));
    EXPECT_EQ(1280, rect.right);
    EXPECT_EQ(960, rect.bottom);
    DestroyWindow(window);
    replace_import(program, "user32.dll", "GetClientRect", original);
}

// An export directory whose counts, times the size of an entry, wrap past
// 4 GiB: read as given, the table would seem to fit in a few bytes and the
// search would walk far past the image's one page.
struct WrappingCounts {
    const char* name;
    DWORD names, functions;
    WORD ordinal;
};

TEST(SystemFunctions, ExportCountsThatWrapWhenMultipliedAreRefused) {
    const WrappingCounts cases[] = {
        {"names", 0x80000001, 1, 0},
        {"functions", 1, 0x40000001, 0x3FF},
    };
    const DWORD EXPORTS = 0x200, NAMES = 0x300, ORDINALS = 0x340, FUNCTIONS = 0xF00;
    for (const WrappingCounts& counts : cases) {
        SCOPED_TRACE(counts.name);
        BYTE* page = static_cast<BYTE*>(
            VirtualAlloc(NULL, 0x1000, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        ASSERT_TRUE(page != NULL);
        IMAGE_DOS_HEADER* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(page);
        dos->e_magic = IMAGE_DOS_SIGNATURE;
        dos->e_lfanew = 0x40;
        IMAGE_NT_HEADERS* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(page + dos->e_lfanew);
        nt->Signature = IMAGE_NT_SIGNATURE;
        nt->OptionalHeader.SizeOfImage = 0xFFFFF000;  // the header's word for it
        nt->OptionalHeader.NumberOfRvaAndSizes = IMAGE_NUMBEROF_DIRECTORY_ENTRIES;
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT] = {EXPORTS, 0x40};
        IMAGE_EXPORT_DIRECTORY* exports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(page + EXPORTS);
        exports->NumberOfNames = counts.names;
        exports->NumberOfFunctions = counts.functions;
        exports->AddressOfNames = NAMES;
        exports->AddressOfNameOrdinals = ORDINALS;
        exports->AddressOfFunctions = FUNCTIONS;
        *reinterpret_cast<DWORD*>(page + NAMES) = 0x380;  // "Wanted"
        *reinterpret_cast<WORD*>(page + ORDINALS) = counts.ordinal;
        memcpy(page + 0x380, "Wanted", 7);
        EXPECT_TRUE(find_export(reinterpret_cast<HMODULE>(page), "Wanted") == NULL);
        EXPECT_TRUE(find_export(reinterpret_cast<HMODULE>(page), "Other") == NULL);
        VirtualFree(page, 0, MEM_RELEASE);
    }
}

}  // namespace
