// The process's other threads, held still while the module rewrites code they
// may be running: a thread that fetched half of a rewritten instruction would
// run bytes that are neither the old code nor the new.
#pragma once

#include <stdint.h>
#include <windows.h>

// The most threads held at once; a game has a few dozen at most.
const int MAX_HELD_THREADS = 256;

// Threads suspended by hold_other_threads, with where each was stopped.
struct HeldThreads {
    int count;
    HANDLE handles[MAX_HELD_THREADS];
    // Each one's instruction pointer, or 0 when it could not be read (the
    // thread is still suspended).
    uintptr_t stopped_at[MAX_HELD_THREADS];
};

// Suspends every thread of this process but the calling one, as the system
// lists them at the call, and reads where each stopped. A thread started
// after the list was taken is not held. False, with none left suspended,
// when the list can't be taken or holds more than MAX_HELD_THREADS others.
bool hold_other_threads(HeldThreads* threads);

// Resumes and closes every thread hold_other_threads suspended.
void release_threads(HeldThreads* threads);
