// Zeltrin.exe itself, silent and quiet, with its standard output in a file: no box comes up,
// the box texts and the run's lines are in the file, and the exit status says how it ended.
#include <gtest/gtest.h>

#include <algorithm>

#include "ConsoleCapture.h"
#include "MessageBoxAnswerer.h"
#include "TestFiles.h"
#include "engine/ExitStatus.h"
#include "console/ConsoleWriter.h"

using testing_support::ReadWholeFile;
using testing_support::RemoveTree;
using testing_support::ScopedWorkFolder;

namespace {

constexpr DWORD kHelperLooksMs = 5000;  // the program's start and detection come first
constexpr DWORD kProgramRunsMs = 60000;

// Zeltrin.exe started in a folder with its standard output in the capture file, watched for
// a box of the caption; its exit status, -1 when it did not end in time.
int RunQuietly(const std::string& arguments, const std::string& folder, const ConsoleCapture& capture,
               const char* caption, bool& boxSeen) {
    std::string line(1, '"');
    line += testing_support::ProgramFolder();
    line += "\\Zeltrin.exe\" ";
    line += arguments;
    HANDLE output = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), capture.Handle(), ::GetCurrentProcess(), &output, 0, TRUE,
                           DUPLICATE_SAME_ACCESS))
        return -1;
    win32::UniqueKernelHandle inheritable(output);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output;
    startup.hStdError = nullptr;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, folder.c_str(),
                          &startup, &started)) {
        ADD_FAILURE() << "cannot start " << line << ": error " << ::GetLastError();
        return -1;
    }
    win32::UniqueKernelHandle process(started.hProcess);
    win32::UniqueKernelHandle thread(started.hThread);
    inheritable.reset();
    MessageBoxAnswerer answerer(caption, started.dwProcessId, 0, kHelperLooksMs);
    ::ResumeThread(thread.get());
    if (::WaitForSingleObject(process.get(), kProgramRunsMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 99);
        boxSeen = answerer.Wait(kHelperLooksMs);
        return -1;
    }
    boxSeen = answerer.Wait(kHelperLooksMs);
    DWORD status = 0;
    ::GetExitCodeProcess(process.get(), &status);
    return static_cast<int>(status);
}

std::string ReportIn(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\*_ULVIX-Report.HTML").c_str(), &found));
    return search ? folder + "\\" + found.cFileName : std::string();
}

}  // namespace

TEST(QuietProgram, ARefusedIncidentNumberEndsWithStatusTwoAndItsTextInStandardOutput) {
    ScopedWorkFolder folder;
    ConsoleCapture capture(folder.Path() + "\\stdout.txt");
    bool boxSeen = true;
    EXPECT_EQ(RunQuietly("-noGUI -quiet case#=12.34", folder.Path(), capture, "Zeltrin", boxSeen),
              kExitIncidentRefused);
    EXPECT_FALSE(boxSeen);
    const std::string text =
        "Please enter a valid Lorvex incident number or Mossel case ID to continue.\n\nExample: \n\tLorvex incident "
        "number: 123456\n\tMossel Case ID: 123456789";
    EXPECT_NE(capture.Bytes().find(console::ConsoleWriter::LineBytes(text)), std::string::npos) << capture.Bytes();
    // The refused run leaves its report where it started.
    const std::string report = ReportIn(folder.Path());
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(testing_support::ReportEntries(ReadWholeFile(report)).back(), text);
}

TEST(QuietProgram, AnOverlongIncidentNumberIsSaidInStandardOutputAndTheRunCompletes) {
    ScopedWorkFolder folder;
    const std::string bug = "C:\\quiet67890";
    RemoveTree(bug);
    ConsoleCapture capture(folder.Path() + "\\stdout.txt");
    bool boxSeen = true;
    EXPECT_EQ(RunQuietly("case#=quiet67890 -quiet -NOGUI", folder.Path(), capture, "Zeltrin", boxSeen), kExitDone);
    EXPECT_FALSE(boxSeen);
    const auto lines = capture.Lines();
    EXPECT_TRUE(HasLine(lines, "Please enter no more than 9 characters.")) << capture.Bytes();
    std::string runFolder;
    for (const std::string& line : lines)
        if (line.rfind("Run folder: ", 0) == 0) runFolder = line.substr(12);
    ASSERT_EQ(runFolder.rfind(bug + "\\", 0), 0u) << capture.Bytes();
    const std::string report = ReportIn(runFolder);
    ASSERT_FALSE(report.empty());
    const auto entries = testing_support::ReportEntries(ReadWholeFile(report));
    EXPECT_NE(std::find(entries.begin(), entries.end(), "Please enter no more than 9 characters."), entries.end());
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
    RemoveTree(bug);
}

TEST(QuietProgram, ASilentRunWithoutQuietStillTellsStandardOutputHowItWent) {
    ScopedWorkFolder folder;
    const std::string bug = "C:\\quietless";
    RemoveTree(bug);
    ConsoleCapture capture(folder.Path() + "\\stdout.txt");
    bool boxSeen = true;
    EXPECT_EQ(RunQuietly("-noGUI case#=quietless", folder.Path(), capture, "Zeltrin", boxSeen), kExitDone);
    EXPECT_FALSE(boxSeen);
    const auto lines = capture.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().rfind("[ 1/25] ", 0), 0u) << capture.Bytes();
    // The detection checks "Compress"; without qzcab.cmd in the folder nothing is packed.
    EXPECT_TRUE(HasLine(lines, "[25/25] Packaging all the logs files ...")) << capture.Bytes();
    EXPECT_EQ(lines.back(), "Cabinet files: 0");
    RemoveTree(bug);
}
