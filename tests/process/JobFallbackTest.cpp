// A collector that runs inside a job of someone else's (a scheduler, a remote shell): its
// children start in that job, and the time limit still ends them. A program of its own, since
// a process never leaves the job it is put into.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "process/WatchedChild.h"

using namespace testing_support;

TEST(JobFallback, InsideAnOuterJobTheLimitStillEndsTheChild) {
    // Like a parent job without breakaway: every child of this process starts inside it.
    win32::UniqueKernelHandle outer(::CreateJobObjectA(nullptr, nullptr));
    ASSERT_TRUE(outer);
    ASSERT_TRUE(::AssignProcessToJobObject(outer.get(), ::GetCurrentProcess()));

    ScopedWorkFolder folder;
    const std::string tool = folder.Path() + "\\qzflxinfo.exe";
    ASSERT_TRUE(::CopyFileA((ProgramFolder() + "\\zeltrin-stub-tool.exe").c_str(), tool.c_str(), FALSE));
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzflxinfo|60000");
    process::ChildStart start;
    start.application = tool;
    start.commandLine = "\"" + tool + "\"";
    start.creationFlags = CREATE_NO_WINDOW;
    process::ChildWatch watch;
    watch.timeoutSeconds = 2;

    process::WatchedChild child;
    DWORD error = 0;
    ASSERT_TRUE(child.Start(start, error)) << error;
    process::ChildOutcome outcome = child.Wait(watch, nullptr);
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", nullptr);
    EXPECT_TRUE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(ERROR_TIMEOUT));
    // The outer job and this process are untouched by the child's end.
    DWORD ownCode = 0;
    EXPECT_TRUE(::GetExitCodeProcess(::GetCurrentProcess(), &ownCode));
    EXPECT_EQ(ownCode, static_cast<DWORD>(STILL_ACTIVE));
}

TEST(JobFallback, AChildThatCannotBeAssignedGetsNoJob) {
    ScopedWorkFolder folder;
    const std::string tool = folder.Path() + "\\qzflxinfo.exe";
    ASSERT_TRUE(::CopyFileA((ProgramFolder() + "\\zeltrin-stub-tool.exe").c_str(), tool.c_str(), FALSE));
    ChildProcess process("\"" + tool + "\"", folder.Path());
    ASSERT_TRUE(process.Started());
    // A handle without the rights a job needs stands in for a system that refuses the child.
    HANDLE weak = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), process.Handle(), ::GetCurrentProcess(), &weak, SYNCHRONIZE,
                                  FALSE, 0));
    win32::UniqueKernelHandle limited(weak);
    EXPECT_FALSE(process::JobFor(limited.get()));
    EXPECT_TRUE(process::JobFor(process.Handle()));
}
