// The host patch set applied by the real module in a host-like process whose
// code at the patched addresses is real (read and execute only), with or
// without a stand-in storm.dll. Every address is checked against the
// published patch set, written out below, not against the module's own
// address map: a range mistyped there, even one that keeps its length,
// changes bytes outside the published ones.
#include "tests/module/module_fixture.h"

#include <string.h>

#include <string>
#include <vector>

#include "base/host_address_map.h"
#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "patching/host_patch_set.h"
#include "support/import_hooks.h"
#include "tests/support/code_bytes.h"

namespace {

const uint8_t NOP = 0x90;

// The published patch set: the game build's two call sites and two routine
// pointers, its fills, and storm.dll's fills as offsets from its base.
struct Range {
    uintptr_t start;
    uintptr_t end;  // excluded
};
const uintptr_t CALL_SITE_A = 0x417f28;
const uintptr_t CALL_SITE_B = 0x418026;
const uintptr_t ROUTINE_POINTER_A = 0x428931;
const uintptr_t ROUTINE_POINTER_B = 0x4d48b8;
const Range HOST_FILLS[] = {
    {0x45ea9f, 0x45eaa7}, {0x45ead2, 0x45eada}, {0x45ee6f, 0x45ee77}, {0x45ee86, 0x45ee8e},
    {0x45f07c, 0x45f07d}, {0x45f083, 0x45f089}, {0x469bfa, 0x469c01}, {0x469dc0, 0x469dc8},
};
const int HOST_FILL_COUNT = 8;
const uintptr_t STORM_SIGNATURE_OFFSET = 0x10000;
const Range STORM_FILLS[] = {
    {0xf182, 0xf184},   {0xf185, 0xf18f},   {0xf2f4, 0xf2fc},   {0x11660, 0x11664},
    {0x12af7, 0x12af9}, {0x12afa, 0x12b00}, {0x12b59, 0x12b5d},
};
const int STORM_FILL_COUNT = 7;

uint8_t byte_at(uintptr_t address) { return *reinterpret_cast<const uint8_t*>(address); }

DWORD protection_of(uintptr_t address) {
    MEMORY_BASIC_INFORMATION info = {};
    VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info);
    return info.Protect;
}

uintptr_t image_size(HMODULE module) {
    const uint8_t* base = reinterpret_cast<const uint8_t*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    return reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew)
        ->OptionalHeader.SizeOfImage;
}

bool inside_module(HMODULE module, uintptr_t address) {
    uintptr_t base = reinterpret_cast<uintptr_t>(module);
    return address >= base && address < base + image_size(module);
}

bool in_ranges(const Range* ranges, int count, uintptr_t offset) {
    for (int i = 0; i < count; ++i)
        if (offset >= ranges[i].start && offset < ranges[i].end)
            return true;
    return false;
}

// A copy of memory, to find every byte that changed later.
struct Snapshot {
    Snapshot(uintptr_t start_, uintptr_t end_)
        : start(start_), bytes(reinterpret_cast<const uint8_t*>(start_),
                               reinterpret_cast<const uint8_t*>(end_)) {}
    std::vector<uintptr_t> changed() const {
        std::vector<uintptr_t> addresses;
        for (size_t i = 0; i < bytes.size(); ++i)
            if (byte_at(start + i) != bytes[i])
                addresses.push_back(start + i);
        return addresses;
    }
    uint8_t before(uintptr_t address) const { return bytes[address - start]; }
    uintptr_t start;
    std::vector<uint8_t> bytes;
};

const Range& last_host_range() { return HOST_FILLS[HOST_FILL_COUNT - 1]; }
const Range& first_storm_range() { return STORM_FILLS[0]; }
const Range& last_storm_range() { return STORM_FILLS[STORM_FILL_COUNT - 1]; }

bool within(uintptr_t address, uintptr_t start, uintptr_t length) {
    return address >= start && address < start + length;
}

class PatchSet : public ModuleInHost {
protected:
    HMODULE load_storm(const char* relative_path) {
        HMODULE storm = LoadLibraryA((program_folder() + relative_path).c_str());
        EXPECT_TRUE(storm != NULL) << relative_path;
        return storm;
    }
    // Starts the module; the result of yrp_init.
    int start() {
        plugin = start_plugin();
        EXPECT_TRUE(plugin.initialised);
        return plugin.result;
    }
    // The result of a start that leaves storm.dll as it was.
    int expect_storm_untouched(const char* relative_path) {
        HMODULE storm = load_storm(relative_path);
        if (!storm)
            return 0;
        uintptr_t base = reinterpret_cast<uintptr_t>(storm);
        Snapshot image(base, base + image_size(storm));
        int result = start();
        EXPECT_NE(0, result);
        EXPECT_TRUE(image.changed().empty());
        EXPECT_TRUE(inside_module(plugin.module, call_destination(CALL_SITE_A)));
        return result;
    }
    PluginLoad plugin = {};
};

TEST_F(PatchSet, HostFillsTurnExactly54BytesIntoNoOperations) {
    Snapshot host(host_map::CODE_START, host_map::IMAGE_END);
    EXPECT_EQ(0, start());
    int filled = 0;
    for (uintptr_t address : host.changed()) {
        if (in_ranges(HOST_FILLS, HOST_FILL_COUNT, address)) {
            EXPECT_NE(NOP, host.before(address));
            EXPECT_EQ(NOP, byte_at(address));
            ++filled;
        } else {
            // Only the two call displacements and the two pointers may change.
            EXPECT_TRUE(within(address, CALL_SITE_A + 1, 4) ||
                        within(address, CALL_SITE_B + 1, 4) ||
                        within(address, ROUTINE_POINTER_A, 4) ||
                        within(address, ROUTINE_POINTER_B, 4))
                << std::hex << address;
        }
    }
    EXPECT_EQ(54, filled);
    for (const Range& range : HOST_FILLS) {
        EXPECT_EQ(host.before(range.start - 1), byte_at(range.start - 1));
        EXPECT_EQ(host.before(range.end), byte_at(range.end));
    }
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ),
              protection_of(HOST_FILLS[0].start));
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), protection_of(CALL_SITE_A));
}

TEST_F(PatchSet, BothRoutinePointersLeadToARoutineThatReturnsAtOnce) {
    // Before: the host's own routines run, and the stubs keep the stack.
    EXPECT_EQ(0, run_pointer_stub_a());
    EXPECT_EQ(0, run_pointer_stub_b());
    ASSERT_EQ(1, pointer_routine_runs_a);
    ASSERT_EQ(1, pointer_routine_runs_b);

    start();
    uintptr_t routine = read32(ROUTINE_POINTER_A);
    EXPECT_EQ(routine, read32(ROUTINE_POINTER_B));
    EXPECT_TRUE(inside_module(plugin.module, routine));
    EXPECT_EQ(0xC3, byte_at(routine));  // ret
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(0, run_pointer_stub_a());
        ASSERT_EQ(0, run_pointer_stub_b());
    }
    EXPECT_EQ(1, pointer_routine_runs_a);
    EXPECT_EQ(1, pointer_routine_runs_b);
}

// What the host function behind a call site saw: runs the site's routine.
struct SiteCall {
    int result;
    HostCallLog log;
};

SiteCall call_site(char site, int argument) {
    SiteCall call;
    call.result = site == 'A' ? run_call_site_routine_a(argument)
                              : run_call_site_routine_b(argument);
    call.log = site == 'A' ? host_call_log_a : host_call_log_b;
    return call;
}

int expected_result(char site, int argument) {
    return site == 'A' ? host_call_result_a(argument) : host_call_result_b(argument);
}

TEST_F(PatchSet, DivertedCallsSetTheCursorBeforeTheHostRoutineRuns) {
    HCURSOR sentinel = LoadCursorA(NULL, IDC_HAND);
    for (char site : {'A', 'B'}) {
        SCOPED_TRACE(site);
        SetCursor(sentinel);
        SiteCall before = call_site(site, 5);
        EXPECT_EQ(sentinel, before.log.cursor_seen);  // the host alone sets nothing
        EXPECT_EQ(expected_result(site, 5), before.result);
    }
    start();
    EXPECT_TRUE(inside_module(plugin.module, call_destination(CALL_SITE_A)));
    EXPECT_TRUE(inside_module(plugin.module, call_destination(CALL_SITE_B)));
    for (char site : {'A', 'B'}) {
        SCOPED_TRACE(site);
        // A kind with no cursor: the hook hides the sentinel before the routine.
        set_host_cursor_kind(200);
        SetCursor(sentinel);
        SiteCall unloaded = call_site(site, 11);
        EXPECT_EQ(NULL, unloaded.log.cursor_seen);
        // A loaded kind, cursor hidden first: the routine sees the kind's cursor,
        // the one the module shows for it in the window.
        set_host_cursor_kind(3);
        HCURSOR shown = ask_for_client_cursor(window);
        SetCursor(NULL);
        SiteCall loaded = call_site(site, -40000);
        EXPECT_TRUE(loaded.log.cursor_seen != NULL);
        EXPECT_EQ(shown, loaded.log.cursor_seen);
        EXPECT_EQ(unloaded.log.runs + 1, loaded.log.runs);
    }
}

TEST_F(PatchSet, DivertedCallsPassTheArgumentAndReturnTheResultUnchanged) {
    start();
    const int arguments[] = {0, 1, 123456, -7, 0x3FFFFFFF};
    for (char site : {'A', 'B'}) {
        for (int argument : arguments) {
            SCOPED_TRACE(testing::Message() << site << " " << argument);
            SiteCall call = call_site(site, argument);
            // The routine checks EBX, ESI, EDI, EBP and ESP came back intact.
            EXPECT_NE(HOST_REGISTERS_CLOBBERED, call.result);
            EXPECT_EQ(expected_result(site, argument), call.result);
            EXPECT_EQ(argument, call.log.last_argument);
            EXPECT_EQ(call.log.last_result, call.result);
        }
    }
    EXPECT_EQ(5, host_call_log_a.runs);
    EXPECT_EQ(5, host_call_log_b.runs);
}

TEST_F(PatchSet, MatchingStormGetsExactly36NoOperations) {
    HMODULE storm = load_storm("\\storm.dll");
    ASSERT_TRUE(storm != NULL);
    uintptr_t base = reinterpret_cast<uintptr_t>(storm);
    ASSERT_EQ(0xC2, byte_at(base + STORM_SIGNATURE_OFFSET));
    DWORD protection = protection_of(base + first_storm_range().start);
    Snapshot image(base, base + image_size(storm));

    EXPECT_NE(0, start());
    std::vector<uintptr_t> changed = image.changed();
    EXPECT_EQ(36u, changed.size());
    for (uintptr_t address : changed) {
        EXPECT_TRUE(in_ranges(STORM_FILLS, STORM_FILL_COUNT,
                              address - base))
            << std::hex << address - base;
        EXPECT_EQ(NOP, byte_at(address));
    }
    // The single bytes between neighbouring ranges (0xf184 and 0x12af9).
    for (int i : {0, 4}) {
        uintptr_t kept = base + STORM_FILLS[i].end;
        EXPECT_EQ(kept + 1, base + STORM_FILLS[i + 1].start);
        EXPECT_EQ(image.before(kept), byte_at(kept));
    }
    EXPECT_EQ(protection, protection_of(base + first_storm_range().start));
    EXPECT_EQ(protection, protection_of(base + last_storm_range().start));
}

TEST_F(PatchSet, StormWithOneSignatureByteChangedIsLeftAlone) {
    EXPECT_NE(STORM_IMAGE_TOO_SMALL, expect_storm_untouched("\\storm_wrong_signature\\storm.dll"));
}

TEST_F(PatchSet, StormImageTooSmallIsLeftAlone) {
    HMODULE storm = load_storm("\\storm_too_small\\storm.dll");
    ASSERT_TRUE(storm != NULL);
    // It carries the signature, but not the last ranges.
    ASSERT_LT(image_size(storm), last_storm_range().end);
    ASSERT_EQ(0, memcmp(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(storm) +
                                                      STORM_SIGNATURE_OFFSET),
                        "\xC2\x8B\x54\x24\x2C\xD1\xF8\x8D", 8));
    EXPECT_EQ(STORM_IMAGE_TOO_SMALL, expect_storm_untouched("\\storm_too_small\\storm.dll"));
}

// Exploit protection's code guard refusing one page of the set: the module
// asks through its one import of VirtualProtect, which refuses that page as
// the guard does and passes every other request on.
typedef BOOL(WINAPI* ProtectFn)(LPVOID, SIZE_T, DWORD, PDWORD);
ProtectFn real_protect;
uintptr_t refused_page;
const DWORD DYNAMIC_CODE_BLOCKED = 1655;
const uintptr_t PAGE = 0x1000;

BOOL WINAPI guarded_protect(LPVOID address, SIZE_T length, DWORD protection, PDWORD saved) {
    uintptr_t start = reinterpret_cast<uintptr_t>(address);
    if (protection == PAGE_EXECUTE_READWRITE && start < refused_page + PAGE &&
        refused_page < start + length) {
        SetLastError(DYNAMIC_CODE_BLOCKED);
        return FALSE;
    }
    return real_protect(address, length, protection, saved);
}

struct RefusedPage {
    const char* name;
    uintptr_t address;  // in the host, or an offset into storm.dll
    bool in_storm;
};
void PrintTo(const RefusedPage& page, std::ostream* out) { *out << page.name; }
const RefusedPage REFUSED_PAGES[] = {
    {"AHostPageAmidTheHostPatches", 0x45f000, false},
    {"AStormPageAfterEveryHostPatch", 0x12000, true},
};

class PatchSetRefused : public PatchSet, public testing::WithParamInterface<RefusedPage> {};

TEST_P(PatchSetRefused, LeavesTheHostAndStormUntouchedAndTheCursorsShowing) {
    HMODULE storm = load_storm("\\storm.dll");
    ASSERT_TRUE(storm != NULL);
    uintptr_t base = reinterpret_cast<uintptr_t>(storm);
    refused_page = GetParam().address + (GetParam().in_storm ? base : 0);
    Snapshot host(host_map::CODE_START, host_map::IMAGE_END);
    Snapshot storm_image(base, base + image_size(storm));
    HMODULE module = load_plugin_unstarted();
    ASSERT_TRUE(module != NULL);
    real_protect = reinterpret_cast<ProtectFn>(replace_import(
        module, "kernel32.dll", "VirtualProtect", reinterpret_cast<void*>(guarded_protect)));
    ASSERT_TRUE(real_protect != NULL);
    int result = -1;
    ASSERT_TRUE(call_yrp_init(module, &result));

    EXPECT_EQ(0, result);
    std::vector<uintptr_t> changed = host.changed();
    EXPECT_TRUE(changed.empty()) << changed.size() << " host bytes changed";
    EXPECT_TRUE(storm_image.changed().empty());
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), protection_of(CALL_SITE_A));
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), protection_of(HOST_FILLS[0].start));
    EXPECT_EQ(host_call_result_a(9), run_call_site_routine_a(9));
    set_host_cursor_kind(3);
    EXPECT_TRUE(ask_for_client_cursor(window) != NULL) << "the cursors show";
}

INSTANTIATE_TEST_SUITE_P(OnePage, PatchSetRefused, testing::ValuesIn(REFUSED_PAGES),
                         [](const testing::TestParamInfo<RefusedPage>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(PatchSet, WithoutStormHostPatchesStandAndTheResultIsZero) {
    ASSERT_TRUE(GetModuleHandleA("storm.dll") == NULL);
    EXPECT_EQ(0, start());
    EXPECT_EQ(NOP, byte_at(last_host_range().end - 1));
    EXPECT_TRUE(inside_module(plugin.module, call_destination(CALL_SITE_B)));
    EXPECT_TRUE(inside_module(plugin.module, read32(ROUTINE_POINTER_B)));
}

}  // namespace

namespace {

TEST_F(PatchSet, AKindChangedByThePlayerPassesBothCallSitesWithTheNewCursor) {
    start();
    int runs_a = host_call_log_a.runs, runs_b = host_call_log_b.runs;
    SetCursor(NULL);
    SendMessageA(window, WM_KEYDOWN, '7', 0);
    EXPECT_EQ(7, host_cursor_kind());
    EXPECT_EQ(runs_a + 1, host_call_log_a.runs);
    EXPECT_EQ(runs_b + 1, host_call_log_b.runs);
    EXPECT_EQ(7, host_call_log_a.last_argument);
    // The hooks set kind 7's cursor before the host's routines ran.
    HCURSOR seen = host_call_log_a.cursor_seen;
    EXPECT_TRUE(seen != NULL);
    EXPECT_EQ(seen, host_call_log_b.cursor_seen);
    EXPECT_EQ(ask_for_client_cursor(window), seen);
    // Keys that change no kind pass through neither.
    SendMessageA(window, WM_KEYDOWN, 'Q', 0);
    EXPECT_EQ(runs_a + 1, host_call_log_a.runs);
}

}  // namespace
