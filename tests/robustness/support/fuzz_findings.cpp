#include "tests/robustness/support/fuzz_findings.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

struct FuzzTargetInputs {
    const char* name;
    size_t leading_bytes;  // before the file: see fuzz/fuzz_cursor_pipeline.cpp
};
const FuzzTargetInputs TARGETS[] = {{"fuzz_cursor_parse", 0}, {"fuzz_cursor_pipeline", 2}};

std::string read_file(const std::string& path) {
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

}  // namespace

std::vector<MalformedCursor> past_fuzz_findings() {
    std::vector<MalformedCursor> findings;
    for (const FuzzTargetInputs& target : TARGETS) {
        std::string folder = std::string(QUILLMERE_SOURCE_DIR) + "\\fuzz\\findings\\" + target.name + "\\";
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*-*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            std::string bytes = read_file(folder + name);
            if (bytes.size() >= target.leading_bytes)
                findings.push_back({findings.size(), target.name, EntryKind::FILE,
                                    bytes.substr(target.leading_bytes)});
        }
    }
    return findings;
}
