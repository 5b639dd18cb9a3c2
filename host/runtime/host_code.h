// The stand-in host's code at the addresses the plug-in patches: two routines
// holding real call instructions at the two diverted call sites, two stubs
// that call through the two routine pointers, and recognisable code bytes in
// the ranges the plug-in overwrites. Written into the host image at start-up,
// after which the code pages are read and execute only.
#pragma once

#include <stdint.h>
#include <windows.h>

// What one of the host functions called from a call site saw when it ran.
struct HostCallLog {
    int runs;
    int last_argument;
    int last_result;
    HCURSOR cursor_seen;  // GetCursor() as the function ran
};
extern HostCallLog host_call_log_a;  // the function called from 0x417f28
extern HostCallLog host_call_log_b;  // the function called from 0x418026

// How often the host routines that the two routine pointers first lead to ran.
extern int pointer_routine_runs_a;  // pointer at 0x428931
extern int pointer_routine_runs_b;  // pointer at 0x4d48b8

// Results of the host functions behind call sites A and B for an argument.
inline int host_call_result_a(int argument) { return argument * 2 + 1; }
inline int host_call_result_b(int argument) { return argument * 3 + 2; }

// Result a call-site routine gives instead when the callee it reached did not
// keep EBX, ESI, EDI, EBP or the stack as the host's compiled code expects.
const int HOST_REGISTERS_CLOBBERED = static_cast<int>(0xBADC0DE5);

// Writes the host code into the host image and makes the code pages read and
// execute only (the data pages stay writable). May be called again.
void install_host_code();

// Whether install_host_code has run in this process.
bool host_code_installed();

// Runs the host routine holding call site A or B with an argument and returns
// its result.
int run_call_site_routine_a(int argument);
int run_call_site_routine_b(int argument);

// Runs the host stub that calls through routine pointer A or B; returns how far
// the call moved the stack pointer (0 when balanced).
int run_pointer_stub_a();
int run_pointer_stub_b();

// The address the call instruction at site leads to now.
uintptr_t call_destination(uintptr_t site);

// Runs each piece of patched host code once and prints what happened.
void tour_host_code();
