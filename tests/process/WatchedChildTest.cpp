// Real children under Wine: exit codes, the limit that ends a whole tree, the heartbeat, the tree ended through its parents.
#include <gtest/gtest.h>

#include <map>

#include "TestFiles.h"
#include "process/WatchedChild.h"

using namespace testing_support;

namespace {

std::string Quoted(const std::string& path) { return std::string(1, '"').append(path).append(1, '"'); }

class WatchedChildTest : public ::testing::Test {
protected:
    void SetUp() override { ::SetEnvironmentVariableA("ZELTRIN_STUB_PIDS", (folder.Path() + "\\pids.txt").c_str()); }
    void TearDown() override {
        for (const auto& [name, id] : ProcessIds()) {  // a child left running must not hold the work folder
            win32::UniqueKernelHandle left(::OpenProcess(PROCESS_TERMINATE, FALSE, id));
            if (left) ::TerminateProcess(left.get(), 1);
        }
        for (const char* name : {"ZELTRIN_STUB_PIDS", "ZELTRIN_STUB_SLEEP", "ZELTRIN_STUB_SPAWN", "ZELTRIN_STUB_EXIT"})
            ::SetEnvironmentVariableA(name, nullptr);
    }
    process::ChildOutcome Run(const std::string& tool, process::ChildWatch watch = {},
                              process::Heartbeat beat = nullptr) {
        process::ChildStart start;
        start.application = tool;
        start.commandLine = Quoted(tool);
        start.creationFlags = CREATE_NO_WINDOW;
        process::WatchedChild child;
        DWORD error = 0;
        if (!child.Start(start, error)) return {false, 0, error, false};
        return child.Wait(watch, beat);
    }
    std::map<std::string, DWORD> ProcessIds() const {
        std::map<std::string, DWORD> ids;
        for (const std::string& line : FileLines("pids.txt"))
            if (line.find('|') != std::string::npos) ids[line.substr(0, line.find('|'))] = std::stoul(line.substr(line.find('|') + 1));
        return ids;
    }
    ScopedWorkFolder folder;
};

}  // namespace

TEST_F(WatchedChildTest, TheExitCodeIsPassedThroughAndAFailedStartGivesTheSystemsError) {
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", "42");
    process::ChildOutcome outcome = Run(PlaceStubTool("qzflxinfo.exe"), {60, 1000});
    EXPECT_TRUE(outcome.started);
    EXPECT_EQ(outcome.exitCode, 42u);
    EXPECT_FALSE(outcome.timedOut);
    outcome = Run(folder.Path() + "\\missing.exe");
    EXPECT_FALSE(outcome.started);
    EXPECT_EQ(outcome.error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(WatchedChildTest, PastTheLimitTheChildIsEndedWithTheChildrenItStartedAndBeatsCameBefore) {
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SPAWN", ("qzparent|" + Quoted(PlaceStubTool("qzgrand.exe"))).c_str());
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzparent,qzgrand|60000");
    std::vector<ULONGLONG> beats;
    process::ChildOutcome outcome = Run(PlaceStubTool("qzparent.exe"), {3, 1000}, [&](ULONGLONG seconds) { beats.push_back(seconds); });
    EXPECT_TRUE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(ERROR_TIMEOUT));
    ASSERT_GE(beats.size(), 2u);
    for (size_t i = 1; i < beats.size(); ++i) EXPECT_GT(beats[i], beats[i - 1]);
    ASSERT_EQ(ProcessIds().count("qzgrand"), 1u) << "the grandchild never started";
    win32::UniqueKernelHandle left(::OpenProcess(SYNCHRONIZE, FALSE, ProcessIds()["qzgrand"]));
    EXPECT_TRUE(!left || ::WaitForSingleObject(left.get(), 10000) == WAIT_OBJECT_0);
}

TEST_F(WatchedChildTest, WithoutAJobTheTreeIsEndedThroughTheParents) {
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SPAWN", ("qzparent|" + Quoted(PlaceStubTool("qzgrand.exe"))).c_str());
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzparent,qzgrand|60000");
    ChildProcess parent(Quoted(PlaceStubTool("qzparent.exe")), folder.Path());
    parent.Resume();
    for (int wait = 0; wait < 500 && ProcessIds().count("qzgrand") == 0; ++wait) ::Sleep(20);
    win32::UniqueKernelHandle grand(::OpenProcess(SYNCHRONIZE, FALSE, ProcessIds()["qzgrand"]));
    ASSERT_TRUE(grand);
    EXPECT_TRUE(process::EndProcessTree(parent.Handle(), ERROR_TIMEOUT));
    EXPECT_EQ(::WaitForSingleObject(grand.get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST(InterpreterPath, ComSpecIsTakenOnlyWhenItHoldsAFullPath) {
    char system[MAX_PATH] = {}, saved[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    const bool had = ::GetEnvironmentVariableA("COMSPEC", saved, MAX_PATH) != 0;
    const std::string cmd = std::string(system) + "\\cmd.exe";
    for (const auto& [value, taken] : std::vector<std::pair<const char*, std::string>>{
             {"D:\\tools\\other.exe", "D:\\tools\\other.exe"}, {"\\\\server\\share\\cmd.exe", "\\\\server\\share\\cmd.exe"},
             {nullptr, cmd}, {"", cmd}, {"cmd.exe", cmd}, {"tools\\cmd.exe", cmd}, {"\\cmd.exe", cmd}, {"C:cmd.exe", cmd}}) {
        ::SetEnvironmentVariableA("COMSPEC", value);
        EXPECT_EQ(process::InterpreterPath(), taken) << (value ? value : "(none)");
    }
    ::SetEnvironmentVariableA("COMSPEC", had ? saved : nullptr);
}

// As under a scheduler's job; a process never leaves one, so this runs last.
TEST_F(WatchedChildTest, ZInsideAnOuterJobTheLimitStillEndsTheChild) {
    win32::UniqueKernelHandle outer(::CreateJobObjectA(nullptr, nullptr));
    ASSERT_TRUE(outer && ::AssignProcessToJobObject(outer.get(), ::GetCurrentProcess()));
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzflxinfo|60000");
    process::ChildOutcome outcome = Run(PlaceStubTool("qzflxinfo.exe"), {2, 0});
    EXPECT_TRUE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(ERROR_TIMEOUT));
}
