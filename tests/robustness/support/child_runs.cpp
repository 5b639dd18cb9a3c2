#include "tests/robustness/support/child_runs.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tests/support/scratch_folder.h"

namespace {

std::string self_path() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    return std::string(path, length);
}

std::string temp_file_name(int index) {
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    snprintf(path, sizeof path, "%squillmere-child-%lu-%d.txt", folder, GetCurrentProcessId(), index);
    return path;
}

struct Running {
    PROCESS_INFORMATION process;
    std::string output_path;
    size_t index;
};

bool start(const std::string& arguments, const std::string& output_path, Running* running) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE output = CreateFileA(output_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (output == INVALID_HANDLE_VALUE)
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::string command = "\"" + self_path() + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    BOOL ok = CreateProcessA(NULL, line.data(), NULL, NULL, TRUE, 0, NULL, NULL, &startup,
                             &running->process);
    CloseHandle(output);
    running->output_path = output_path;
    return ok != 0;
}

}  // namespace

bool ended_by_exception(DWORD exit_code) { return exit_code >= 0xC0000000u; }

std::vector<ChildRun> run_self(const std::vector<std::string>& arguments, int parallel,
                               DWORD timeout_ms) {
    std::vector<ChildRun> runs(arguments.size());
    std::vector<Running> running;
    size_t next = 0;
    while (next < arguments.size() || !running.empty()) {
        while (next < arguments.size() && static_cast<int>(running.size()) < parallel) {
            Running child = {};
            child.index = next;
            runs[next].arguments = arguments[next];
            if (start(arguments[next], temp_file_name(static_cast<int>(next)), &child)) {
                running.push_back(child);
            } else {
                runs[next].exit_code = 0xFFFFFFFFu;
                runs[next].output = "could not start the child";
            }
            ++next;
        }
        if (running.empty())
            break;
        std::vector<HANDLE> handles;
        for (const Running& child : running)
            handles.push_back(child.process.hProcess);
        DWORD woke = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                            FALSE, timeout_ms);
        size_t done = woke - WAIT_OBJECT_0;
        if (woke == WAIT_TIMEOUT || done >= running.size()) {
            // Out of time: end them all and report them as stalled.
            for (const Running& child : running) {
                TerminateProcess(child.process.hProcess, 0xFFFFFFFEu);
                WaitForSingleObject(child.process.hProcess, INFINITE);
            }
            done = 0;
        }
        Running child = running[done];
        running.erase(running.begin() + static_cast<long>(done));
        GetExitCodeProcess(child.process.hProcess, &runs[child.index].exit_code);
        CloseHandle(child.process.hProcess);
        CloseHandle(child.process.hThread);
        runs[child.index].output = read_file(child.output_path);
        DeleteFileA(child.output_path.c_str());
    }
    return runs;
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
