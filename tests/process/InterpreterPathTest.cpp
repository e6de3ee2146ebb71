// Where the interpreter is taken from, and how a child is named.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "process/WatchedChild.h"

namespace {

std::string SystemCmd() {
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\cmd.exe";
}

class InterpreterPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        char value[MAX_PATH] = {};
        hadComSpec = ::GetEnvironmentVariableA("COMSPEC", value, MAX_PATH) != 0;
        saved = value;
    }
    void TearDown() override { ::SetEnvironmentVariableA("COMSPEC", hadComSpec ? saved.c_str() : nullptr); }

    bool hadComSpec = false;
    std::string saved;
};

TEST_F(InterpreterPathTest, ComSpecIsTakenWhenItHoldsAFullPath) {
    ::SetEnvironmentVariableA("COMSPEC", "D:\\tools\\other.exe");
    EXPECT_EQ(process::InterpreterPath(), "D:\\tools\\other.exe");
    ::SetEnvironmentVariableA("COMSPEC", "\\\\server\\share\\cmd.exe");
    EXPECT_EQ(process::InterpreterPath(), "\\\\server\\share\\cmd.exe");
}

TEST_F(InterpreterPathTest, WithoutComSpecTheSystemDirectorysInterpreterIsTaken) {
    ::SetEnvironmentVariableA("COMSPEC", nullptr);
    EXPECT_EQ(process::InterpreterPath(), SystemCmd());
    ::SetEnvironmentVariableA("COMSPEC", "");
    EXPECT_EQ(process::InterpreterPath(), SystemCmd());
}

TEST_F(InterpreterPathTest, ARelativeComSpecIsNotLookedForInTheCurrentFolder) {
    for (const char* relative : {"cmd.exe", "tools\\cmd.exe", "\\cmd.exe", "C:cmd.exe"}) {
        ::SetEnvironmentVariableA("COMSPEC", relative);
        EXPECT_EQ(process::InterpreterPath(), SystemCmd()) << relative;
    }
}

TEST(ChildCommandText, OptionsAloneFollowTheProgram) {
    EXPECT_EQ(process::ChildCommandText("C:\\t\\qzflxinfo.EXE", " -x"), "C:\\t\\qzflxinfo.EXE -x");
    EXPECT_EQ(process::ChildCommandText("C:\\t\\qzvmdom.EXE", ""), "C:\\t\\qzvmdom.EXE");
}

TEST(ChildCommandText, AFullCommandLineNamesItsProgramItself) {
    EXPECT_EQ(process::ChildCommandText("C:\\t\\pqhmc-diag.exe", "\"C:\\t\\pqhmc-diag.exe\" \"C:\\r\\PQHMC\""),
              "\"C:\\t\\pqhmc-diag.exe\" \"C:\\r\\PQHMC\"");
    EXPECT_EQ(process::ChildCommandText("", "cscript \"C:\\s.vbs\" C:\\out.txt"), "cscript \"C:\\s.vbs\" C:\\out.txt");
}

}  // namespace
