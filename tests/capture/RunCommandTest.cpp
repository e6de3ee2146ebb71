// The command interpreter started as its own child: its exit code, refused lines, where the
// interpreter comes from, and the record of every child.
#include "ToolCaptureFixture.h"
#include "capture/ChildrenOf.h"

using namespace testing_support;

class RunCommandTest : public ToolCaptureTest {
protected:
    void SetUp() override {
        ToolCaptureTest::SetUp();
        char value[MAX_PATH] = {};
        ::GetEnvironmentVariableA("COMSPEC", value, MAX_PATH);
        savedComSpec = value;
        collection.record.StartRun();
        collection.record.BeginStep(1, "test step", true);
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("COMSPEC", savedComSpec.c_str());
        ToolCaptureTest::TearDown();
    }
    const std::vector<ChildRecord>& Children() {
        collection.record.EndStep();
        return collection.record.Steps().back().children;
    }

    std::string savedComSpec;
};

TEST_F(RunCommandTest, TheInterpretersExitCodeIsTheResult) {
    EXPECT_EQ(ChildrenOf(collection).RunCommand("exit /b 7"), 7);
    EXPECT_EQ(ChildrenOf(collection).RunCommand("exit /b 0"), 0);
    const auto& children = Children();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0].commandLine, "exit /b 7");
    EXPECT_TRUE(children[0].started);
    EXPECT_EQ(children[0].exitCode, 7u);
    EXPECT_EQ(children[0].error, 0u);
    EXPECT_FALSE(children[0].timedOut);
}

TEST_F(RunCommandTest, RedirectionsAndQuotesReachTheInterpreterAsBefore) {
    PlaceTool("qzfilever.EXE");
    EXPECT_EQ(ChildrenOf(collection).RunCommand("qzfilever.EXE a \"b c\" >> out.txt"), 0);
    EXPECT_EQ(ChildrenOf(collection).RunCommand("qzfilever.EXE d>>out.txt"), 0);
    Lines starts = StubStarts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].rfind("qzfilever|qzfilever.EXE a \"b c\"", 0), 0u) << starts[0];
    EXPECT_EQ(ReadWholeFile("out.txt"), "qzfilever stub output: a b c\r\nqzfilever stub output: d\r\n");
}

TEST_F(RunCommandTest, ARefusedLineIsNotRunAndIsRecorded) {
    const std::string line = "qzfilever.EXE " + std::string(300, 'x');
    PlaceTool("qzfilever.EXE");
    EXPECT_EQ(ChildrenOf(collection).RunCommand(line), -1);
    EXPECT_TRUE(StubStarts().empty());
    const auto& children = Children();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0].commandLine, line);
    EXPECT_FALSE(children[0].started);
    EXPECT_EQ(children[0].error, static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(NewEntries(), Lines{RefusedLine(line)});
}

TEST_F(RunCommandTest, AnInterpreterInTheCurrentFolderIsNeverStarted) {
    PlaceTool("cmd.exe");
    ::SetEnvironmentVariableA("COMSPEC", "cmd.exe");
    EXPECT_EQ(ChildrenOf(collection).RunCommand("exit /b 3"), 3);
    EXPECT_TRUE(StubStarts().empty());
}

TEST_F(RunCommandTest, AnInterpreterThatCannotStartGivesMinusOne) {
    const std::string missing = work + "\\missing\\cmd.exe";
    ::SetEnvironmentVariableA("COMSPEC", missing.c_str());
    EXPECT_EQ(ChildrenOf(collection).RunCommand("exit /b 3"), -1);
    EXPECT_EQ(NewEntries(), Lines{"CreateProcess() failed to create " + missing +
                                  "!!! REASON: " + GetErrorText(ERROR_PATH_NOT_FOUND)});
    const auto& children = Children();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_FALSE(children[0].started);
    EXPECT_EQ(children[0].error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(RunCommandTest, ARefusedDirectStartIsRecordedWithTheProgramItWouldHaveRun) {
    std::string tool = PlaceTool("qzflxinfo.exe");
    const std::string arguments = " " + std::string(300, 'x');
    EXPECT_EQ(collection.CaptureQzUtils(tool, arguments, "", work, 1, INFINITE), 0);
    EXPECT_TRUE(StubStarts().empty());
    const auto& children = Children();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0].commandLine, tool + arguments);
    EXPECT_FALSE(children[0].started);
    EXPECT_EQ(children[0].error, static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST_F(RunCommandTest, ADirectStartIsRecordedWithItsExitCode) {
    std::string tool = PlaceTool("qzflxinfo.exe");
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", "300");
    collection.CaptureQzUtils(tool, " -x", "", work, 1, INFINITE);
    collection.CaptureQzUtils(work + "\\missing.exe", " -x", "", work, 1, INFINITE);
    const auto& children = Children();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0].commandLine, tool + " -x");
    EXPECT_TRUE(children[0].started);
    EXPECT_EQ(children[0].exitCode, 300u);
    EXPECT_EQ(children[1].commandLine, work + "\\missing.exe -x");
    EXPECT_FALSE(children[1].started);
    EXPECT_EQ(children[1].error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}
