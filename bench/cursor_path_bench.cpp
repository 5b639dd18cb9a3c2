// The cursor path: WM_SETCURSOR over the client area handled by the window
// procedure the module installs, against the bare SetCursor of the handle
// it sets.
#include "bench/bench.h"

#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "support/scratch_folder.h"
#include "window/cursor_window.h"

namespace {

const int CALLS_PER_ROUND = 2000;
const LPARAM CLIENT_AREA = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);

}  // namespace

void bench_cursor_path(const Settings& settings, Table* table) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
    set_host_screen_size(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    set_host_cursor_kind(0);
    set_host_state_flags(0);
    HWND window = create_host_window(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    load_cursor_set(0.0f);
    subclass_host_window();
    HCURSOR handle = current_cursor();
    // The procedure as the system calls it once it dispatches the message.
    WNDPROC installed = reinterpret_cast<WNDPROC>(GetWindowLongA(window, GWL_WNDPROC));
    WPARAM self = reinterpret_cast<WPARAM>(window);

    std::vector<double> through, bare, sent;
    for (int round = 0; round < settings.rounds; ++round) {
        double start = now_us();
        for (int i = 0; i < CALLS_PER_ROUND; ++i)
            installed(window, WM_SETCURSOR, self, CLIENT_AREA);
        double middle = now_us();
        for (int i = 0; i < CALLS_PER_ROUND; ++i)
            SetCursor(handle);
        double end = now_us();
        for (int i = 0; i < CALLS_PER_ROUND; ++i)
            SendMessageA(window, WM_SETCURSOR, self, CLIENT_AREA);
        double sent_end = now_us();
        through.push_back(middle - start);
        bare.push_back(end - middle);
        sent.push_back(sent_end - end);
    }
    double ratio = median(through) / median(bare);
    table->push_back({"WM_SETCURSOR (client area) through the subclassed window's procedure / "
                      "bare SetCursor of the same handle",
                      format("%.3f (%.2f / %.2f us a call)", ratio,
                             median(through) / CALLS_PER_ROUND, median(bare) / CALLS_PER_ROUND),
                      "<= 1.10"});
    table->push_back({"the same, the message sent through the system (SendMessageA) / bare SetCursor",
                      format("%.3f (%.2f us a call)", median(sent) / median(bare),
                             median(sent) / CALLS_PER_ROUND),
                      "(for reference)"});
    DestroyWindow(window);
}
