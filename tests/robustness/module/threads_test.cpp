// A host thread calling through both diverted call sites in a tight loop
// while the window's thread rescales the cursors 500 times, as a resize in
// automatic mode does (the client size changes, then the rescale timer's
// message): no crash, every call returns its host routine's result, and no
// handle is leaked or destroyed twice.
#include <stdio.h>

#include <set>

#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "tests/module/module_fixture.h"
#include "tests/support/cursor_ledger.h"
#include "window/cursor_window.h"

namespace {

const int RESCALES = 500;
const SIZE CLIENTS[] = {{960, 720}, {1280, 960}, {1600, 900}, {800, 600}};

struct HostThread {
    volatile LONG stop;
    volatile LONG calls;
    volatile LONG wrong_results;
};

DWORD WINAPI call_sites_in_a_loop(void* parameter) {
    HostThread* thread = static_cast<HostThread*>(parameter);
    for (int argument = 0; !thread->stop; ++argument) {
        if (run_call_site_routine_a(argument) != host_call_result_a(argument))
            InterlockedIncrement(&thread->wrong_results);
        if (run_call_site_routine_b(-argument) != host_call_result_b(-argument))
            InterlockedIncrement(&thread->wrong_results);
        InterlockedExchangeAdd(&thread->calls, 2);
    }
    return 0;
}

TEST_F(ModuleInHost, HostCallsRunWhileTheWindowThreadRescales500Times) {
    HMODULE module = load_plugin_unstarted();
    ASSERT_TRUE(module != NULL);
    ASSERT_TRUE(ledger::install(module));
    int result;
    ASSERT_TRUE(call_yrp_init(module, &result));
    set_host_cursor_kind(5);
    set_host_animated_set(true);  // slot 5 has an animated cursor of its own

    HostThread host = {};
    HANDLE thread = CreateThread(NULL, 0, call_sites_in_a_loop, &host, 0, NULL);
    ASSERT_TRUE(thread != NULL);
    long created_before = ledger::counts().created;
    DWORD start = GetTickCount();
    for (int i = 0; i < RESCALES; ++i) {
        SIZE client = CLIENTS[i % 4];
        set_client_size(window, client.cx, client.cy);
        SendMessageA(window, WM_TIMER, RESCALE_TIMER_ID, 0);
    }
    DWORD elapsed = GetTickCount() - start;
    host.stop = 1;
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    CloseHandle(thread);

    // What the tables hold now, read as the host does, is all that lives.
    std::set<HCURSOR> held;
    for (int kind = 0; kind < 22; ++kind) {
        for (bool animated : {false, true}) {
            set_host_animated_set(animated);
            set_host_cursor_kind(static_cast<uint8_t>(kind));
            ask_for_client_cursor(window);
            HCURSOR cursor = ledger::last_set_cursor();
            EXPECT_TRUE(cursor && ledger::is_live(cursor)) << kind;
            held.insert(cursor);
        }
    }
    LedgerCounts counts = ledger::counts();
    std::set<HCURSOR> live = ledger::live();
    long leaked = 0;
    for (HCURSOR cursor : live)
        leaked += held.count(cursor) == 0;
    printf("threads: %d rescales in %lu ms (%lu ms each) while the host thread made %ld calls;\n"
           "  handles created %ld, destroyed %ld, alive %u, leaked %ld, destroyed twice %ld,\n"
           "  SetCursor with a handle destroyed meanwhile %ld of %ld, wrong results %ld,\n"
           "  longest SetCursor %ld ms (a reload waits up to 100 ms for a reader to leave)\n",
           RESCALES, elapsed, elapsed / RESCALES, static_cast<long>(host.calls),
           counts.created - created_before, counts.destroyed, static_cast<unsigned>(live.size()),
           leaked, counts.double_destroys, counts.stale_set_cursor, counts.set_cursor_calls,
           static_cast<long>(host.wrong_results), counts.longest_set_cursor_ms);
    EXPECT_EQ(0, host.wrong_results);
    EXPECT_EQ(0, counts.stale_set_cursor) << "a host thread set a handle destroyed meanwhile";
    EXPECT_EQ(0, counts.null_set_cursor) << "a rescale hid the pointer";
    EXPECT_GT(host.calls, 2 * RESCALES) << "the host thread ran throughout";
    EXPECT_EQ(0, leaked);
    EXPECT_EQ(0, counts.double_destroys);
    EXPECT_EQ(0, ledger::open_icon_bitmaps());
    EXPECT_GE(counts.created - created_before, static_cast<long>(RESCALES) * LOADS_PER_DEFAULT_SET)
        << "every rescale reloaded every file";
}

}  // namespace
