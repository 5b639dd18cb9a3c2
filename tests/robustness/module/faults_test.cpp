// Faults of the host and the system met by the real module in the stand-in
// host, each in a fresh process: the host keeps running in every case. Two
// faults are covered elsewhere: patch sites whose protection can't be changed
// (tests/core/patch_primitives_test.cpp, Primitives.*; for the whole set,
// tests/module/patch_set_test.cpp, PatchSetRefused.*) and a second call of
// yrp_init (tests/module/window_test.cpp, ASecondStartUp...); storm.dll too
// small or of another build leaving it untouched is in
// tests/module/patch_set_test.cpp; here the host goes on after it.
#include <stdio.h>
#include <string.h>

#include <functional>

#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "support/import_hooks.h"
#include "tests/module/module_fixture.h"
#include "window/cursor_window.h"

namespace {

class Faults : public ModuleInHost {
protected:
    // Loads the module from .\plugin (or the build), lets `prepare` change
    // its imports, then calls yrp_init.
    void start(const std::function<void(HMODULE)>& prepare = nullptr, bool from_build = false) {
        module = from_build ? LoadLibraryA(built_module_path().c_str()) : load_plugin_unstarted();
        ASSERT_TRUE(module != NULL);
        if (prepare) {
            prepare(module);
        }
        ASSERT_TRUE(call_yrp_init(module, &result));
    }
    HCURSOR shown_cursor() { return ask_for_client_cursor(window); }
    // A rescale through the module's timer message; the loads it made.
    int rescale_to(int width, int height) {
        count_module_loads(module);
        set_client_size(window, width, height);
        SendMessageA(window, WM_TIMER, RESCALE_TIMER_ID, 0);
        return module_loads.calls;
    }
    // The host goes on: its diverted calls run and return their results, its
    // own messages reach it, and its window is still there.
    void expect_host_runs() {
        for (int argument : {5, -77}) {
            EXPECT_EQ(host_call_result_a(argument), run_call_site_routine_a(argument));
            EXPECT_EQ(host_call_result_b(argument), run_call_site_routine_b(argument));
        }
        int timers = host_proc_log.timer_messages;
        SendMessageA(window, WM_TIMER, 7, 0);
        EXPECT_EQ(timers + 1, host_proc_log.timer_messages);
        pump_messages_for(50);
        EXPECT_TRUE(IsWindow(window));
    }
    // Every kind 0 to 21 shows its default at `scale` times its own size
    // (32, and 35 for kinds 10 and 12).
    void expect_defaults_at(int scale) {
        for (int kind = 0; kind < 22; ++kind) {
            set_host_cursor_kind(kind);
            int own = kind == 10 || kind == 12 ? 35 : 32;
            EXPECT_EQ(own * scale, shown_cursor_size().cx) << "kind " << kind;
        }
        set_host_cursor_kind(0);
    }
    HMODULE module = NULL;
    int result = 0;
};

class StormVariant : public Faults, public testing::WithParamInterface<const char*> {};

TEST_P(StormVariant, LeavesTheCursorsTheWindowAndTheHostRunning) {
    ASSERT_TRUE(LoadLibraryA((program_folder() + GetParam()).c_str()) != NULL);
    start();
    EXPECT_NE(0, result);
    EXPECT_TRUE(shown_cursor() != NULL);
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, rescale_to(1280, 960));
    expect_host_runs();
}

INSTANTIATE_TEST_SUITE_P(Storm, StormVariant,
                         testing::Values("\\storm_too_small\\storm.dll",
                                         "\\storm_wrong_signature\\storm.dll"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(strstr(info.param, "small") ? "TooSmall"
                                                                            : "WrongSignature");
                         });

class WithoutPluginFolder : public Faults {
protected:
    void SetUp() override {
        with_plugin_folder = false;
        Faults::SetUp();
    }
};

// Where nothing can be written, the defaults load from the module's own
// copy, at the size asked, and nothing is written anywhere.
TEST_F(WithoutPluginFolder, NothingIsWrittenTheDefaultsShowAndTheHostRuns) {
    start(nullptr, true);
    expect_defaults_at(1);
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, rescale_to(1280, 960));
    expect_defaults_at(2);
    EXPECT_FALSE(folder_exists("plugin"));
    expect_host_runs();
}

// A cursor folder that takes no file: its name is held by a file.
TEST_F(Faults, ACursorFolderThatTakesNoFileLeavesNothingBehind) {
    ASSERT_TRUE(write_file("plugin\\Cursors", "a file, not a folder"));
    start();
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, rescale_to(1280, 960));
    expect_defaults_at(2);
    EXPECT_EQ("a file, not a folder", read_file("plugin\\Cursors"));
    expect_host_runs();
}

// Writes of the defaults that fail: fwrite writes half of what it is given
// and reports that (a full disk), or fclose fails to flush.
typedef size_t(__cdecl* FwriteFn)(const void*, size_t, size_t, FILE*);
typedef int(__cdecl* FcloseFn)(FILE*);
FwriteFn real_fwrite;
FcloseFn real_fclose;
int failed_writes;

size_t __cdecl half_fwrite(const void* data, size_t size, size_t count, FILE* file) {
    failed_writes++;
    return real_fwrite(data, size, count / 2, file);
}

int __cdecl failing_fclose(FILE* file) {
    failed_writes++;
    real_fclose(file);
    return EOF;
}

void expect_no_default_written() {
    for (int slot = 0; slot < 22; ++slot) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "plugin\\Cursors\\cursor%d.ani", slot);
        EXPECT_FALSE(file_exists(path)) << path;
    }
    EXPECT_FALSE(file_exists("plugin\\Cursors\\Animated\\cursor5.ani"));
}

TEST_F(Faults, AWriteCutShortLeavesNoTruncatedDefaultAndTheNextLoadWritesIt) {
    start([](HMODULE module) {
        real_fwrite = reinterpret_cast<FwriteFn>(replace_import(
            module, "msvcrt.dll", "fwrite", reinterpret_cast<void*>(half_fwrite)));
        ASSERT_TRUE(real_fwrite != NULL);
    });
    EXPECT_EQ(23, failed_writes);  // 23 defaults, in the one load at start-up
    expect_no_default_written();
    EXPECT_EQ(32, shown_cursor_size().cx) << "the module's own copy";
    expect_host_runs();
    // The disk has room again: the next rescale writes the defaults whole.
    replace_import(module, "msvcrt.dll", "fwrite", reinterpret_cast<void*>(real_fwrite));
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, rescale_to(1280, 960));
    EXPECT_EQ(8656u, read_file("plugin\\Cursors\\Animated\\cursor5.ani").size());
    EXPECT_TRUE(shown_cursor() != NULL);
}

TEST_F(Faults, ACloseThatFailsLeavesNoDefaultBehind) {
    start([](HMODULE module) {
        real_fclose = reinterpret_cast<FcloseFn>(replace_import(
            module, "msvcrt.dll", "fclose", reinterpret_cast<void*>(failing_fclose)));
        ASSERT_TRUE(real_fclose != NULL);
    });
    EXPECT_EQ(23, failed_writes);
    expect_no_default_written();
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, rescale_to(960, 720));
    EXPECT_EQ(48, shown_cursor_size().cx);
    expect_host_runs();
}

// GetClientRect as user32 exports it fails for every window: start-up
// resolves the function from user32's export directory in memory, so the
// fault goes there.
BOOL WINAPI failing_client_rect(HWND, LPRECT) { return FALSE; }

void replace_user32_export(const char* name, void* replacement) {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA("user32.dll"));
    IMAGE_NT_HEADERS* nt =
        reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    IMAGE_EXPORT_DIRECTORY* exports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
    DWORD* names = reinterpret_cast<DWORD*>(base + exports->AddressOfNames);
    WORD* ordinals = reinterpret_cast<WORD*>(base + exports->AddressOfNameOrdinals);
    DWORD* functions = reinterpret_cast<DWORD*>(base + exports->AddressOfFunctions);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        if (strcmp(reinterpret_cast<char*>(base + names[i]), name) != 0)
            continue;
        DWORD* slot = &functions[ordinals[i]];
        DWORD protection;
        ASSERT_TRUE(VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection));
        // An address below the module's base wraps round, as the loader adds it.
        *slot = static_cast<DWORD>(reinterpret_cast<BYTE*>(replacement) - base);
        VirtualProtect(slot, sizeof *slot, protection, &protection);
        return;
    }
    FAIL() << "user32 exports no " << name;
}

TEST_F(Faults, AWindowThatCannotBeMeasuredKeepsTheCursorsAtTheirSize) {
    set_client_size(window, 1280, 960);
    start([](HMODULE) {
        replace_user32_export("GetClientRect", reinterpret_cast<void*>(failing_client_rect));
    });
    SIZE size = shown_cursor_size();
    EXPECT_EQ(32, size.cx) << "start-up could not measure: native size";
    EXPECT_EQ(0, rescale_to(1600, 900));
    EXPECT_EQ(32, shown_cursor_size().cx);
    expect_host_runs();
}

TEST_F(Faults, NoHostWindowAtStartUpLeavesTheHostsOwnProcedure) {
    set_host_main_window(NULL);
    start();
    set_host_main_window(window);
    int seen = host_proc_log.setcursor_messages;
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(seen + 1, host_proc_log.setcursor_messages) << "nothing was subclassed";
    // The diverted calls still show the module's cursor.
    SetCursor(NULL);
    run_call_site_routine_a(1);
    EXPECT_TRUE(host_call_log_a.cursor_seen != NULL);
    expect_host_runs();
}

TEST_F(Faults, AHostScreenOfZeroLoadsTheFilesOwnSize) {
    start();
    set_host_screen_size(0, 0);
    // An infinite scale asks every file for its own size.
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, rescale_to(1280, 960));
    EXPECT_EQ(32, shown_cursor_size().cx);
    set_host_screen_size(0, 480);  // the other side decides
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, rescale_to(1280, 960));
    EXPECT_EQ(64, shown_cursor_size().cx);
    expect_host_runs();
}

TEST_F(Faults, AMinimisedWindowWhenTheTimerFiresReloadsNothing) {
    start();
    count_module_loads(module);
    set_client_size(window, 1280, 960);  // arms the timer
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    pump_past_rescale();                 // the real timer fires meanwhile
    EXPECT_EQ(0, module_loads.calls);
    EXPECT_FALSE(KillTimer(window, RESCALE_TIMER_ID)) << "the timer fired and is gone";
    EXPECT_EQ(32, shown_cursor_size().cx);
    ShowWindow(window, SW_SHOWNOACTIVATE);  // restored: armed again, then rescaled
    pump_until_loads(LOADS_PER_DEFAULT_SET, 4000);
    EXPECT_EQ(LOADS_PER_DEFAULT_SET, module_loads.calls);
    EXPECT_EQ(64, shown_cursor_size().cx);
    expect_host_runs();
}

}  // namespace
