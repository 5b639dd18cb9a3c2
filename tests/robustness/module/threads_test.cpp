// A host thread calling through both diverted call sites in a tight loop
// while the window's thread rescales the cursors 500 times, as a resize in
// automatic mode does (the client size changes, then the rescale timer's
// message): no crash, every call returns its host routine's result, and no
// handle is leaked or destroyed twice. And a slower host thread counted in a
// read as reloads start does not hold them up.
#include <stdio.h>

#include <set>

#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "support/cursor_ledger.h"
#include "support/import_hooks.h"
#include "tests/module/module_fixture.h"
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

// A host thread of lower priority than the window's, on the same processor,
// counted in a read when each reload starts: the reader holds on in SetCursor
// with work to do until the reload has begun. On Windows a reload that only
// yields to threads of its own priority never lets it finish, waits out its
// limit and keeps the old handles, beyond what it can keep. Wine applies no
// thread priority and yields alike either way, so there the case passes
// whichever way the reload yields.
const int SLOW_READS = 6;
const DWORD ONE_PROCESSOR = 1;

struct SlowReader {
    DWORD thread_id;
    HANDLE read_wanted, in_read;
    volatile LONG stop;
};
SlowReader slow_reader;
typedef HCURSOR(WINAPI* SetCursorFn)(HCURSOR);
SetCursorFn ledger_set_cursor;

HCURSOR WINAPI slow_set_cursor(HCURSOR cursor) {
    if (GetCurrentThreadId() == slow_reader.thread_id) {
        SetEvent(slow_reader.in_read);
        // Work that needs the processor the reloading thread holds.
        for (volatile int i = 0; i < 3000000; ++i) {
        }
    }
    return ledger_set_cursor(cursor);
}

DWORD WINAPI read_when_asked(void*) {
    while (WaitForSingleObject(slow_reader.read_wanted, 10000) == WAIT_OBJECT_0 &&
           !slow_reader.stop)
        run_call_site_routine_a(1);
    return 0;
}

TEST_F(ModuleInHost, AReloadLetsALowerPriorityThreadOnItsProcessorFinishItsRead) {
    HMODULE module = load_plugin_unstarted();
    ASSERT_TRUE(module != NULL);
    ASSERT_TRUE(ledger::install(module));
    ledger_set_cursor = reinterpret_cast<SetCursorFn>(replace_import(
        module, "user32.dll", "SetCursor", reinterpret_cast<void*>(slow_set_cursor)));
    ASSERT_TRUE(ledger_set_cursor != NULL);
    int result;
    ASSERT_TRUE(call_yrp_init(module, &result));

    slow_reader.read_wanted = CreateEventA(NULL, FALSE, FALSE, NULL);
    slow_reader.in_read = CreateEventA(NULL, FALSE, FALSE, NULL);
    HANDLE thread = CreateThread(NULL, 0, read_when_asked, NULL, CREATE_SUSPENDED,
                                 &slow_reader.thread_id);
    ASSERT_TRUE(thread != NULL);
    DWORD_PTR previous_affinity = SetThreadAffinityMask(GetCurrentThread(), ONE_PROCESSOR);
    SetThreadAffinityMask(thread, ONE_PROCESSOR);
    SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    ResumeThread(thread);
    for (int i = 0; i < SLOW_READS; ++i) {
        SetEvent(slow_reader.read_wanted);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(slow_reader.in_read, 10000));
        SIZE client = CLIENTS[i % 4];
        set_client_size(window, client.cx, client.cy);
        SendMessageA(window, WM_TIMER, RESCALE_TIMER_ID, 0);
    }
    slow_reader.stop = 1;
    SetEvent(slow_reader.read_wanted);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    SetThreadAffinityMask(GetCurrentThread(), previous_affinity);
    CloseHandle(thread);
    CloseHandle(slow_reader.read_wanted);
    CloseHandle(slow_reader.in_read);

    // Every handle alive is one the tables hold: 22 base cursors and the one
    // animated file.
    LedgerCounts counts = ledger::counts();
    printf("threads: %d reloads with a slow reader: created %ld, destroyed %ld, alive %u\n",
           SLOW_READS, counts.created, counts.destroyed,
           static_cast<unsigned>(ledger::live().size()));
    EXPECT_EQ(static_cast<size_t>(LOADS_PER_DEFAULT_SET), ledger::live().size());
    EXPECT_EQ(0, counts.stale_set_cursor);
    EXPECT_EQ(0, counts.double_destroys);
}

}  // namespace
