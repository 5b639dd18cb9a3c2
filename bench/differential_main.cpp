// quillmere_differential: the differential run (see differential.h).
//   quillmere_differential --out FOLDER [--count N] [--rounds N] [--seed N]
//                          [--corpus FOLDER SKIP]...
// --corpus adds the files of a fuzzing run's corpus folder, less SKIP
// leading bytes each (a target's own bytes), where the judgement accepts
// them. Children: --child FOLDER FIRST LAST ROUNDS.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <set>
#include <string>
#include <vector>

#include "bench/differential.h"
#include "plugin/plugin.h"
#include "support/cursor_pipeline.h"
#include "support/scratch_folder.h"
#include "support/varied_cursors.h"

namespace {

const int TRIES_PER_FILE = 20;  // draws per accepted file before giving up
const size_t MAPPED_SIZE = 65536;  // the module maps files from this size on

struct Options {
    std::string out;
    int count = 5000;
    int rounds = 3;
    unsigned long long seed = 0x646966666572656eull;
    std::vector<std::pair<std::string, size_t>> corpora;
};

struct Candidate {
    std::string bytes;
    std::string description;
};

bool accepted(const std::string& bytes) {
    return module_accepts(reinterpret_cast<const uint8_t*>(bytes.data()),
                          static_cast<uint32_t>(bytes.size()));
}

// The accepted files: drawn from the varied generator, then the corpora's.
std::vector<Candidate> gather(const Options& options, long* drawn, long* corpus_files) {
    std::vector<Candidate> files;
    std::set<std::string> seen;
    Random random(options.seed);
    for (long tries = 0; static_cast<int>(files.size()) < options.count &&
                         tries < static_cast<long>(options.count) * TRIES_PER_FILE;
         ++tries) {
        VariedCursor file = varied_cursor(random);
        ++*drawn;
        if (accepted(file.bytes) && seen.insert(file.bytes).second)
            files.push_back({file.bytes, file.description +
                                             (file.bytes.size() >= MAPPED_SIZE ? ", 64 KiB or more" : "")});
    }
    for (const auto& corpus : options.corpora) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((corpus.first + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            ++*corpus_files;
            std::string bytes = read_file(corpus.first + "\\" + found.cFileName);
            if (bytes.size() <= corpus.second)
                continue;
            bytes = bytes.substr(corpus.second);
            if (accepted(bytes) && seen.insert(bytes).second)
                files.push_back({bytes, std::string("fuzz corpus ") + found.cFileName});
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return files;
}

bool parse(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        bool has_value = i + 1 < argc;
        if (name == "--out" && has_value)
            options->out = argv[++i];
        else if (name == "--count" && has_value)
            options->count = atoi(argv[++i]);
        else if (name == "--rounds" && has_value)
            options->rounds = atoi(argv[++i]);
        else if (name == "--seed" && has_value)
            options->seed = strtoull(argv[++i], NULL, 0);
        else if (name == "--corpus" && i + 2 < argc) {
            options->corpora.push_back({argv[i + 1], static_cast<size_t>(atoi(argv[i + 2]))});
            i += 2;
        } else
            return false;
    }
    return !options->out.empty() && options->count > 0 && options->rounds > 0;
}

}  // namespace

int main(int argc, char** argv) {
    DllMain(GetModuleHandleA(NULL), DLL_PROCESS_ATTACH, NULL);
    if (argc == 6 && strcmp(argv[1], "--child") == 0)
        return run_differential_child(argv[2], atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
    Options options;
    if (!parse(argc, argv, &options)) {
        fprintf(stderr, "usage: quillmere_differential --out FOLDER [--count N] [--rounds N] "
                        "[--seed N] [--corpus FOLDER SKIP]...\n");
        return 2;
    }
    long drawn = 0, corpus_files = 0;
    std::vector<Candidate> files = gather(options, &drawn, &corpus_files);
    std::string folder = options.out + "\\files";
    CreateDirectoryA(options.out.c_str(), NULL);
    CreateDirectoryA(folder.c_str(), NULL);
    CreateDirectoryA((options.out + "\\findings").c_str(), NULL);
    for (size_t i = 0; i < files.size(); ++i)
        if (!write_file(differential_file_path(folder, static_cast<int>(i)), files[i].bytes)) {
            fprintf(stderr, "cannot write the files into %s\n", folder.c_str());
            return 1;
        }
    printf("%zu accepted files (%ld drawn, %ld from fuzz corpora) in %s; loading each %d rounds\n",
           files.size(), drawn, corpus_files, folder.c_str(), options.rounds);
    fflush(stdout);
    std::vector<std::string> descriptions;
    for (const Candidate& file : files)
        descriptions.push_back(file.description);
    return run_differential(options.out, folder, descriptions, drawn + corpus_files, options.rounds);
}
