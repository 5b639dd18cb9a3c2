// The malformed cursor files met by the real module in the stand-in host:
// each child process starts the module with the first files already in the
// slots (start-up loads at native size, then automatically), then changes
// the files and lets the module rescale through its timer message at 1.5,
// 2.0, 1.875 (automatic) and with a host screen of 0 (the files' own size).
// What the tables hold is read the way the host sees it: WM_SETCURSOR for
// every kind, with and without the animated set.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "host/runtime/plugin_loader.h"
#include "support/cursor_ledger.h"
#include "support/malformed_corpus.h"
#include "support/scratch_folder.h"
#include "tests/module/module_fixture.h"
#include "tests/robustness/module/module_pass.h"
#include "tests/robustness/support/fuzz_findings.h"
#include "tests/robustness/support/malformed_pass.h"
#include "tests/robustness/support/pass_report.h"
#include "window/cursor_window.h"

namespace {

const int DLL_SHARDS = 4;
const SIZE RESCALE_CLIENTS[] = {{700, 500}, {960, 720}, {1280, 960}, {1600, 900}};

typedef int(__cdecl* InitFn)(void);

class RealModule : public PassTarget {
public:
    explicit RealModule(HWND window) : window_(window) {}
    void begin() override {
        module_ = LoadLibraryA(PLUGIN_MODULE_PATH);
        if (!module_ || !ledger::install(module_)) {
            printf("could not load the module or redirect its imports\n");
            ExitProcess(3);
        }
        InitFn init = reinterpret_cast<InitFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "yrp_init")));
        init();
    }
    void load(int scale) override {
        // Scale 0: a host screen of 0 makes the scale infinite, which loads
        // every file at its own size, as native size does.
        if (scale == 0)
            set_host_screen_size(0, 0);
        SIZE client = RESCALE_CLIENTS[scale];
        set_client_size(window_, client.cx, client.cy);
        SendMessageA(window_, WM_TIMER, RESCALE_TIMER_ID, 0);
        set_host_screen_size(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    }
    HCURSOR slot(bool animated, int slot) override {
        set_host_state_flags(animated ? 0x40 : 0);
        set_host_cursor_kind(static_cast<uint8_t>(slot));
        SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ledger::last_set_cursor();
    }
    int slots_to_check() override { return 256; }
    // The tables are inside the module: what they hold is read after every
    // load (stale_slots) instead.
    bool sees_tables_at_destroy() override { return false; }

private:
    HWND window_;
    HMODULE module_ = NULL;
};

TEST(MalformedCursorFiles, TheRealModuleMeetsEveryFileInEverySlotAtEveryScale) {
    expect_clean_corpus_pass(DLL_SHARD_OPTION, DLL_SHARDS,
                             "malformed cursor files, real module in the stand-in host", false);
}

// Every input that ever broke a fuzz target, placed in both kinds of slot:
// the host survives and no handle is left behind.
TEST(MalformedCursorFiles, TheRealModuleMeetsEveryPastFuzzFinding) {
    size_t findings = past_fuzz_findings().size();
    Figures figures = run_pass_shards(FINDINGS_SHARD_OPTION, 1,
                                      "past fuzz findings, real module in the stand-in host");
    EXPECT_EQ(1, figures.get("children"));
    EXPECT_EQ(static_cast<long>(findings), figures.get("files"));
    expect_clean_pass(figures, false);
}

}  // namespace

int run_dll_shard(int shard, int shards, bool findings) {
    ScratchFolder scratch;
    install_host_code();
    HWND window = open_pass_host_window();
    if (!window || !CopyFileA(built_module_path().c_str(), PLUGIN_MODULE_PATH, FALSE)) {
        printf("no host window or no module\n");
        return 3;
    }
    RealModule target(window);
    int exit_code = print_pass_shard(
        target, findings ? past_fuzz_findings() : malformed_cursor_corpus(), shard, shards);
    DestroyWindow(window);
    unload_plugin_in(scratch.path());
    return exit_code;
}
