// A child that runs past its time limit is ended with every process it
// started, fails the test naming it, and leaves nothing in Temp.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <stdio.h>

#include "support/child_process.h"
#include "support/scratch_folder.h"

namespace {

const DWORD SHORT_LIMIT_MS = 3000;
const DWORD FOREVER_MS = 600000;

// Run only as the child below: leaves a file in its Temp folder, starts a
// grandchild that sleeps, and hangs.
TEST(ChildLimit, DISABLED_HangsWithAGrandchildAndAFileInTemp) {
    ScratchFolder scratch;
    ASSERT_TRUE(write_file("left.txt", "x"));
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION sleeper = {};
    std::string line = self_command("--gtest_also_run_disabled_tests "
                                    "--gtest_filter=ChildLimit.DISABLED_Sleeps");
    ASSERT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, NULL,
                               &start, &sleeper));
    printf("grandchild %lu, scratch %s\n", sleeper.dwProcessId, scratch.path().c_str());
    fflush(stdout);
    Sleep(FOREVER_MS);
}

TEST(ChildLimit, DISABLED_Sleeps) { Sleep(FOREVER_MS); }

TEST(ChildLimit, ARunPastItsLimitIsEndedWithAllItStartedAndLeavesNothing) {
    ChildRun run;
    EXPECT_NONFATAL_FAILURE(
        run = run_child(self_command("--gtest_also_run_disabled_tests "
                                     "--gtest_filter=ChildLimit.DISABLED_Hangs*"),
                        "", SHORT_LIMIT_MS),
        "ran past its time limit of 3000 ms");
    EXPECT_EQ(STALLED_EXIT, run.exit_code);
    unsigned long grandchild = 0;
    char scratch[MAX_PATH] = "";
    const char* line = strstr(run.output.c_str(), "grandchild ");
    ASSERT_TRUE(line && sscanf(line, "grandchild %lu, scratch %259s", &grandchild, scratch) == 2)
        << run.output;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, grandchild);
    if (process) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 0)) << "the grandchild still runs";
        CloseHandle(process);
    }
    EXPECT_FALSE(folder_exists(scratch)) << scratch;
}

}  // namespace
