// The module's judgement of one file (judged, then fitted to the size asked
// at 2.0), timed in this process: a default cursor against the worst of the
// robustness suite's costly files of about 1 MiB and more (many entries,
// chunks and frames, images decoded past their entries' sizes). Work on a
// file is linear in its size, so the worst stays near its reading.
#include "bench/bench.h"

#include "cursors/cursor_layout.h"
#include "cursors/default_cursors.h"
#include "tests/robustness/support/malformed_corpus.h"

namespace {

const uint32_t COSTLY_SIZE = 1000000;  // about 1 MiB and more
const uint32_t ASKED_SIDE = 64;        // a default at 2.0

double judgement_us(const std::string& bytes, int rounds) {
    std::vector<uint8_t> copy(bytes.size() + 1);
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        copy.assign(bytes.begin(), bytes.end());
        double start = now_us();
        CursorLayout layout;
        if (judge_cursor_file(copy.data(), static_cast<uint32_t>(bytes.size()), &layout)) {
            uint32_t width = ASKED_SIDE, height = ASKED_SIDE;
            bool reduced;
            fit_cursor_size(copy.data(), layout, MAX_CURSOR_PIXELS, &width, &height, &reduced);
        }
        times.push_back(now_us() - start);
    }
    return median(times);
}

}  // namespace

std::vector<std::string> costly_files() {
    std::vector<std::string> files;
    for (const SeedFile& file : large_malformed_files())
        if (file.bytes.size() >= COSTLY_SIZE)
            files.push_back(file.bytes);
    return files;
}

void bench_judgement(const Settings& settings, Table* table) {
    const BYTE* bytes;
    DWORD size;
    if (!default_cursor_bytes(GetModuleHandleA(NULL), BASE_DEFAULT_FIRST_ID, &bytes, &size))
        return;
    double clean = judgement_us(std::string(reinterpret_cast<const char*>(bytes), size), settings.rounds);
    double worst = 0;
    size_t worst_size = 0;
    for (const std::string& file : costly_files()) {
        double time = judgement_us(file, settings.rounds);
        if (time > worst) {
            worst = time;
            worst_size = file.size();
        }
    }
    table->push_back({"judging one file (read into memory, judged, fitted to the size asked): the "
                      "worst costly file of about 1 MiB / a default cursor",
                      format("%.2f ms (%lu bytes) / %.1f us", worst / 1000.0,
                             static_cast<unsigned long>(worst_size), clean),
                      "< 50 ms"});
}
