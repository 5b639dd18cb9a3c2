#include "tests/support/child_process.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include "tests/support/scratch_folder.h"

namespace {

const int DELETE_TRIES = 80;
const DWORD DELETE_PAUSE_MS = 25;

// Each child writes into a file of its own, never used twice (a file just
// deleted may not be created again at once): a pipe would need a reader per
// child while several run at once.
std::string output_file_name() {
    static unsigned children;
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    snprintf(path, sizeof path, "%squillmere-child-%lu-%u.txt", folder, GetCurrentProcessId(),
             children++);
    return path;
}

// Wine's console host of a console child may hold the file a moment after
// the child has ended. A delete that succeeds may still leave the name until
// that holder closes it (the file is opened sharing deletes): it goes then.
void remove_output(const std::string& path) {
    for (int tries = 0; tries < DELETE_TRIES; ++tries) {
        if (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
            return;
        Sleep(DELETE_PAUSE_MS);
    }
    ADD_FAILURE() << "a child's output file stays behind: " << path << " (error "
                  << GetLastError() << ")";
}

struct Running {
    PROCESS_INFORMATION process;
    std::string output_path;
    size_t index;
};

bool start(const std::string& command, const std::string& folder, Running* running) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    // Shared for deletion: a process the child started may still hold the
    // inherited handle when the file is removed.
    HANDLE output =
        CreateFileA(running->output_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                    &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (output == INVALID_HANDLE_VALUE)
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    BOOL ok = CreateProcessA(NULL, line.data(), NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL,
                             folder.empty() ? NULL : folder.c_str(), &startup, &running->process);
    CloseHandle(output);
    if (!ok)
        remove_output(running->output_path);
    return ok != 0;
}

void finish(const Running& child, ChildRun* run) {
    GetExitCodeProcess(child.process.hProcess, &run->exit_code);
    CloseHandle(child.process.hProcess);
    CloseHandle(child.process.hThread);
    run->output = read_file(child.output_path);
    remove_output(child.output_path);
}

}  // namespace

bool ended_by_exception(DWORD exit_code) { return exit_code >= 0xC0000000u; }

std::string self_command(const std::string& arguments) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    return "\"" + std::string(path, length) + "\" " + arguments;
}

std::vector<ChildRun> run_children(const std::vector<std::string>& command_lines, int parallel,
                                   DWORD timeout_ms, const std::string& folder) {
    std::vector<ChildRun> runs(command_lines.size());
    std::vector<Running> running;
    size_t next = 0;
    while (next < command_lines.size() || !running.empty()) {
        while (next < command_lines.size() && static_cast<int>(running.size()) < parallel) {
            Running child = {};
            child.index = next;
            child.output_path = output_file_name();
            runs[next].command_line = command_lines[next];
            runs[next].started = start(command_lines[next], folder, &child);
            if (runs[next].started) {
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
                TerminateProcess(child.process.hProcess, STALLED_EXIT);
                WaitForSingleObject(child.process.hProcess, INFINITE);
            }
            done = 0;
        }
        Running child = running[done];
        running.erase(running.begin() + static_cast<long>(done));
        finish(child, &runs[child.index]);
    }
    return runs;
}

ChildRun run_child(const std::string& command_line, const std::string& folder) {
    return run_children({command_line}, 1, INFINITE, folder)[0];
}
