#include "support/child_runs.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>


std::vector<ChildRun> run_self(const std::vector<std::string>& arguments, int parallel,
                               DWORD timeout_ms) {
    std::vector<std::string> command_lines;
    for (const std::string& argument : arguments)
        command_lines.push_back(self_command(argument));
    return run_children(command_lines, parallel, timeout_ms);
}

long Figures::get(const std::string& name) const {
    for (const auto& value : values)
        if (value.first == name)
            return value.second;
    return -1;
}

void Figures::add(const std::string& name, long value) {
    for (auto& existing : values)
        if (existing.first == name) {
            existing.second += value;
            return;
        }
    values.push_back({name, value});
}

void Figures::keep_max(const std::string& name, long value) {
    for (auto& existing : values)
        if (existing.first == name) {
            if (value > existing.second)
                existing.second = value;
            return;
        }
    values.push_back({name, value});
}

std::string Figures::line() const {
    std::string text = "FIGURES";
    char item[128];
    for (const auto& value : values) {
        snprintf(item, sizeof item, " %s=%ld", value.first.c_str(), value.second);
        text += item;
    }
    return text;
}

Figures parse_figures(const std::string& output) {
    Figures figures;
    size_t start = output.rfind("FIGURES ");
    if (start == std::string::npos)
        return figures;
    size_t end = output.find_first_of("\r\n", start);
    std::string line = output.substr(start + 8, end == std::string::npos ? std::string::npos : end - start - 8);
    size_t position = 0;
    while (position < line.size()) {
        size_t space = line.find(' ', position);
        std::string item = line.substr(position, space == std::string::npos ? std::string::npos : space - position);
        size_t equals = item.find('=');
        if (equals != std::string::npos)
            figures.add(item.substr(0, equals), strtol(item.c_str() + equals + 1, NULL, 10));
        if (space == std::string::npos)
            break;
        position = space + 1;
    }
    return figures;
}
