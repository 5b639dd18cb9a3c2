// The parent side of the differential run: children over ranges of files, a
// crashed or stalled child's file pinned by its last "AT" line and the rest
// of its range run again, then the figures table and the findings.
#include <stdio.h>
#include <stdlib.h>

#include <deque>
#include <map>
#include <utility>

#include "bench/differential.h"
#include "support/child_runs.h"

namespace {

const int FILES_PER_CHILD = 250;
const int PARALLEL_CHILDREN = 2;
const DWORD CHILD_TIMEOUT_MS = 20 * 60 * 1000;

// Phrases of the generator's descriptions counted in the summary.
const char* const STRUCTURES[] = {
    "animated", "single image", "png", "core", "dib", "1-bit", "4-bit", "8-bit", "16-bit",
    "24-bit", "32-bit", "steps in a sequence", "sequence flag, no sequence",
    "steps without a sequence", "rates", "info", "odd frame", "entry size +",
    "entry size without mask", "frame list too short", "RIFF length = file size",
    "RIFF length past the file", "a middle frame no step shows", "last frames no step shows",
    "64 KiB or more", "fuzz corpus"};

typedef std::map<int, std::vector<std::string>> Problems;

// The file and the way of loading a child was at when it ended.
int last_file_at(const std::string& output, int fallback, int* method) {
    size_t at = output.rfind("AT ");
    *method = 0;
    if (at == std::string::npos)
        return fallback;
    int index = fallback;
    sscanf(output.c_str() + at, "AT %d %d", &index, method);
    return index;
}

void read_problems(const std::string& output, Problems* problems) {
    size_t at = 0;
    while ((at = output.find("PROBLEM ", at)) != std::string::npos) {
        int index = 0, method = 0;
        char what[32] = "";
        double value = 0;
        if (sscanf(output.c_str() + at, "PROBLEM %d %d %31s %lf", &index, &method, what, &value) == 4) {
            char text[160];
            snprintf(text, sizeof text, "%s: %s %.1f", LOAD_METHOD_NAMES[method], what, value);
            (*problems)[index].push_back(text);
        }
        at += 8;
    }
}

// Whether file `index` met `what` (by a method whose name starts with
// `method`).
bool has_problem(const Problems& problems, int index, const std::string& method,
                 const char* what) {
    Problems::const_iterator found = problems.find(index);
    if (found == problems.end())
        return false;
    for (const std::string& problem : found->second)
        if (problem.compare(0, method.size(), method) == 0 && problem.find(what) != std::string::npos)
            return true;
    return false;
}

// Findings leave out a loader's plain refusal, which the table counts.
bool is_finding(const std::vector<std::string>& problems) {
    for (const std::string& problem : problems)
        if (problem.find("no-cursor") == std::string::npos)
            return true;
    return false;
}

}  // namespace

int run_differential(const std::string& out, const std::string& folder,
                     const std::vector<std::string>& descriptions, long candidates, int rounds) {
    int count = static_cast<int>(descriptions.size());
    std::deque<std::pair<int, int>> ranges;
    for (int first = 0; first < count; first += FILES_PER_CHILD)
        ranges.push_back({first, first + FILES_PER_CHILD < count ? first + FILES_PER_CHILD : count});
    Figures total;
    total.add("crashes_module", 0);
    total.add("crashes_system", 0);
    total.add("stalled", 0);
    Problems problems;
    while (!ranges.empty()) {
        std::vector<std::pair<int, int>> batch;
        std::vector<std::string> arguments;
        while (!ranges.empty() && static_cast<int>(batch.size()) < PARALLEL_CHILDREN) {
            batch.push_back(ranges.front());
            ranges.pop_front();
            char text[64];
            snprintf(text, sizeof text, " %d %d %d", batch.back().first, batch.back().second, rounds);
            arguments.push_back("--child \"" + folder + "\"" + text);
        }
        std::vector<ChildRun> runs = run_self(arguments, PARALLEL_CHILDREN, CHILD_TIMEOUT_MS);
        for (size_t i = 0; i < runs.size(); ++i) {
            for (const auto& value : parse_figures(runs[i].output).values)
                total.add(value.first, value.second);
            read_problems(runs[i].output, &problems);
            if (runs[i].exit_code == 0)
                continue;
            int method = 0;
            int stopped = last_file_at(runs[i].output, batch[i].first, &method);
            bool stalled = runs[i].exit_code == STALLED_EXIT;
            bool in_module = method < MODULE_LOAD_METHODS;
            total.add(stalled ? "stalled" : in_module ? "crashes_module" : "crashes_system", 1);
            char text[128];
            snprintf(text, sizeof text, "%s in %s (exit code 0x%08lx)",
                     stalled ? "stalled" : "crashed", LOAD_METHOD_NAMES[method % LOAD_METHODS],
                     runs[i].exit_code);
            problems[stopped].push_back(text);
            if (stopped + 1 < batch[i].second)
                ranges.push_front({stopped + 1, batch[i].second});
        }
        printf("  ... %ld loads so far\n", total.get("loads"));
        fflush(stdout);
    }

    printf("\n| figure | value |\n|---|---|\n| files drawn or read | %ld |\n", candidates);
    printf("| files the module parses and plans, each loaded | %d |\n", count);
    printf("| loads (%d ways, %d rounds) | %ld |\n", LOAD_METHODS, rounds, total.get("loads"));
    printf("| crashes in the module's load path (a child ended by an exception) | %ld |\n"
           "| crashes in the bare system loader, given the file as it is | %ld |\n"
           "| stalled children | %ld |\n",
           total.get("crashes_module"), total.get("crashes_system"), total.get("stalled"));
    printf("| slow loads (over %lu ms) | %ld |\n| huge loads (process over %.0f MB larger) | %ld |\n",
           SLOW_LOAD_MS, total.get("slow"), HUGE_GROWTH_MB, total.get("huge"));
    printf("| loads after which GDI objects grew | %ld |\n", total.get("gdi_growth"));
    printf("| the module's cursors not exactly as planned (size, steps, first frame's pixels) | %ld |\n",
           total.get("unplanned"));
    for (int method = 0; method < LOAD_METHODS; ++method)
        printf("| loads without a cursor, %s | %ld |\n", LOAD_METHOD_NAMES[method],
               total.get(failed_figure(method)));

    printf("\nstructures among the files: all, no cursor from the module at 0, no cursor "
           "from the system at 0x0, GDI objects grew\n");
    for (const char* feature : STRUCTURES) {
        int with[4] = {};
        for (int i = 0; i < count; ++i) {
            if (descriptions[i].find(feature) == std::string::npos)
                continue;
            ++with[0];
            with[1] += has_problem(problems, i, LOAD_METHOD_NAMES[0], "no-cursor");
            with[2] += has_problem(problems, i, LOAD_METHOD_NAMES[MODULE_LOAD_METHODS], "no-cursor");
            with[3] += has_problem(problems, i, "", "gdi-objects");
        }
        printf("  %-28s %6d %6d %6d %6d\n", feature, with[0], with[1], with[2], with[3]);
    }

    int findings = 0;
    printf("\nfindings (copied to %s\\findings):\n", out.c_str());
    for (const auto& entry : problems) {
        if (!is_finding(entry.second))
            continue;
        ++findings;
        std::string path = differential_file_path(folder, entry.first);
        CopyFileA(path.c_str(), differential_file_path(out + "\\findings", entry.first).c_str(), FALSE);
        printf("  %05d.cur: %s\n", entry.first, descriptions[entry.first].c_str());
        std::map<std::string, int> distinct;
        for (const std::string& problem : entry.second)
            ++distinct[problem];
        for (const auto& problem : distinct)
            printf("      %s (%d times)\n", problem.first.c_str(), problem.second);
    }
    printf("  %d file(s)\n", findings);
    printf("\nfiles no loader built a cursor from (first 20):\n");
    int listed = 0;
    for (const auto& entry : problems)
        if (!is_finding(entry.second) && listed++ < 20)
            printf("  %05d.cur: %s: %s\n", entry.first, descriptions[entry.first].c_str(),
                   entry.second[0].c_str());
    return 0;
}
