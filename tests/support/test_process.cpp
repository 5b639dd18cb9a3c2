#include "tests/support/test_process.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/scratch_folder.h"

namespace {

const DWORD WATCH_SLICE_MS = 500;
const DWORD CLEAN_UP_WAIT_MS = 3000;
const UINT TIMED_OUT_EXIT = 124;  // as the shell's timeout says it

HANDLE own_job;
// Plain data only: the watcher thread may still look while the program ends.
CRITICAL_SECTION guard;
char running_case[512];
DWORD case_started;
DWORD case_limit_ms;

// Ends every process of the job but this one.
void end_started_processes() {
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[1023];
    } ids = {};
    if (!own_job || !QueryInformationJobObject(own_job, JobObjectBasicProcessIdList, &ids,
                                               sizeof ids, NULL))
        return;
    for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList; ++i) {
        DWORD id = static_cast<DWORD>(ids.list.ProcessIdList[i]);
        if (id == GetCurrentProcessId())
            continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, CLEAN_UP_WAIT_MS);
            CloseHandle(process);
        }
    }
}

// Removes the scratch and child folders this program made in Temp: their
// names carry its process id.
void remove_own_temp_folders() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::vector<std::string> found;
    for (const char* kind : {"quillmere-test-", "quillmere-child-"}) {
        char pattern[MAX_PATH];
        snprintf(pattern, sizeof pattern, "%s%s%lu-*", temp, kind, GetCurrentProcessId());
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA(pattern, &entry);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do
            found.push_back(std::string(temp) + entry.cFileName);
        while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    SetCurrentDirectoryA(temp);
    for (const std::string& folder : found)
        for (DWORD since = GetTickCount(); !remove_tree(folder);) {
            if (GetTickCount() - since > CLEAN_UP_WAIT_MS) {
                printf("could not remove %s\n", folder.c_str());
                break;
            }
            Sleep(50);
        }
}

DWORD WINAPI watch(void*) {
    for (;;) {
        Sleep(WATCH_SLICE_MS);
        EnterCriticalSection(&guard);
        bool over = running_case[0] && GetTickCount() - case_started > case_limit_ms;
        std::string name = running_case;
        LeaveCriticalSection(&guard);
        if (!over)
            continue;
        printf("\n[  TIMEOUT ] %s ran past its time limit of %lu s: ending it and every process "
               "it started\n",
               name.c_str(), case_limit_ms / 1000);
        fflush(stdout);
        end_started_processes();
        remove_own_temp_folders();
        fflush(stdout);
        TerminateProcess(GetCurrentProcess(), TIMED_OUT_EXIT);
    }
}

class CaseClock : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& info) override {
        EnterCriticalSection(&guard);
        snprintf(running_case, sizeof running_case, "%s.%s", info.test_suite_name(), info.name());
        case_started = GetTickCount();
        LeaveCriticalSection(&guard);
    }
    void OnTestEnd(const testing::TestInfo&) override {
        EnterCriticalSection(&guard);
        running_case[0] = '\0';
        LeaveCriticalSection(&guard);
    }
};

}  // namespace

void limit_test_process() {
    // Processes the tests start are in this job too: when the program ends,
    // closing the job's last handle ends whatever they left running.
    own_job = CreateJobObjectA(NULL, NULL);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (own_job && (!SetInformationJobObject(own_job, JobObjectExtendedLimitInformation, &limits,
                                             sizeof limits) ||
                    !AssignProcessToJobObject(own_job, GetCurrentProcess()))) {
        CloseHandle(own_job);
        own_job = NULL;
    }
    char text[16];
    DWORD seconds = CASE_TIME_LIMIT_S;
    if (GetEnvironmentVariableA("QUILLMERE_CASE_TIME_LIMIT_S", text, sizeof text))
        seconds = strtoul(text, NULL, 10);
    case_limit_ms = seconds * 1000;
    InitializeCriticalSection(&guard);
    testing::UnitTest::GetInstance()->listeners().Append(new CaseClock);
    HANDLE watcher = CreateThread(NULL, 0, watch, NULL, 0, NULL);
    if (watcher)
        CloseHandle(watcher);
}

namespace {

// The full names of the cases the filter selects, as the program lists them.
std::vector<std::string> selected_cases(const std::string& filter) {
    ChildRun list = run_child(self_command("--gtest_list_tests --gtest_filter=" + filter));
    std::vector<std::string> names;
    std::istringstream lines(list.output);
    std::string line, suite;
    while (std::getline(lines, line)) {
        line = line.substr(0, line.find('#'));
        size_t end = line.find_last_not_of(" \r");
        if (end == std::string::npos)
            continue;
        line.resize(end + 1);
        if (line[0] != ' ')
            suite = line;  // "Suite." (with the instantiation's prefix)
        else
            names.push_back(suite + line.substr(line.find_first_not_of(' ')));
    }
    return names;
}

int run_each_case_alone() {
    std::string filter = GTEST_FLAG_GET(filter);
    std::vector<std::string> names = selected_cases(filter);
    if (names.empty()) {
        printf("no case matches %s\n", filter.c_str());
        return 1;
    }
    int failed = 0;
    for (const std::string& name : names) {
        ChildRun run = run_children({self_command("--gtest_filter=" + name)}, 1,
                                    case_limit_ms + CLEAN_UP_WAIT_MS)[0];
        bool passed = run.exit_code == 0;
        failed += !passed;
        printf("[  %s  ] %s, in a process of its own\n", passed ? "PASSED" : "FAILED",
               name.c_str());
        if (!passed)
            printf("%s\n(exit code 0x%08lx)\n", run.output.c_str(), run.exit_code);
        fflush(stdout);
    }
    printf("%d of %u cases failed\n", failed, static_cast<unsigned>(names.size()));
    return failed ? 1 : 0;
}

}  // namespace

int run_tests(int argc, char** argv) {
    bool alone = false;
    for (int i = 1; i < argc; ++i)
        alone = alone || strcmp(argv[i], EACH_CASE_ALONE_OPTION) == 0;
    testing::InitGoogleTest(&argc, argv);
    limit_test_process();
    if (alone)
        return run_each_case_alone();
    int result = RUN_ALL_TESTS();
    // A suite's test whose filter matches nothing must not pass unseen.
    if (result == 0 && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        printf("no case matches the filter %s\n", GTEST_FLAG_GET(filter).c_str());
        return 1;
    }
    return result;
}
