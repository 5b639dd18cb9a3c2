// Cursor loads and cursor readers that overlap, on real threads: a load
// started while another runs refuses (and a rescale so refused is tried
// again), and a reader held inside SetCursor longer than a reload waits keeps
// the handle it read alive.
#include <gtest/gtest.h>

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "support/import_hooks.h"
#include "support/scratch_folder.h"
#include "window/cursor_window.h"

namespace {

typedef HCURSOR(WINAPI* SetCursorFn)(HCURSOR);
SetCursorFn real_set_cursor;
// The thread whose SetCursor stops, once, until `release` is set.
volatile DWORD held_thread;
HANDLE entered, release;

HCURSOR WINAPI holding_set_cursor(HCURSOR cursor) {
    if (InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(&held_thread), 0,
                                   static_cast<LONG>(GetCurrentThreadId())) ==
        static_cast<LONG>(GetCurrentThreadId())) {
        SetEvent(entered);
        WaitForSingleObject(release, INFINITE);
    }
    return real_set_cursor(cursor);
}

int width_of(HCURSOR cursor) {
    int width = 0, height = 0;
    probe_cursor_size(cursor, &width, &height);
    return width;
}

bool is_alive(HCURSOR cursor) { return width_of(cursor) != 0; }

DWORD WINAPI load_at_twice(void* loaded) {
    *static_cast<bool*>(loaded) = load_cursor_set(2.0f);
    return 0;
}

DWORD WINAPI show_current_cursor(void*) {
    apply_current_cursor();
    return 0;
}

class OverlappingUse : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(CURSOR_FOLDER, NULL);
        CreateDirectoryA(ANIMATED_CURSOR_FOLDER, NULL);
        set_host_cursor_kind(0);
        set_host_state_flags(0);
        ASSERT_TRUE(load_cursor_set(1.0f));
        entered = CreateEventA(NULL, TRUE, FALSE, NULL);
        release = CreateEventA(NULL, TRUE, FALSE, NULL);
        real_set_cursor = reinterpret_cast<SetCursorFn>(
            replace_import(GetModuleHandleA(NULL), "user32.dll", "SetCursor",
                           reinterpret_cast<void*>(holding_set_cursor)));
        ASSERT_TRUE(real_set_cursor != NULL);
    }
    void TearDown() override {
        SetEvent(release);
        if (real_set_cursor)
            replace_import(GetModuleHandleA(NULL), "user32.dll", "SetCursor",
                           reinterpret_cast<void*>(real_set_cursor));
        CloseHandle(entered);
        CloseHandle(release);
    }
    // Runs `function` on a thread and returns once that thread is held in
    // its SetCursor.
    HANDLE start_held(LPTHREAD_START_ROUTINE function, void* parameter) {
        DWORD id;
        HANDLE thread = CreateThread(NULL, 0, function, parameter, CREATE_SUSPENDED, &id);
        held_thread = id;
        ResumeThread(thread);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered, 10000)) << "never reached SetCursor";
        return thread;
    }
    void finish(HANDLE thread) {
        SetEvent(release);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
        CloseHandle(thread);
    }
    ScratchFolder scratch;
};

TEST_F(OverlappingUse, ALoadStartedWhileAnotherRunsRefusesAndChangesNothing) {
    bool first_loaded = false;
    // Held where the first load shows its new cursor: its handles are in.
    HANDLE loader = start_held(load_at_twice, &first_loaded);
    HCURSOR base[LOADED_SLOT_COUNT], animated[LOADED_SLOT_COUNT];
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        base[slot] = base_cursors[slot];
        animated[slot] = animated_cursors[slot];
    }
    EXPECT_FALSE(load_cursor_set(1.0f));
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        EXPECT_EQ(base[slot], base_cursors[slot]) << slot;
        EXPECT_EQ(animated[slot], animated_cursors[slot]) << slot;
        EXPECT_TRUE(is_alive(base[slot]) && is_alive(animated[slot])) << slot;
    }
    finish(loader);
    EXPECT_TRUE(first_loaded);
    EXPECT_EQ(64, width_of(base_cursors[0]));
    EXPECT_TRUE(load_cursor_set(1.0f)) << "a load that ended lets the next one run";
    EXPECT_EQ(32, width_of(base_cursors[0]));
}

// The window's rescale comes while a load runs on another thread (start-up
// on a host thread): it is refused, and tried again once the load is over.
TEST_F(OverlappingUse, ARescaleRefusedByARunningLoadIsTriedAgain) {
    set_host_screen_size(640, 480);
    HWND window = create_host_window(640, 480);  // scale 1: the own size
    ASSERT_TRUE(window != NULL);
    subclass_host_window();
    bool loaded = false;
    HANDLE loader = start_held(load_at_twice, &loaded);
    SendMessageA(window, WM_TIMER, RESCALE_TIMER_ID, 0);
    finish(loader);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(64, width_of(base_cursors[0])) << "the running load's size";
    // No message was handled since: only the refused rescale can have armed
    // the timer (the one the rescale fired on is killed first).
    EXPECT_TRUE(KillTimer(window, RESCALE_TIMER_ID)) << "the rescale is tried again";
    SendMessageA(window, WM_TIMER, RESCALE_TIMER_ID, 0);  // as the timer brings it
    EXPECT_EQ(32, width_of(base_cursors[0]));
    DestroyWindow(window);
}

TEST_F(OverlappingUse, AReaderHeldPastTheWaitKeepsTheHandleItReadAlive) {
    HCURSOR read = base_cursors[0];
    HANDLE reader = start_held(show_current_cursor, NULL);
    DWORD start = GetTickCount();
    ASSERT_TRUE(load_cursor_set(2.0f));
    EXPECT_GE(GetTickCount() - start, 100u) << "the load waited for the reader";
    EXPECT_NE(read, base_cursors[0]);
    EXPECT_TRUE(is_alive(read)) << "destroyed while a reader was on its way to SetCursor";
    finish(reader);
    EXPECT_TRUE(is_alive(read));
    // No reader now: this load destroys the handles the last one kept.
    ASSERT_TRUE(load_cursor_set(1.0f));
    EXPECT_FALSE(is_alive(read)) << "a kept handle outlived the next load";
}

}  // namespace
