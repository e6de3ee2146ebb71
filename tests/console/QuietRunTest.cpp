// "-quiet" in process: every box path puts its text on the console and, while the report is
// open, into the report, shows no box, and the run goes on as if the box had been answered.
#include <optional>

#include "ConsoleCapture.h"
#include "InstallationType.h"
#include "MessageBoxAnswerer.h"
#include "RunFixture.h"
#include "app/CULVIXApp.h"
#include "app/QuietBoxes.h"
#include "console/ConsoleWriter.h"
#include "framework/MessageBoxReplacement.h"
#include "framework/MessageBoxes.h"

using console::ConsoleWriter;
using testing_support::OwnReportName;
using testing_support::PathExists;
using testing_support::ReadWholeFile;
using testing_support::ScopedWorkFolder;
using testing_support::WriteWholeFile;

namespace {

constexpr DWORD kHelperLooksMs = 1500;  // long enough for a box to come up under Wine
constexpr DWORD kWaitForNoBoxMs = 4000;

const char kInvalidIncidentText[] =
    "Please enter a valid Lorvex incident number or Mossel case ID to continue.\n\nExample: \n\tLorvex incident "
    "number: 123456\n\tMossel Case ID: 123456789";

// A box that must not come up: a helper that looks for one of this process for a while.
struct NoBoxExpected {
    explicit NoBoxExpected(const char* caption) : answerer(caption, ::GetCurrentProcessId(), 0, kHelperLooksMs) {}
    MessageBoxAnswerer answerer;
};

bool NotAnAdministrator() { return false; }

}  // namespace

class QuietRun : public CollectionRun {
protected:
    void SetUp() override {
        CollectionRun::SetUp();
        collection.console = &writer;
        boxes.SetCollection(&collection);
    }
    void TearDown() override {
        boxes.SetCollection(nullptr);
        CollectionRun::TearDown();
    }
    std::string ConsoleHolds(const std::string& text) const { return ConsoleWriter::LineBytes(text); }

    ConsoleCapture capture{folder.Path() + "\\console.txt"};
    ConsoleWriter writer{capture.Handle()};
    QuietBoxes boxes{writer};
    framework::MessageBoxReplacement noBoxes{[this](const std::string& text) { boxes.Show(text); }};
};

TEST_F(QuietRun, ARefusedIncidentNumberGoesToReportAndConsoleAndTheRunStopsAsAnswered) {
    collection.entries.incidentNumber = "12 34";
    NoBoxExpected none("Zeltrin");
    collection.RunCollection();
    EXPECT_FALSE(none.answerer.Wait(kWaitForNoBoxMs));
    EXPECT_EQ(ReportEntries().back(), kInvalidIncidentText);
    EXPECT_NE(capture.Bytes().find(ConsoleHolds(kInvalidIncidentText)), std::string::npos) << capture.Bytes();
    EXPECT_EQ(collection.exitStatus, kExitIncidentRefused);
    EXPECT_FALSE(view.ended);
    EXPECT_TRUE(collection.run.bugFolderNumber.empty());
}

TEST_F(QuietRun, AnOverlongIncidentNumberSaysSoAndTheRunCollectsUnderIt) {
    collection.entries.incidentNumber = "1234567890";
    NoBoxExpected none("Zeltrin");
    collection.RunCollection();
    EXPECT_FALSE(none.answerer.Wait(kWaitForNoBoxMs));
    const auto entries = ReportEntries();
    EXPECT_TRUE(Contains(entries, "Please enter no more than 9 characters."));
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
    EXPECT_TRUE(HasLine(capture.Lines(), "Please enter no more than 9 characters."));
    EXPECT_EQ(collection.run.bugFolderNumber, "1234567890");
    EXPECT_EQ(collection.exitStatus, kExitDone);
}

TEST_F(QuietRun, AnEntryTooLongForTheReportIsNamedInTheReportAndOnTheConsole) {
    NoBoxExpected none(Collection::kMessageCaption);
    collection.LogReport("%s", std::string(600, 'x').c_str());
    EXPECT_FALSE(none.answerer.Wait(kWaitForNoBoxMs));
    EXPECT_EQ(ReportEntries().back(), "Could not pack the string");
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{"Could not pack the string"});
}

TEST_F(QuietRun, ABoxTextTooLongForTheReportReachesTheConsoleWithoutLoopingBack) {
    ASSERT_TRUE(collection.report.file.IsOpen());
    boxes.Show(std::string(700, 'y'));
    const std::vector<std::string> expected = {std::string(700, 'y'), "Could not pack the string"};
    EXPECT_EQ(capture.Lines(), expected);
    const auto entries = ReportEntries();
    EXPECT_FALSE(Contains(entries, "Could not pack the string"));
    EXPECT_FALSE(Contains(entries, std::string(700, 'y')));
}

TEST_F(QuietRun, AReportThatCannotBeMovedIsSaidOnTheConsoleOnly) {
    BlockTheReportsMove();
    NoBoxExpected none(Collection::kMessageCaption);
    collection.RunCollection();
    EXPECT_FALSE(none.answerer.Wait(kWaitForNoBoxMs));
    const std::string text = "Could not move " + OwnReportName() + " to " + collection.report.destination +
                             ". \n\nHowever, you still have it in the local folder.";
    EXPECT_NE(capture.Bytes().find(ConsoleHolds(text)), std::string::npos) << capture.Bytes();
    // The report was closed when the move failed; it still ends where the run ended.
    EXPECT_EQ(testing_support::ReportEntries(ReadWholeFile(OwnReportName())).back(), "ULVIX - Done!");
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(collection.exitStatus, kExitDone);
}

// The run reads "InstallationType" of the machine's version key.
class QuietServerCoreRun : public QuietRun {
protected:
    void SetUp() override {
        ASSERT_TRUE(serverCore.Planted());
        QuietRun::SetUp();
    }
    testing_support::PlantedInstallationType serverCore{"Server Core"};
};

TEST_F(QuietServerCoreRun, TheRunFolderIsNamedOnTheConsoleAfterTheReportIsClosed) {
    NoBoxExpected none("Zeltrin");
    collection.RunCollection();
    EXPECT_FALSE(none.answerer.Wait(kWaitForNoBoxMs));
    const auto lines = capture.Lines();
    EXPECT_TRUE(HasLine(lines, "The logs are located at " + collection.run.runFolder));
    EXPECT_EQ(ReportEntries().back(), "ULVIX - Done!");
    EXPECT_TRUE(view.ended);
}

TEST(QuietStartUp, AReportThatCannotBeCreatedIsSaidOnTheConsole) {
    ScopedWorkFolder folder;
    // A folder of the report's name is in the way.
    ASSERT_TRUE(::CreateDirectoryA(OwnReportName().c_str(), nullptr));
    ConsoleCapture capture(folder.Path() + "\\console.txt");
    ConsoleWriter writer(capture.Handle());
    QuietBoxes boxes(writer);
    framework::MessageBoxReplacement noBoxes([&boxes](const std::string& text) { boxes.Show(text); });
    NoBoxExpected none(Collection::kMessageCaption);
    {
        testing_support::StartedCollection collection;
        EXPECT_FALSE(collection.report.file.IsOpen());
    }
    EXPECT_FALSE(none.answerer.Wait(kWaitForNoBoxMs));
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Can not open/create " + OwnReportName() + ". Error=", 0), 0u) << lines[0];
}

TEST(QuietStartUp, TheAdministratorRefusalGoesToStandardOutputWithExitStatusOne) {
    ScopedWorkFolder folder;
    ConsoleCapture capture(folder.Path() + "\\stdout.txt");
    HANDLE previous = ::GetStdHandle(STD_OUTPUT_HANDLE);
    ASSERT_TRUE(::SetStdHandle(STD_OUTPUT_HANDLE, capture.Handle()));
    CULVIXApp app(NotAnAdministrator);
    app.SetCommandLine("-quiet");
    NoBoxExpected none("Zeltrin");
    const bool goesOn = app.InitInstance();
    ::SetStdHandle(STD_OUTPUT_HANDLE, previous);
    EXPECT_FALSE(goesOn);
    EXPECT_FALSE(none.answerer.Wait(kWaitForNoBoxMs));
    EXPECT_EQ(app.ExitStatus(), kExitNotAdministrator);
    EXPECT_EQ(capture.Bytes(), "You require administrative previlages to run this application\r\n");
    // Nor do the system's own boxes of a crashing or broken tool wait for a click.
    const UINT mode = ::GetErrorMode();
    ::SetErrorMode(0);
    EXPECT_EQ(mode & (SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX),
              static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX));
}

TEST(QuietBoxReplacement, AnswersOkAndTheInnermostScopeTakesTheText) {
    std::vector<std::string> outer;
    std::vector<std::string> inner;
    framework::MessageBoxReplacement first([&outer](const std::string& text) { outer.push_back(text); });
    {
        framework::MessageBoxReplacement second([&inner](const std::string& text) { inner.push_back(text); });
        EXPECT_EQ(framework::ShowMessageBox(nullptr, "one", "Zeltrin", MB_OK), IDOK);
    }
    EXPECT_EQ(framework::ShowMessageBox(nullptr, "two", "Zeltrin", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(inner, std::vector<std::string>{"one"});
    EXPECT_EQ(outer, std::vector<std::string>{"two"});
}

TEST(QuietBoxReplacement, WithoutOneTheBoxShowsAgain) {
    { framework::MessageBoxReplacement gone([](const std::string&) {}); }
    MessageBoxAnswerer answerer("Zeltrin");
    EXPECT_EQ(framework::ShowMessageBox(nullptr, "shown", "Zeltrin", MB_OK), IDOK);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "shown");
}
