#include "support/child_process.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "support/scratch_folder.h"

namespace {

// Wine's console host of a console child may hold its files a moment after
// the child has ended.
const DWORD RELEASE_WAIT_MS = 2000;
const DWORD RELEASE_PAUSE_MS = 25;
const char OUTPUT_NAME[] = "output.txt";

// A failure of the running test, or a line on standard error where no test
// runs (the benchmark).
void report(const std::string& message) {
    if (testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << message;
    else
        fprintf(stderr, "%s\n", message.c_str());
}

// Each child gets a Temp folder of its own, never used twice (a folder just
// deleted may not be created again at once). Its output file lives there too:
// a pipe would need a reader per child while several run at once.
std::string child_temp_folder() {
    static unsigned children;
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    snprintf(path, sizeof path, "%squillmere-child-%lu-%u", folder, GetCurrentProcessId(),
             children++);
    return path;
}

// This process's environment with TMP and TEMP naming `temp`.
std::vector<char> environment_with_temp(const std::string& temp) {
    std::vector<char> block;
    char* strings = GetEnvironmentStringsA();
    for (const char* entry = strings; *entry; entry += strlen(entry) + 1)
        if (_strnicmp(entry, "TMP=", 4) != 0 && _strnicmp(entry, "TEMP=", 5) != 0)
            block.insert(block.end(), entry, entry + strlen(entry) + 1);
    FreeEnvironmentStringsA(strings);
    for (const char* name : {"TMP=", "TEMP="}) {
        std::string entry = name + temp;
        block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    }
    block.push_back('\0');
    return block;
}

// A job that ends every process in it when its last handle closes, this
// process's own end included.
HANDLE new_job() {
    HANDLE job = CreateJobObjectA(NULL, NULL);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job && !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                        sizeof limits)) {
        CloseHandle(job);
        job = NULL;
    }
    return job;
}

struct Running {
    PROCESS_INFORMATION process;
    HANDLE job;
    std::string temp;
    size_t index;
    DWORD started_at;
};

bool start(const std::string& command, const std::string& folder, Running* running) {
    if (!CreateDirectoryA(running->temp.c_str(), NULL))
        return false;
    std::string output_path = running->temp + "\\" + OUTPUT_NAME;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    // Shared for deletion: a process the child started may still hold the
    // inherited handle when the file is removed.
    HANDLE output =
        CreateFileA(output_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                    &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (output == INVALID_HANDLE_VALUE) {
        RemoveDirectoryA(running->temp.c_str());
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    std::vector<char> environment = environment_with_temp(running->temp);
    // Suspended until it is in its job, so that nothing it starts escapes.
    BOOL ok = CreateProcessA(NULL, line.data(), NULL, NULL, TRUE,
                             CREATE_NO_WINDOW | CREATE_SUSPENDED, environment.data(),
                             folder.empty() ? NULL : folder.c_str(), &startup, &running->process);
    CloseHandle(output);
    if (!ok) {
        remove_tree(running->temp);
        return false;
    }
    running->job = new_job();
    if (running->job && !AssignProcessToJobObject(running->job, running->process.hProcess)) {
        CloseHandle(running->job);
        running->job = NULL;
    }
    running->started_at = GetTickCount();
    ResumeThread(running->process.hThread);
    return true;
}

// Ends the child and everything it started.
void end(const Running& child) {
    if (!child.job || !TerminateJobObject(child.job, STALLED_EXIT))
        TerminateProcess(child.process.hProcess, STALLED_EXIT);
    WaitForSingleObject(child.process.hProcess, RELEASE_WAIT_MS);
}

// Names what a child left in its Temp folder besides its output, or "".
std::string left_in_temp(const std::string& temp) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((temp + "\\*").c_str(), &entry);
    std::string left;
    if (search == INVALID_HANDLE_VALUE)
        return left;
    do {
        if (strcmp(entry.cFileName, ".") && strcmp(entry.cFileName, "..") &&
            strcmp(entry.cFileName, OUTPUT_NAME) && left.empty())
            left = entry.cFileName;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return left;
}

void finish(const Running& child, bool stalled, DWORD timeout_ms, ChildRun* run) {
    if (stalled)
        end(child);
    GetExitCodeProcess(child.process.hProcess, &run->exit_code);
    if (stalled) {
        run->exit_code = STALLED_EXIT;
        char limit[32];
        snprintf(limit, sizeof limit, "%lu ms", timeout_ms);
        report("a child ran past its time limit of " + std::string(limit) +
               " and was ended with everything it started: " + run->command_line);
    }
    // Closing the job ends whatever the child started and left running.
    if (child.job)
        CloseHandle(child.job);
    CloseHandle(child.process.hProcess);
    CloseHandle(child.process.hThread);
    run->output = read_file(child.temp + "\\" + OUTPUT_NAME);
    std::string left = left_in_temp(child.temp);
    if (!left.empty() && !stalled && !ended_by_exception(run->exit_code))
        report("a child left " + left + " in its Temp folder: " + run->command_line);
    std::string held;
    for (DWORD since = GetTickCount(); !remove_tree(child.temp, &held);) {
        if (GetTickCount() - since > RELEASE_WAIT_MS) {
            report("a child's Temp folder stays behind: " + held);
            break;
        }
        Sleep(RELEASE_PAUSE_MS);
    }
}

}  // namespace

bool ended_by_exception(DWORD exit_code) {
    return exit_code >= 0xC0000000u && exit_code != STALLED_EXIT;
}

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
            child.temp = child_temp_folder();
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
        // Wait until the first child ends or the earliest deadline passes.
        std::vector<HANDLE> handles;
        DWORD now = GetTickCount(), wait_ms = timeout_ms;
        for (const Running& child : running) {
            handles.push_back(child.process.hProcess);
            DWORD used = now - child.started_at;
            if (timeout_ms != INFINITE)
                wait_ms = std::min(wait_ms, used >= timeout_ms ? 0 : timeout_ms - used);
        }
        DWORD woke = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                            FALSE, wait_ms);
        size_t done = woke - WAIT_OBJECT_0;
        bool stalled = false;
        if (done >= running.size()) {
            // Out of time: the child that has run longest is the one.
            DWORD later = GetTickCount();
            done = 0;
            for (size_t i = 1; i < running.size(); ++i)
                if (later - running[i].started_at > later - running[done].started_at)
                    done = i;
            stalled = later - running[done].started_at >= timeout_ms;
            if (!stalled)
                continue;
        }
        Running child = running[done];
        running.erase(running.begin() + static_cast<long>(done));
        finish(child, stalled, timeout_ms, &runs[child.index]);
    }
    return runs;
}

ChildRun run_child(const std::string& command_line, const std::string& folder, DWORD timeout_ms) {
    return run_children({command_line}, 1, timeout_ms, folder)[0];
}

DWORD wait_for_exit(HANDLE process, const std::string& what, DWORD timeout_ms) {
    DWORD code = STALLED_EXIT;
    if (WaitForSingleObject(process, timeout_ms) != WAIT_OBJECT_0) {
        TerminateProcess(process, STALLED_EXIT);
        WaitForSingleObject(process, RELEASE_WAIT_MS);
        char limit[32];
        snprintf(limit, sizeof limit, "%lu ms", timeout_ms);
        report(what + " ran past its time limit of " + limit + " and was ended");
        return STALLED_EXIT;
    }
    GetExitCodeProcess(process, &code);
    return code;
}
