// Every cursor handle the loader creates is counted through its imports:
// across many reloads at changing scales, none leaks, none is destroyed twice,
// and none is destroyed while a table still holds it.
#include <gtest/gtest.h>

#include <cmath>

#include <set>

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "tests/support/cursor_files.h"
#include "tests/support/import_hooks.h"
#include "tests/support/scratch_folder.h"

namespace {

typedef HANDLE(WINAPI* LoadImageFn)(HINSTANCE, LPCSTR, UINT, int, int, UINT);
typedef HICON(WINAPI* CreateIconFn)(PBYTE, DWORD, BOOL, DWORD, int, int, UINT);
typedef BOOL(WINAPI* DestroyCursorFn)(HCURSOR);

LoadImageFn real_load_image;
CreateIconFn real_create_icon;
DestroyCursorFn real_destroy_cursor;

std::set<HCURSOR> live;
int created, destroyed, double_destroys, destroys_in_table, resized_loads;

bool in_table(HCURSOR cursor) {
    for (int slot = 0; slot < CURSOR_SLOT_COUNT; ++slot)
        if (base_cursors[slot] == cursor || animated_cursors[slot] == cursor)
            return true;
    return false;
}

void note_created(HANDLE handle) {
    if (!handle)
        return;
    created++;
    live.insert(static_cast<HCURSOR>(handle));
}

HANDLE WINAPI counting_load_image(HINSTANCE instance, LPCSTR name, UINT type, int width,
                                  int height, UINT flags) {
    HANDLE handle = real_load_image(instance, name, type, width, height, flags);
    note_created(handle);
    return handle;
}

HICON WINAPI counting_create_icon(PBYTE bytes, DWORD size, BOOL icon, DWORD version, int width,
                                  int height, UINT flags) {
    HICON handle = real_create_icon(bytes, size, icon, version, width, height, flags);
    note_created(handle);
    resized_loads++;
    return handle;
}

BOOL WINAPI counting_destroy_cursor(HCURSOR cursor) {
    destroyed++;
    if (!live.erase(cursor))
        double_destroys++;
    if (in_table(cursor))
        destroys_in_table++;
    return real_destroy_cursor(cursor);
}

template <typename Fn>
Fn hook(const char* dll, const char* name, Fn replacement) {
    return reinterpret_cast<Fn>(replace_import(GetModuleHandleA(NULL), dll, name,
                                               reinterpret_cast<void*>(replacement)));
}

TEST(HandleAccounting, HundredReloadsAtChangingScalesLeakNothing) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
    real_load_image = hook("user32.dll", "LoadImageA", counting_load_image);
    real_create_icon = hook("user32.dll", "CreateIconFromResourceEx", counting_create_icon);
    real_destroy_cursor = hook("user32.dll", "DestroyCursor", counting_destroy_cursor);
    ASSERT_TRUE(real_load_image && real_create_icon && real_destroy_cursor);

    const float scales[] = {0.0f, 2.0f, 1.5f, 1.0f, 3.0f, 0.5f, 1.875f, INFINITY, 2.5f, 0.0f};
    for (int round = 0; round < 100; ++round) {
        // Players change files between loads: an own animated file comes and
        // goes, a base file breaks and is mended.
        if (round == 30)
            write_file("plugin\\Cursors\\Animated\\cursor7.ani", make_ani(32, 32));
        if (round == 40)
            write_file("plugin\\Cursors\\cursor7.ani", "broken");
        if (round == 60)
            DeleteFileA("plugin\\Cursors\\Animated\\cursor7.ani");
        if (round == 70)
            DeleteFileA("plugin\\Cursors\\cursor7.ani");
        load_cursor_set(scales[round % 10]);
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
            ASSERT_EQ(1u, live.count(base_cursors[slot])) << "round " << round << " slot " << slot;
            ASSERT_EQ(1u, live.count(animated_cursors[slot])) << "round " << round << " slot " << slot;
        }
    }

    std::set<HCURSOR> held;
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        held.insert(base_cursors[slot]);
        held.insert(animated_cursors[slot]);
    }
    EXPECT_EQ(0, double_destroys);
    EXPECT_EQ(0, destroys_in_table);
    EXPECT_EQ(held, live) << "every handle alive is held by a table";
    EXPECT_EQ(created - destroyed, static_cast<int>(live.size()));
    EXPECT_GT(resized_loads, 0) << "scaled loads went through the resizing path";
    printf("created %d, destroyed %d, alive %u, resized loads %d\n", created, destroyed,
           static_cast<unsigned>(live.size()), resized_loads);
}

}  // namespace
