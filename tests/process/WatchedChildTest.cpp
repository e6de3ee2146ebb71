// The watched child on its own: exit codes, the time limit that ends a whole tree, the
// heartbeat, a child left alone without a limit, a start that fails.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <vector>

#include "TestFiles.h"
#include "process/WatchedChild.h"

using namespace testing_support;

namespace {

constexpr ULONGLONG kWellBeforeTheSleep = 30000;  // for children that would sleep 60 s

class WatchedChildTest : public ::testing::Test {
protected:
    void SetUp() override {
        pids = folder.Path() + "\\pids.txt";
        ::SetEnvironmentVariableA("ZELTRIN_STUB_PIDS", pids.c_str());
    }
    void TearDown() override {
        // A child the test failed to end must not hold the work folder.
        for (const auto& [name, id] : ProcessIds()) {
            win32::UniqueKernelHandle left(::OpenProcess(PROCESS_TERMINATE, FALSE, id));
            if (left) ::TerminateProcess(left.get(), 1);
        }
        for (const char* name : {"ZELTRIN_STUB_PIDS", "ZELTRIN_STUB_SLEEP", "ZELTRIN_STUB_SPAWN", "ZELTRIN_STUB_EXIT"})
            ::SetEnvironmentVariableA(name, nullptr);
    }

    std::string PlaceTool(const std::string& name) {
        std::string path = folder.Path() + "\\" + name;
        EXPECT_TRUE(::CopyFileA((ProgramFolder() + "\\zeltrin-stub-tool.exe").c_str(), path.c_str(), FALSE));
        return path;
    }

    static std::string Quoted(const std::string& path) {
        std::string quoted(1, '"');
        quoted += path;
        quoted += '"';
        return quoted;
    }

    static process::ChildStart Direct(const std::string& tool) {
        process::ChildStart start;
        start.application = tool;
        start.commandLine = "\"" + tool + "\"";
        start.creationFlags = CREATE_NO_WINDOW;
        return start;
    }

    // The process id each stand-in recorded, by tool name.
    std::map<std::string, DWORD> ProcessIds() const {
        std::map<std::string, DWORD> ids;
        if (!PathExists(pids)) return ids;
        std::istringstream lines(ReadWholeFile(pids));
        for (std::string line; std::getline(lines, line);) {
            size_t bar = line.find('|');
            if (bar != std::string::npos) ids[line.substr(0, bar)] = std::stoul(line.substr(bar + 1));
        }
        return ids;
    }

    ScopedWorkFolder folder;
    std::string pids;
};

TEST_F(WatchedChildTest, TheChildsExitCodeIsPassedThrough) {
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", "42");
    process::WatchedChild child;
    DWORD error = 0;
    ASSERT_TRUE(child.Start(Direct(PlaceTool("qzflxinfo.exe")), error));
    process::ChildOutcome outcome = child.Wait({}, nullptr);
    EXPECT_TRUE(outcome.started);
    EXPECT_EQ(outcome.exitCode, 42u);
    EXPECT_EQ(outcome.error, 0u);
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_TRUE(PathExists("qzflxinfo.enc"));
}

TEST_F(WatchedChildTest, PastTheLimitTheChildIsEndedWithTheChildrenItStarted) {
    std::string grandchild = PlaceTool("qzgrand.exe");
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SPAWN", ("qzparent|\"" + grandchild + "\"").c_str());
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzparent,qzgrand|60000");
    process::ChildWatch watch;
    watch.timeoutSeconds = 2;
    const ULONGLONG begun = ::GetTickCount64();
    process::WatchedChild child;
    DWORD error = 0;
    ASSERT_TRUE(child.Start(Direct(PlaceTool("qzparent.exe")), error));
    process::ChildOutcome outcome = child.Wait(watch, nullptr);
    EXPECT_LT(::GetTickCount64() - begun, kWellBeforeTheSleep);

    EXPECT_TRUE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(ERROR_TIMEOUT));
    auto ids = ProcessIds();
    ASSERT_EQ(ids.count("qzgrand"), 1u) << "the grandchild never started";
    win32::UniqueKernelHandle left(::OpenProcess(SYNCHRONIZE, FALSE, ids["qzgrand"]));
    // Gone already, or ending: the job's end reaches it without its own sleep running out.
    if (left)
        EXPECT_EQ(::WaitForSingleObject(left.get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    else
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(WatchedChildTest, TheHeartbeatComesAfterEachIntervalTheChildRuns) {
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzflxinfo|3000");
    process::ChildWatch watch;
    watch.heartbeatMilliseconds = 1000;
    std::vector<ULONGLONG> beats;
    process::WatchedChild child;
    DWORD error = 0;
    ASSERT_TRUE(child.Start(Direct(PlaceTool("qzflxinfo.exe")), error));
    process::ChildOutcome outcome = child.Wait(watch, [&beats](ULONGLONG seconds) { beats.push_back(seconds); });

    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, 0u);
    ASSERT_GE(beats.size(), 2u);
    EXPECT_GE(beats.front(), 1u);
    for (size_t i = 1; i < beats.size(); ++i) EXPECT_GT(beats[i], beats[i - 1]);
}

TEST_F(WatchedChildTest, WithoutALimitTheChildRunsToItsEnd) {
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzflxinfo|3000");
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", "5");
    process::WatchedChild child;
    DWORD error = 0;
    ASSERT_TRUE(child.Start(Direct(PlaceTool("qzflxinfo.exe")), error));
    process::ChildOutcome outcome = child.Wait({}, nullptr);

    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, 5u);
    // The stand-in writes its output only once its sleep is over.
    EXPECT_TRUE(PathExists("qzflxinfo.enc"));
}

TEST_F(WatchedChildTest, AChildThatEndsBeforeItsLimitKeepsItsOwnExitCode) {
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", "3");
    process::ChildWatch watch;
    watch.timeoutSeconds = 60;
    watch.heartbeatMilliseconds = 1000;
    process::WatchedChild child;
    DWORD error = 0;
    ASSERT_TRUE(child.Start(Direct(PlaceTool("qzflxinfo.exe")), error));
    process::ChildOutcome outcome = child.Wait(watch, nullptr);
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, 3u);
}

TEST_F(WatchedChildTest, TheJobsEndEndsNoChild) {
    // What the system does to the job when the collector itself dies.
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzflxinfo|60000");
    ChildProcess child(Quoted(PlaceTool("qzflxinfo.exe")), folder.Path());
    ASSERT_TRUE(child.Started());
    win32::UniqueKernelHandle job = process::JobFor(child.Handle());
    ASSERT_TRUE(job);
    child.Resume();
    job.reset();
    EXPECT_EQ(::WaitForSingleObject(child.Handle(), 2000), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(WatchedChildTest, AStartThatFailsGivesTheSystemErrorAndNoChild) {
    process::WatchedChild child;
    DWORD error = 0;
    EXPECT_FALSE(child.Start(Direct(folder.Path() + "\\missing.exe"), error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(ProcessIds().empty());
}

}  // namespace

// Where the system gives the child no job, the child's processes are found through their
// parents and ended with it.
TEST_F(WatchedChildTest, WithoutAJobTheProcessTreeIsEndedThroughTheParents) {
    std::string grandchild = PlaceTool("qzgrand.exe");
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SPAWN", ("qzparent|\"" + grandchild + "\"").c_str());
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzparent,qzgrand|60000");
    ChildProcess parent(Quoted(PlaceTool("qzparent.exe")), folder.Path());
    ASSERT_TRUE(parent.Started());
    parent.Resume();
    for (int tries = 0; tries < 500 && ProcessIds().count("qzgrand") == 0; ++tries) ::Sleep(20);
    auto ids = ProcessIds();
    ASSERT_EQ(ids.count("qzgrand"), 1u) << "the grandchild never started";
    win32::UniqueKernelHandle grand(
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ids["qzgrand"]));
    ASSERT_TRUE(grand);

    EXPECT_TRUE(process::EndProcessTree(parent.Handle(), ERROR_TIMEOUT));
    EXPECT_EQ(::WaitForSingleObject(parent.Handle(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(::WaitForSingleObject(grand.get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    EXPECT_TRUE(::GetExitCodeProcess(grand.get(), &code));
    EXPECT_EQ(code, static_cast<DWORD>(ERROR_TIMEOUT));
}
