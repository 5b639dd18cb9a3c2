#include "tests/tools/check_tool_run.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/scratch_folder.h"

namespace {

const size_t LINE_WIDTH = 79;

}  // namespace

std::string base(int slot) {
    return "plugin\\Cursors\\cursor" + std::to_string(slot) + ".ani";
}
std::string animated(int slot) {
    return "plugin\\Cursors\\Animated\\cursor" + std::to_string(slot) + ".ani";
}

std::map<std::string, Row> rows_of(const std::string& output) {
    std::map<std::string, Row> rows;
    std::string last;
    for (const std::string& line : lines_of(output)) {
        std::istringstream fields(line);
        int slot;
        std::string set;
        Row row;
        if (!(fields >> slot >> set >> row.file >> row.loads >> row.native >> row.at) ||
            (set != "base" && set != "animated")) {
            // A note too long for its row follows on indented lines.
            if (!last.empty() && line.compare(0, 2, "  ") == 0)
                rows[last].note += line;
            else
                last.clear();
            continue;
        }
        std::getline(fields, row.note);
        last = std::to_string(slot) + " " + set;
        rows[last] = row;
    }
    return rows;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<std::string> lines_of(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string line_with(const std::string& output, const std::string& part) {
    std::vector<std::string> lines = lines_of(output);
    for (size_t i = 0; i < lines.size(); ++i) {
        // Continuation lines are indented further than the line they continue.
        std::string joined = lines[i];
        size_t indent = joined.find_first_not_of(' ');
        for (size_t next = i + 1; next < lines.size() && !lines[next].empty() &&
                                  lines[next].find_first_not_of(' ') > indent;
             ++next)
            joined += " " + lines[next].substr(lines[next].find_first_not_of(' '));
        if (contains(joined, part))
            return joined;
    }
    return "";
}

std::vector<int> counts_of(const std::string& output) {
    std::vector<int> counts;
    std::istringstream words(line_with(output, "files: "));
    std::string word;
    while (words >> word)
        if (isdigit(static_cast<unsigned char>(word[0])))
            counts.push_back(atoi(word.c_str()));
    return counts;
}

std::string tool_path() {
    return program_folder() + "\\..\\tools\\" + TOOL_NAME;
}
std::string host_path() {
    return program_folder() + "\\..\\host\\quillmere_host.exe";
}

ChildRun run_tool(const std::string& arguments, const std::string& tool) {
    ChildRun run = run_child("\"" + tool + "\" " + arguments);
    EXPECT_TRUE(run.started) << tool;
    // Characters, not bytes: the output is UTF-8.
    for (const std::string& line : lines_of(run.output)) {
        size_t characters = 0;
        for (char c : line) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        EXPECT_LE(characters, LINE_WIDTH) << arguments << ": " << line;
    }
    return run;
}

void lay_out_game(const std::string& folder) {
    CreateDirectoryA((folder + "\\plugin").c_str(), NULL);
    ASSERT_TRUE(CopyFileA(host_path().c_str(), (folder + "\\" + GAME_PROGRAM).c_str(), FALSE));
    ASSERT_TRUE(write_file(folder + "\\storm.dll", "MZ"));
    ASSERT_TRUE(CopyFileA(built_module_path().c_str(), (folder + "\\plugin\\Quillmere.yrp").c_str(),
                          FALSE));
}
