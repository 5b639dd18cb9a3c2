// What reading a wrapper's settings costs: cnc-ddraw writes a ddraw.ini of
// several hundred game sections. The module reads it once, when it first
// finds the wrapper loaded, as the wrapper itself does.
#include <string>

#include "bench/bench.h"
#include "cursors/cursor_loader.h"
#include "support/scratch_folder.h"
#include "wrappers/wrappers.h"

namespace {

// About the file cnc-ddraw writes: [ddraw] and one section per known game.
const int GAME_SECTIONS = 300;
const int READS_PER_ROUND = 10;
const float RESCALE_SCALE = 2.0f;

std::string large_cnc_ddraw_file() {
    std::string text = "[ddraw]\r\nwidth=0\r\nheight=0\r\nfullscreen=false\r\nwindowed=true\r\n"
                       "maintas=false\r\nboxing=true\r\nadjmouse=true\r\nhook=4\r\n";
    for (int i = 0; i < GAME_SECTIONS; ++i)
        text += format("; a game\r\n[game%03d]\r\nmaxgameticks=60\r\nadjmouse=true\r\n"
                       "limiter_type=4\r\n\r\n", i);
    text += "[quillmere_bench]\r\nboxing=true\r\n";
    return text;
}

}  // namespace

void bench_wrapper_settings(const Settings& settings, Table* table) {
    ScratchFolder scratch;
    CreateDirectoryA("plugin\\Cursors", NULL);
    CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
    std::string file = large_cnc_ddraw_file();
    write_file("ddraw.ini", file);
    std::string path = scratch.path() + "\\ddraw.ini";
    load_cursor_set(RESCALE_SCALE);  // writes the defaults, warms the cache
    std::vector<double> reading, loading;
    CncDdrawSettings cnc;
    for (int round = 0; round < settings.rounds; ++round) {
        double start = now_us();
        for (int i = 0; i < READS_PER_ROUND; ++i)
            read_cnc_ddraw_settings(path.c_str(), "quillmere_bench", &cnc);
        reading.push_back((now_us() - start) / READS_PER_ROUND);
        start = now_us();
        load_cursor_set(RESCALE_SCALE);
        loading.push_back(now_us() - start);
    }
    table->push_back({format("reading cnc-ddraw's settings, once at start-up "
                             "(ddraw.ini of %d game sections, %u bytes) / loading both cursor "
                             "sets at 2.0",
                             GAME_SECTIONS, static_cast<unsigned>(file.size())),
                      format("%.3f (%.2f / %.1f ms)", median(reading) / median(loading),
                             median(reading) / 1000.0, median(loading) / 1000.0),
                      "(figure)"});
}
