// How the patch primitives and the host patch set change code that may run
// at the same time: the instruction cache is flushed over exactly the bytes
// written, after they are written; a diverted call site's old destination is
// stored before any byte of the site changes; and a process whose code
// Windows refuses to make writable (exploit protection's code guard) gets no
// write at all and a line on the debug output.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "base/host_address_map.h"
#include "host/runtime/host_code.h"
#include "patching/host_patch_set.h"
#include "patching/patch_primitives.h"
#include "support/import_hooks.h"
#include "tests/support/code_bytes.h"

namespace {

const SIZE_T PAGE = 0x1000;
const SIZE_T CALL_LENGTH = 5;
// What Windows answers when the code guard refuses to make code writable.
const DWORD DYNAMIC_CODE_BLOCKED = 1655;

void* import_of(const char* function, void* replacement) {
    return replace_import(GetModuleHandleA(NULL), "kernel32.dll", function, replacement);
}

// --- the flush -----------------------------------------------------------

struct Flush {
    uintptr_t address;
    SIZE_T length;
    bool this_process;
    std::string bytes;  // what the flushed range held when it was flushed
};

typedef BOOL(WINAPI* FlushFn)(HANDLE, LPCVOID, SIZE_T);
FlushFn real_flush;
std::vector<Flush> flushes;

BOOL WINAPI recording_flush(HANDLE process, LPCVOID address, SIZE_T length) {
    Flush flush = {reinterpret_cast<uintptr_t>(address), length,
                   GetProcessId(process) == GetCurrentProcessId(),
                   std::string(static_cast<const char*>(address), length)};
    flushes.push_back(flush);
    return real_flush(process, address, length);
}

class Flushing : public testing::Test {
protected:
    void SetUp() override {
        real_flush = reinterpret_cast<FlushFn>(
            import_of("FlushInstructionCache", reinterpret_cast<void*>(recording_flush)));
        ASSERT_TRUE(real_flush != NULL);
        base_ = static_cast<uint8_t*>(
            VirtualAlloc(NULL, 2 * PAGE, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        memset(base_, 0x55, 2 * PAGE);
        DWORD previous;
        VirtualProtect(base_, 2 * PAGE, PAGE_EXECUTE_READ, &previous);
    }
    void TearDown() override {
        import_of("FlushInstructionCache", reinterpret_cast<void*>(real_flush));
        VirtualFree(base_, 0, MEM_RELEASE);
    }
    uintptr_t address(SIZE_T offset) const { return reinterpret_cast<uintptr_t>(base_) + offset; }
    // The one flush made, which must cover the bytes now at start.
    void expect_one_flush_of(uintptr_t start, SIZE_T length) {
        ASSERT_EQ(1u, flushes.size());
        EXPECT_TRUE(flushes[0].this_process);
        EXPECT_EQ(start, flushes[0].address);
        EXPECT_EQ(length, flushes[0].length);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(at(start)), length), flushes[0].bytes)
            << "flushed before the write";
    }

    uint8_t* base_;
};

TEST_F(Flushing, EachPrimitiveFlushesTheBytesItWroteAfterWritingThem) {
    uintptr_t site = address(PAGE - 2);  // across the page boundary
    redirect_call(site, site + 0x1234);
    expect_one_flush_of(site, CALL_LENGTH);

    flushes.clear();
    replace_pointer(address(0x40), 0xCAFEBABE);
    expect_one_flush_of(address(0x40), 4);

    flushes.clear();
    fill_bytes(address(0x100), 0x90, address(0x108));
    expect_one_flush_of(address(0x100), 8);
    EXPECT_EQ(0x90, *at(address(0x107)));
}

TEST_F(Flushing, NothingWrittenNothingFlushed) {
    void* reserved = VirtualAlloc(NULL, PAGE, MEM_RESERVE, PAGE_NOACCESS);
    uintptr_t address = reinterpret_cast<uintptr_t>(reserved);
    redirect_call(address, 0x10001000);
    fill_bytes(address, 0x90, address + 8);
    EXPECT_TRUE(flushes.empty());
    VirtualFree(reserved, 0, MEM_RELEASE);
}

// --- the order of a diversion --------------------------------------------

// The host's call sites are made read-and-execute when the primitives ask
// for writable code, so that the first write into a site faults; the fault
// handler notes what the site's stored old destination held at that
// moment, then lets the write go ahead.
typedef BOOL(WINAPI* ProtectFn)(LPVOID, SIZE_T, DWORD, PDWORD);
ProtectFn real_protect;

struct WatchedSite {
    uintptr_t site;
    uintptr_t* previous;
    uintptr_t old_destination;  // from the site's bytes before patching
    int first_writes;
    bool stored_before_write;
};
WatchedSite watched[2];

bool overlaps(uintptr_t start, SIZE_T length, uintptr_t site) {
    return start < site + CALL_LENGTH && site < start + length;
}

BOOL WINAPI writes_faulting_protect(LPVOID address, SIZE_T length, DWORD protection,
                                    PDWORD saved) {
    uintptr_t start = reinterpret_cast<uintptr_t>(address);
    for (const WatchedSite& site : watched)
        if (protection == PAGE_EXECUTE_READWRITE && overlaps(start, length, site.site))
            return real_protect(address, length, PAGE_EXECUTE_READ, saved);
    return real_protect(address, length, protection, saved);
}

LONG CALLBACK note_first_write(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->ExceptionInformation[0] != 1)
        return EXCEPTION_CONTINUE_SEARCH;
    uintptr_t written = record->ExceptionInformation[1];
    for (WatchedSite& site : watched) {
        if (!overlaps(written, 1, site.site))
            continue;
        site.first_writes++;
        site.stored_before_write = *site.previous == site.old_destination;
        DWORD ignored;
        real_protect(at(site.site), CALL_LENGTH, PAGE_EXECUTE_READWRITE, &ignored);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(DivertedCallSites, OldDestinationIsStoredBeforeTheSiteChanges) {
    install_host_code();
    const uintptr_t sites[] = {host_map::CALL_SITE_A, host_map::CALL_SITE_B};
    uintptr_t* previous[] = {&prev_call_a, &prev_call_b};
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(0xE8, *at(sites[i]));
        watched[i] = {sites[i], previous[i], sites[i] + CALL_LENGTH + read32(sites[i] + 1), 0,
                      false};
    }
    real_protect = reinterpret_cast<ProtectFn>(
        import_of("VirtualProtect", reinterpret_cast<void*>(writes_faulting_protect)));
    ASSERT_TRUE(real_protect != NULL);
    void* handler = AddVectoredExceptionHandler(1, note_first_write);
    apply_host_patch_set();
    RemoveVectoredExceptionHandler(handler);
    import_of("VirtualProtect", reinterpret_cast<void*>(real_protect));

    for (const WatchedSite& site : watched) {
        EXPECT_EQ(1, site.first_writes) << std::hex << site.site;
        EXPECT_TRUE(site.stored_before_write) << std::hex << site.site;
        EXPECT_EQ(site.old_destination, *site.previous);
        EXPECT_NE(site.old_destination, call_destination(site.site)) << std::hex << site.site;
    }
    EXPECT_EQ(host_call_result_a(7), run_call_site_routine_a(7));
    EXPECT_EQ(host_call_result_b(7), run_call_site_routine_b(7));
}

// --- refused writes --------------------------------------------------------

BOOL WINAPI code_guard_protect(LPVOID address, SIZE_T length, DWORD protection, PDWORD saved) {
    if (protection == PAGE_EXECUTE_READWRITE) {
        SetLastError(DYNAMIC_CODE_BLOCKED);
        return FALSE;
    }
    return real_protect(address, length, protection, saved);
}

std::string host_bytes() {
    return std::string(reinterpret_cast<char*>(at(host_map::CODE_START)),
                       host_map::IMAGE_END - host_map::CODE_START);
}

typedef void(WINAPI* DebugTextFn)(LPCSTR);
DebugTextFn real_debug_text;
std::vector<std::string> debug_lines;

void WINAPI recording_debug_text(LPCSTR text) {
    debug_lines.push_back(text);
    real_debug_text(text);
}

TEST(RefusedPatches, NothingChangesAndTheRefusalIsNamed) {
    install_host_code();
    std::string host_image = host_bytes();
    real_protect = reinterpret_cast<ProtectFn>(
        import_of("VirtualProtect", reinterpret_cast<void*>(code_guard_protect)));
    real_debug_text = reinterpret_cast<DebugTextFn>(
        import_of("OutputDebugStringA", reinterpret_cast<void*>(recording_debug_text)));
    ASSERT_TRUE(real_debug_text != NULL);
    apply_host_patch_set();
    import_of("OutputDebugStringA", reinterpret_cast<void*>(real_debug_text));
    import_of("VirtualProtect", reinterpret_cast<void*>(real_protect));

    EXPECT_TRUE(host_image == host_bytes()) << "a refused write changed the host image";
    // The first page refused stops the whole set.
    EXPECT_EQ(1, patch_refusals.count);
    EXPECT_EQ(DYNAMIC_CODE_BLOCKED, patch_refusals.first_error);
    ASSERT_EQ(1u, debug_lines.size());
    EXPECT_NE(std::string::npos, debug_lines[0].find("Exploit protection")) << debug_lines[0];
}

// Refuses the first protection the transaction tries to put back, as
// Windows may when the page changed meanwhile; every later call goes through.
int restores_refused;

BOOL WINAPI restore_refusing_protect(LPVOID address, SIZE_T length, DWORD protection,
                                     PDWORD saved) {
    if (protection != PAGE_EXECUTE_READWRITE && restores_refused++ == 0) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    return real_protect(address, length, protection, saved);
}

TEST(RefusedPatches, AProtectionThatCannotBePutBackUndoesEveryWrite) {
    install_host_code();
    std::string host_image = host_bytes();
    real_protect = reinterpret_cast<ProtectFn>(
        import_of("VirtualProtect", reinterpret_cast<void*>(restore_refusing_protect)));
    ASSERT_TRUE(real_protect != NULL);
    apply_host_patch_set();
    import_of("VirtualProtect", reinterpret_cast<void*>(real_protect));

    EXPECT_GT(restores_refused, 1) << "the protections were not tried again";
    EXPECT_TRUE(host_image == host_bytes()) << "a write was left in the host image";
    EXPECT_EQ(1, patch_refusals.count);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_ADDRESS), patch_refusals.first_error);
    const uintptr_t patched[] = {host_map::CALL_SITE_A, host_map::CALL_SITE_B,
                                 host_map::HOST_FILL_RANGES[0].start};
    for (uintptr_t address : patched) {
        MEMORY_BASIC_INFORMATION info = {};
        VirtualQuery(at(address), &info, sizeof info);
        EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), info.Protect) << std::hex << address;
    }
    EXPECT_EQ(host_call_result_a(7), run_call_site_routine_a(7));
}

TEST(RefusedPatches, AProbeOfCodeChangesNothing) {
    uintptr_t code = reinterpret_cast<uintptr_t>(apply_host_patch_set);
    MEMORY_BASIC_INFORMATION before = {}, after = {};
    VirtualQuery(at(code), &before, sizeof before);
    EXPECT_EQ(0u, code_patch_refusal(code));
    VirtualQuery(at(code), &after, sizeof after);
    EXPECT_EQ(before.Protect, after.Protect);

    void* reserved = VirtualAlloc(NULL, PAGE, MEM_RESERVE, PAGE_NOACCESS);
    EXPECT_NE(0u, code_patch_refusal(reinterpret_cast<uintptr_t>(reserved)));
    VirtualFree(reserved, 0, MEM_RELEASE);
    EXPECT_EQ(0, patch_refusals.count);
}

}  // namespace
