// The patch transaction beside a real second thread running code on a page
// of its own (read and execute only): the thread is held still while the
// bytes change, and where it stopped decides whether the write may go ahead.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "patching/patch_transaction.h"
#include "support/import_hooks.h"
#include "tests/support/code_bytes.h"

namespace {

const SIZE_T PAGE = 0x1000;
const DWORD THREAD_WAIT_MS = 5000;

// Code a thread starts at, at the start of a page of its own: it takes one
// argument on the stack (a thread's start routine) and spins on a jump to
// itself at `spin` until a patch or the test lets it on.
struct ThreadCode {
    std::vector<uint8_t> bytes;
    SIZE_T spin;
};
const uint8_t JUMP_TO_ITSELF[] = {0xEB, 0xFE};

// mov eax, 7; jmp $; ret 4
const ThreadCode SPIN_AFTER_A_MOVE = {{0xB8, 0x07, 0x00, 0x00, 0x00, 0xEB, 0xFE, 0xC2, 0x04, 0x00},
                                      5};
// jmp $; nop x3; ret 4
const ThreadCode SPIN_FIRST = {{0xEB, 0xFE, 0x90, 0x90, 0x90, 0xC2, 0x04, 0x00}, 0};

// A thread spinning in code on a read-and-execute page, ended by the test.
class SpinningThread {
public:
    explicit SpinningThread(const ThreadCode& code) : code_(code) {
        page_ = static_cast<uint8_t*>(
            VirtualAlloc(NULL, PAGE, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        memcpy(page_, code.bytes.data(), code.bytes.size());
        DWORD previous;
        VirtualProtect(page_, PAGE, PAGE_EXECUTE_READ, &previous);
        FlushInstructionCache(GetCurrentProcess(), page_, PAGE);
        thread_ = CreateThread(NULL, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(page_), NULL, 0,
                               NULL);
    }
    ~SpinningThread() {
        if (WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT) {
            let_on();
            WaitForSingleObject(thread_, THREAD_WAIT_MS);
        }
        CloseHandle(thread_);
        VirtualFree(page_, 0, MEM_RELEASE);
    }
    uintptr_t address(SIZE_T offset) const { return reinterpret_cast<uintptr_t>(page_) + offset; }
    // Where the thread is stopped now.
    uintptr_t stopped_at() const {
        SuspendThread(thread_);
        CONTEXT context;
        context.ContextFlags = CONTEXT_CONTROL;
        uintptr_t eip = GetThreadContext(thread_, &context) ? context.Eip : 0;
        ResumeThread(thread_);
        return eip;
    }
    bool reached_spin() const {
        for (DWORD waited = 0; waited < THREAD_WAIT_MS; waited += 10, Sleep(10))
            if (stopped_at() == address(code_.spin))
                return true;
        return false;
    }
    // Replaces the jump to itself with no-operations, as a thread's own
    // code would move on.
    void let_on() {
        DWORD previous;
        VirtualProtect(page_, PAGE, PAGE_EXECUTE_READWRITE, &previous);
        memset(page_ + code_.spin, NO_OPERATION, sizeof JUMP_TO_ITSELF);
        VirtualProtect(page_, PAGE, previous, &previous);
        FlushInstructionCache(GetCurrentProcess(), page_, PAGE);
    }
    // The thread's exit code once it has ended; -1 while it runs.
    int ended_with() const {
        DWORD code = 0;
        if (WaitForSingleObject(thread_, THREAD_WAIT_MS) != WAIT_OBJECT_0 ||
            !GetExitCodeThread(thread_, &code))
            return -1;
        return static_cast<int>(code);
    }
    std::vector<uint8_t> code_now() const {
        return std::vector<uint8_t>(page_, page_ + code_.bytes.size());
    }
    DWORD protection() const {
        MEMORY_BASIC_INFORMATION info = {};
        VirtualQuery(page_, &info, sizeof info);
        return info.Protect;
    }

private:
    ThreadCode code_;
    uint8_t* page_;
    HANDLE thread_;
};

Patch patch_at(uintptr_t address, std::vector<uint8_t> bytes) {
    Patch patch = {address, bytes.size(), {}};
    memcpy(patch.bytes, bytes.data(), bytes.size());
    return patch;
}

struct StoppedThreadCase {
    const char* name;
    const ThreadCode* code;
    SIZE_T patch_offset;
    std::vector<uint8_t> patch_bytes;
    PatchOutcome outcome;
    int exit_code;  // once the patch, or the test, lets the thread on
};

const StoppedThreadCase STOPPED_THREAD_CASES[] = {
    // It runs the new instruction: mov eax, 42.
    {"at the patch's first byte", &SPIN_FIRST, 0, {0xB8, 0x2A, 0x00, 0x00, 0x00},
     PATCHES_WRITTEN, 42},
    // It runs on past the no-operations to the old ret.
    {"inside no-operations to the patch's end", &SPIN_AFTER_A_MOVE, 0,
     {0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90}, PATCHES_WRITTEN, 7},
    // mov eax, 42; jmp +0: it would resume inside the jump's operand.
    {"inside the new code", &SPIN_AFTER_A_MOVE, 0, {0xB8, 0x2A, 0x00, 0x00, 0x00, 0xEB, 0x00},
     PATCHES_CODE_IN_USE, 7},
};

TEST(PatchesBesideAThread, WhereTheThreadStoppedDecides) {
    for (const StoppedThreadCase& test : STOPPED_THREAD_CASES) {
        SCOPED_TRACE(test.name);
        SpinningThread thread(*test.code);
        ASSERT_TRUE(thread.reached_spin());
        Patch patch = patch_at(thread.address(test.patch_offset), test.patch_bytes);
        std::vector<uint8_t> expected = test.code->bytes;
        if (test.outcome == PATCHES_WRITTEN)
            memcpy(&expected[test.patch_offset], patch.bytes, patch.length);

        EXPECT_EQ(test.outcome, apply_patches(&patch, 1));
        EXPECT_EQ(expected, thread.code_now());
        EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), thread.protection());
        if (test.outcome != PATCHES_WRITTEN)
            thread.let_on();
        EXPECT_EQ(test.exit_code, thread.ended_with());
    }
}

// A thread counting as fast as it can, and how far it got while the patch
// was being written (the flush comes right after the write).
volatile LONG counted;
volatile bool counting;
LONG counted_during_flush = -1;

DWORD WINAPI count(void*) {
    while (counting)
        counted = counted + 1;
    return 0;
}

typedef BOOL(WINAPI* FlushFn)(HANDLE, LPCVOID, SIZE_T);
FlushFn real_flush;

BOOL WINAPI flush_watching_the_count(HANDLE process, LPCVOID address, SIZE_T length) {
    LONG before = counted;
    Sleep(50);
    counted_during_flush = counted - before;
    return real_flush(process, address, length);
}

TEST(PatchesBesideAThread, TheThreadIsHeldWhileTheBytesChange) {
    SpinningThread code(SPIN_FIRST);
    counting = true;
    HANDLE counter = CreateThread(NULL, 0, count, NULL, 0, NULL);
    while (counted < 1000)
        Sleep(1);
    real_flush = reinterpret_cast<FlushFn>(
        replace_import(GetModuleHandleA(NULL), "kernel32.dll", "FlushInstructionCache",
                       reinterpret_cast<void*>(flush_watching_the_count)));
    ASSERT_TRUE(real_flush != NULL);
    Patch patch = patch_at(code.address(0x100), {0x90, 0x90});
    PatchOutcome outcome = apply_patches(&patch, 1);
    replace_import(GetModuleHandleA(NULL), "kernel32.dll", "FlushInstructionCache",
                   reinterpret_cast<void*>(real_flush));
    // On a busy machine the thread may wait a while for a processor.
    LONG after = counted;
    for (DWORD waited = 0; counted == after && waited < THREAD_WAIT_MS; waited += 10)
        Sleep(10);
    EXPECT_GT(counted, after) << "the counting thread was left suspended";
    counting = false;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(counter, THREAD_WAIT_MS));
    CloseHandle(counter);

    EXPECT_EQ(PATCHES_WRITTEN, outcome);
    EXPECT_EQ(0, counted_during_flush) << "the counting thread ran while the bytes changed";
}

}  // namespace
