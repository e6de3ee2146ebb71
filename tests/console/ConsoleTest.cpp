// The console: the writer over pipes, files and the process's standard output, the progress,
// failure and summary lines, and "-quiet" runs whose boxes go to the console instead.
#include <gtest/gtest.h>

#include "MessageBoxAnswerer.h"
#include "StartedCollection.h"
#include "TestFiles.h"
#include "app/CULVIXApp.h"
#include "app/QuietBoxes.h"
#include "console/ConsoleWriter.h"
#include "console/ProgressLine.h"
#include "console/SummaryLines.h"
#include "engine/ExitStatus.h"
#include "framework/MessageBoxReplacement.h"
#include "probes/CollectionProbes.h"
#include "run/CollectionRun.h"

using console::ConsoleWriter;
using namespace testing_support;

namespace {

const char kRefusedText[] =
    "Please enter a valid Lorvex incident number or Mossel case ID to continue.\n\nExample: \n\tLorvex incident "
    "number: 123456\n\tMossel Case ID: 123456789";

win32::UniqueFile NewFile(const char* path, bool inheritable = false) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, inheritable};
    return win32::UniqueFile(::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A box of this process that must not come up.
struct NoBoxExpected {
    explicit NoBoxExpected(const char* caption) : answerer(caption, ::GetCurrentProcessId(), 1500) {}
    bool Seen() { return answerer.Wait(4000); }
    MessageBoxAnswerer answerer;
};

bool NotAnAdministrator() { return false; }
bool AnAdministrator() { return true; }

}  // namespace

TEST(ConsoleLines, ProgressNamesTheStepOfTwentyFiveAndTheSummaryEveryFigure) {
    EXPECT_EQ(console::ProgressLine(0, 4, "Skipping VM logs ..."), "[ 1/25] Skipping VM logs ...");
    EXPECT_EQ(console::ProgressLine(27, 4, "x"), "[ 7/25] x");
    EXPECT_EQ(console::ProgressLine(1000, 4, "x"), "[25/25] x");
    EXPECT_EQ(console::ProgressLine(50, 0, "x"), "[ 1/25] x");
    EXPECT_EQ(console::ProgressLine(-8, 4, "x"), "[ 1/25] x");
    console::RunSummary summary{"C:\\123456\\NODE\\12072026__03-00-00", 17, 5368709120ULL, 3, 30, 38, 5, 2, 1, 12345,
                                {{"C:\\1\\a.cab", 4096}, {"C:\\1\\a_2.cab", 512}}};
    EXPECT_EQ(console::SummaryLines(summary),
              (std::vector<std::string>{"Run folder: C:\\123456\\NODE\\12072026__03-00-00",
                                        "Files collected: 17 files, 5368709120 bytes", "Failures: 3",
                                        "Steps skipped: 30 of 38", "Steps: 5 ok, 2 partial, 1 failed, 30 skipped",
                                        "Time taken: 12.3 s", "Cabinet files: 2",
                                        "  C:\\1\\a.cab (4096 bytes)", "  C:\\1\\a_2.cab (512 bytes)"}));
    EXPECT_EQ(console::SummaryLines({"D:\\1", 0, 0, 0, 0, 38, 0, 0, 0, 99, {}})[5], "Time taken: 0.1 s");
}

TEST(ConsoleWriter, LinesEndInCarriageReturnLineFeedWhereverTheyGo) {
    EXPECT_EQ(ConsoleWriter::LineBytes("a. \n\nHowever"), "a. \r\n\r\nHowever\r\n");
    EXPECT_EQ(ConsoleWriter::LineBytes("one\r\ntwo"), "one\r\ntwo\r\n");
    EXPECT_EQ(ConsoleWriter::OneLine("Failed!!! Path not found.\r\nError = 3"), "Failed!!! Path not found. Error = 3");
    EXPECT_EQ(ConsoleWriter::OneLine("a\n\nb\rc\r\n"), "a b c");
    win32::UniqueKernelHandle reading;
    win32::UniqueKernelHandle writing;
    ASSERT_TRUE(::CreatePipe(reading.put(), writing.put(), nullptr, 0));
    {
        ConsoleWriter writer(writing.get());
        EXPECT_TRUE(writer.WriteLine("[ 7/25] Capturing QzOKAPO* ..."));
    }
    writing.reset();  // the writer kept a copy of its own: the pipe ends with the test's end
    std::string bytes;
    char buffer[4096];
    for (DWORD got = 0; ::ReadFile(reading.get(), buffer, sizeof buffer, &got, nullptr) && got > 0;) bytes.append(buffer, got);
    EXPECT_EQ(bytes, "[ 7/25] Capturing QzOKAPO* ...\r\n");
}

TEST(ConsoleWriter, StandardOutputIsTakenWhenAFileOrTheNullDeviceAndNothingFailsWithoutOne) {
    ScopedWorkFolder folder;
    for (const char* path : {"stdout.txt", "NUL"}) {
        win32::UniqueFile file = NewFile(path);
        HANDLE previous = ::GetStdHandle(STD_OUTPUT_HANDLE);
        ::SetStdHandle(STD_OUTPUT_HANDLE, file.get());
        ConsoleWriter writer;
        writer.OpenForProcess();
        ::SetStdHandle(STD_OUTPUT_HANDLE, previous);
        EXPECT_TRUE(writer.WriteLine("Failures: 0")) << path;
        DWORD written = 0;
        EXPECT_TRUE(::WriteFile(file.get(), "after\r\n", 7, &written, nullptr));  // the caller's handle stays
    }
    EXPECT_EQ(ReadWholeFile("stdout.txt"), "Failures: 0\r\nafter\r\n");
    EXPECT_FALSE(ConsoleWriter().WriteLine("lost"));
    EXPECT_FALSE(ConsoleWriter(INVALID_HANDLE_VALUE).Usable());
    win32::UniqueKernelHandle reading;
    win32::UniqueKernelHandle writing;
    ASSERT_TRUE(::CreatePipe(reading.put(), writing.put(), nullptr, 0));
    ConsoleWriter writer(writing.get());
    reading.reset();
    EXPECT_FALSE(writer.WriteLine("nobody reads this"));  // fails instead of hanging
}

TEST(ConsoleWriter, OnlyEntriesWrittenAsFailuresAreCountedAndShown) {
    ScopedWorkFolder folder;
    win32::UniqueFile file = NewFile("console.txt");
    ConsoleWriter writer(file.get());
    StartedCollection collection;
    collection.console = &writer;
    collection.LogReport("Source File: C:\\logs\\FATAL.log");
    collection.LogFailure("Failed to copy!!! %s", "Access denied.\r\n");
    collection.report.countFailures = false;  // the share the run falls back from
    collection.LogFailure("CreateDirectory() failed to create %s", "\\\\share\\123456\\");
    EXPECT_EQ(collection.record.Failures(), 1u);
    EXPECT_EQ(ReadWholeFile("console.txt"), "Failed to copy!!! Access denied.\r\n");
}

// "-quiet" in process: the box texts go to the console and, while it is open, the report; no box
// shows and the run goes on as if it had been answered.
TEST(QuietRun, BoxTextsGoToConsoleAndReportAndTheRunGoesOnAsAnswered) {
    ScopedWorkFolder folder;
    win32::UniqueFile file = NewFile("console.txt");
    ConsoleWriter writer(file.get());
    QuietBoxes boxes(writer);
    framework::MessageBoxReplacement noBoxes([&boxes](const std::string& text) { boxes.Show(text); });
    WatchingView view;
    StartedCollection collection;
    boxes.SetCollection(&collection);
    collection.console = &writer;
    collection.Show(view);
    Initialize(collection);
    collection.entries.incidentNumber = "12 34";
    NoBoxExpected none("Zeltrin");
    RunCollection(collection);
    collection.LogReport("%s", std::string(600, 'x').c_str());
    boxes.SetCollection(nullptr);
    EXPECT_FALSE(none.Seen());
    EXPECT_EQ(collection.exitStatus, kExitIncidentRefused);
    EXPECT_FALSE(view.ended);
    EXPECT_EQ(ReadWholeFile("console.txt"), ConsoleWriter::LineBytes(kRefusedText) + "Could not pack the string\r\n");
    collection.report.file.Close();
    const auto entries = ReportEntries(ReadWholeFile(OwnReportName()));
    EXPECT_EQ(std::vector<std::string>(entries.end() - 2, entries.end()),
              (std::vector<std::string>{kRefusedText, "Could not pack the string"}));
}

// A start refused, and a plan ("-list") stopped where its run would stop, with the run's status.
TEST(QuietRun, RefusalsAndStoppedPlansGoToStandardOutputWithTheirExitStatus) {
    const std::string refused = ConsoleWriter::LineBytes(kRefusedText);
    const std::tuple<bool (*)(), const wchar_t*, const char*, std::string, int> cases[] = {
        {NotAnAdministrator, L"-quiet", "C:", "You require administrative previlages to run this application\r\n",
         kExitNotAdministrator},
        {AnAdministrator, L"-list -quiet case#=CON", "C:", refused, kExitIncidentRefused},
        {AnAdministrator, L"-quiet -list noshare case#=1", "Q:", "Run folder: none, there is no folder Q:\\ (local: noshare)\r\n",
         kExitNoRunFolder},
    };
    for (const auto& [administrator, arguments, homeDrive, output, status] : cases) {
        ScopedWorkFolder folder;
        win32::UniqueFile file = NewFile("stdout.txt");
        HANDLE previous = ::GetStdHandle(STD_OUTPUT_HANDLE);
        ::SetStdHandle(STD_OUTPUT_HANDLE, file.get());
        ::SetEnvironmentVariableA("HOMEDRIVE", homeDrive);
        CULVIXApp app(administrator);
        app.SetCommandLine(arguments);
        NoBoxExpected none("Zeltrin");
        EXPECT_FALSE(app.InitInstance());
        ::SetStdHandle(STD_OUTPUT_HANDLE, previous);
        EXPECT_FALSE(none.Seen());
        EXPECT_EQ(app.ExitStatus(), status);
        EXPECT_EQ(ReadWholeFile("stdout.txt"), output);
        EXPECT_FALSE(PathExists(OwnReportName()));
    }
}

TEST(QuietProgram, ARefusedIncidentNumberEndsWithStatusTwoItsTextInStandardOutputAndNoBox) {
    ScopedWorkFolder folder;
    win32::UniqueFile out = NewFile("stdout.txt", true);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.get();
    PROCESS_INFORMATION started{};
    std::string line = std::string("\"") + ProgramFolder() + "\\Zeltrin.exe\" -noGUI -quiet case#=12.34";
    ASSERT_TRUE(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                                 &startup, &started));
    win32::UniqueKernelHandle process(started.hProcess);
    win32::UniqueKernelHandle thread(started.hThread);
    MessageBoxAnswerer answerer("Zeltrin", started.dwProcessId, 5000);
    ::ResumeThread(thread.get());
    ASSERT_EQ(::WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
    EXPECT_FALSE(answerer.Wait(5000));
    DWORD status = 0;
    ::GetExitCodeProcess(process.get(), &status);
    EXPECT_EQ(status, static_cast<DWORD>(kExitIncidentRefused));
    out.reset();
    EXPECT_NE(ReadWholeFile("stdout.txt").find(ConsoleWriter::LineBytes(kRefusedText)), std::string::npos);
}
