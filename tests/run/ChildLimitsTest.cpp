// A run's children under its time limit and heartbeat: a tool started directly and a command
// through the interpreter are ended with their trees, the run goes on to its end, and each
// child's record says how it ended.
#include <cstdlib>
#include <cstring>

#include "RunFixture.h"
#include "framework/MessageBoxReplacement.h"
#include "process/ChildRunner.h"

using testing_support::PathExists;
using testing_support::WriteWholeFile;

namespace {

constexpr ULONGLONG kWellBeforeTheSleep = 30000;  // the stand-ins below would sleep 60 s

const ChildRecord* FindChild(const RunRecord& record, int row, const std::string& commandLine) {
    for (const StepRecord& step : record.Steps())
        if (step.row == row)
            for (const ChildRecord& child : step.children)
                if (child.commandLine == commandLine) return &child;
    return nullptr;
}

class ChildLimits : public CollectionRun {
protected:
    void TearDown() override {
        for (const char* name : {"ZELTRIN_STUB_SLEEP", "ZELTRIN_STUB_PIDS"}) ::SetEnvironmentVariableA(name, nullptr);
        CollectionRun::TearDown();
    }
    void RunTimed() {
        const ULONGLONG begun = ::GetTickCount64();
        collection.RunCollection();
        EXPECT_LT(::GetTickCount64() - begun, kWellBeforeTheSleep);
    }
};

constexpr int kMultipathRow = 14;
constexpr int kStopBootLogRow = 1;

}  // namespace

TEST_F(ChildLimits, ADirectStartPastTheLimitIsEndedAndTheRunGoesOn) {
    collection.options.flxAslDsm = 1;
    CheckBoxesAsOptions(collection);
    collection.paths.flxInfoTool = CopyStub("qzflxinfo.exe");
    collection.unattended.timeoutSeconds = 2;
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzflxinfo|60000");
    // What the tool had written before it hung.
    WriteWholeFile("qzflxinfo.enc", "partial output");
    RunTimed();

    const std::string command = collection.paths.flxInfoTool + " -x";
    auto entries = ReportEntries();
    size_t ended = IndexOf(entries, "Ended after the time limit of 2 seconds!!! Command: " + command);
    ASSERT_LT(ended + 1, entries.size());
    EXPECT_EQ(entries[ended - 1], "Waiting for the process to terminate ...");
    EXPECT_EQ(entries[ended + 1], "Termination status: 0x000005b4");
    EXPECT_TRUE(Contains(entries, "Finish - CaptureQzUtils Error=1460"));
    EXPECT_EQ(testing_support::ReadWholeFile(collection.run.flxInfoTarget), "partial output");
    EXPECT_FALSE(PathExists("qzflxinfo.enc"));
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
    EXPECT_EQ(collection.exitStatus, kExitDone);

    const ChildRecord* child = FindChild(collection.record, kMultipathRow, command);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->started);
    EXPECT_TRUE(child->timedOut);
    EXPECT_EQ(child->exitCode, static_cast<DWORD>(ERROR_TIMEOUT));
    // The step's next child, the interpreter's, ran to its own end.
    const ChildRecord* next =
        FindChild(collection.record, kMultipathRow, "qdsminfo.exe >> " + collection.run.qdsminfoLogTarget);
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->started);
    EXPECT_FALSE(next->timedOut);
}

TEST_F(ChildLimits, AnInterpreterCommandPastTheLimitIsEndedWithTheToolItStarted) {
    const std::string tool = CopyStub("qzsleeper.exe");
    WriteWholeFile("stop_wpp_ssn.cmd", "@\"" + tool + "\"\r\n@echo after>\"" + folder.Path() + "\\after.txt\"\r\n");
    WriteRecorder("get_wpp_logs.cmd");
    collection.options.bootLog = 1;
    CheckBoxesAsOptions(collection);
    collection.unattended.timeoutSeconds = 2;
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzsleeper|60000");
    const std::string pids = folder.Path() + "\\pids.txt";
    ::SetEnvironmentVariableA("ZELTRIN_STUB_PIDS", pids.c_str());
    RunTimed();

    auto entries = ReportEntries();
    EXPECT_TRUE(Contains(entries, "Ended after the time limit of 2 seconds!!! Command: stop_wpp_ssn.cmd"));
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
    // The command file never went past its tool, and the run went on to the next command.
    EXPECT_FALSE(PathExists(folder.Path() + "\\after.txt"));
    auto calls = Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().rfind("qzsleeper|", 0), 0u);
    EXPECT_EQ(calls.back(), "get_wpp_logs.cmd");
    // The tool the command file started went with it.
    const std::string recorded = testing_support::ReadWholeFile(pids);
    ASSERT_EQ(recorded.rfind("qzsleeper|", 0), 0u) << recorded;
    const DWORD id = std::strtoul(recorded.c_str() + std::strlen("qzsleeper|"), nullptr, 10);
    win32::UniqueKernelHandle left(::OpenProcess(SYNCHRONIZE, FALSE, id));
    if (left)
        EXPECT_EQ(::WaitForSingleObject(left.get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    else
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    const ChildRecord* child = FindChild(collection.record, kStopBootLogRow, "stop_wpp_ssn.cmd");
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->timedOut);
    EXPECT_EQ(child->exitCode, static_cast<DWORD>(ERROR_TIMEOUT));
}

TEST_F(ChildLimits, WithoutALimitALongChildGetsHeartbeatLinesAndEndsOnItsOwn) {
    collection.options.flxAslDsm = 1;
    CheckBoxesAsOptions(collection);
    collection.paths.flxInfoTool = CopyStub("qzflxinfo.exe");
    collection.unattended.heartbeatMilliseconds = 1000;
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzflxinfo|3000");
    collection.RunCollection();

    const std::string command = collection.paths.flxInfoTool + " -x";
    const std::string heartbeat = "Still waiting for " + command + ": running for ";
    auto entries = ReportEntries();
    std::vector<size_t> beats;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].rfind(heartbeat, 0) == 0) beats.push_back(i);
    // One line after each second the child runs; a slow machine may merge two of them.
    ASSERT_GE(beats.size(), 2u);
    EXPECT_EQ(entries[beats.front() - 1], "Waiting for the process to terminate ...");
    unsigned long previous = 0;
    for (size_t at : beats) {
        const std::string rest = entries[at].substr(heartbeat.size());
        char* end = nullptr;
        unsigned long seconds = std::strtoul(rest.c_str(), &end, 10);
        EXPECT_EQ(std::string(end), " seconds") << entries[at];
        EXPECT_GT(seconds, previous) << entries[at];
        previous = seconds;
    }
    EXPECT_EQ(entries[beats.back() + 1], "Termination status: 0x00000000");
    EXPECT_TRUE(Contains(entries, "Finish - CaptureQzUtils Error=0"));
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
    EXPECT_TRUE(PathExists(collection.run.flxInfoTarget));

    const ChildRecord* child = FindChild(collection.record, kMultipathRow, command);
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(child->timedOut);
    EXPECT_EQ(child->exitCode, 0u);
}

TEST_F(ChildLimits, TheLimitLineOfACommandLongerThanAnEntryHoldsShowsItsBeginning) {
    // A tool deep in folders with a long argument string: together short enough to be shown
    // whole in the other command entries, too long for the limit line's longer text.
    std::string deep = folder.Path();
    while (deep.size() < 200) {
        deep += "\\" + std::string(40, 'd');
        ASSERT_TRUE(::CreateDirectoryA(deep.c_str(), nullptr));
    }
    const std::string tool = deep + "\\qzlong.exe";
    ASSERT_TRUE(::CopyFileA((testing_support::ProgramFolder() + "\\zeltrin-stub-tool.exe").c_str(), tool.c_str(), FALSE));
    const size_t kCommandLength = 470;
    ASSERT_LT(tool.size(), kCommandLength - 200);
    std::string arguments(kCommandLength - tool.size(), 'a');
    arguments.front() = ' ';
    const std::string command = tool + arguments;
    ASSERT_EQ(process::ChildRunner::ShownCommand(command), command);
    collection.unattended.timeoutSeconds = 1;
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", "qzlong|60000");
    // An entry too long for the report would end in the "Could not pack the string" box.
    std::vector<std::string> boxes;
    framework::MessageBoxReplacement noBoxes([&boxes](const std::string& text) { boxes.push_back(text); });
    collection.CaptureQzUtils(tool, arguments, "", "", 0, INFINITE);

    EXPECT_TRUE(boxes.empty()) << boxes.front();
    EXPECT_TRUE(Contains(ReportEntries(),
                         "Ended after the time limit of 1 seconds!!! Command: " + command.substr(0, 200) + "..."));
}
