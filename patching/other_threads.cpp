#include "patching/other_threads.h"

#include <tlhelp32.h>

namespace {

const DWORD HOLD_ACCESS = THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_QUERY_INFORMATION;
const DWORD SUSPEND_FAILED = static_cast<DWORD>(-1);

// Suspends one listed thread and notes where it stopped; false when the list
// is full. A thread that has ended since the list was taken is left out.
bool hold(HeldThreads* threads, DWORD id) {
    HANDLE thread = OpenThread(HOLD_ACCESS, FALSE, id);
    if (!thread)
        return true;
    if (threads->count == MAX_HELD_THREADS || SuspendThread(thread) == SUSPEND_FAILED) {
        CloseHandle(thread);
        return threads->count < MAX_HELD_THREADS;
    }
    // Suspension takes effect asynchronously; reading the thread's context
    // waits until it has.
    CONTEXT context;
    context.ContextFlags = CONTEXT_CONTROL;
    uintptr_t stopped_at = GetThreadContext(thread, &context) ? context.Eip : 0;
    threads->handles[threads->count] = thread;
    threads->stopped_at[threads->count] = stopped_at;
    threads->count++;
    return true;
}

}  // namespace

bool hold_other_threads(HeldThreads* threads) {
    threads->count = 0;
    // The list is taken before any thread is suspended: taking it allocates,
    // and a suspended thread may hold the heap's lock.
    HANDLE list = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (list == INVALID_HANDLE_VALUE)
        return false;
    const DWORD process = GetCurrentProcessId();
    const DWORD self = GetCurrentThreadId();
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    bool all = true;
    for (BOOL more = Thread32First(list, &entry); more && all; more = Thread32Next(list, &entry))
        if (entry.th32OwnerProcessID == process && entry.th32ThreadID != self)
            all = hold(threads, entry.th32ThreadID);
    CloseHandle(list);
    if (!all)
        release_threads(threads);
    return all;
}

void release_threads(HeldThreads* threads) {
    for (int i = 0; i < threads->count; ++i) {
        ResumeThread(threads->handles[i]);
        CloseHandle(threads->handles[i]);
    }
    threads->count = 0;
}
