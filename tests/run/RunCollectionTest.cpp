// The run from OK to the end of the dialog: incident number check, where the run folder
// goes, the report's last entry and its move, packaging, the Server Core box, progress.
#include <ctime>
#include <set>

#include "InstallationType.h"
#include "MessageBoxAnswerer.h"
#include "ProductRegistry.h"
#include "RunFixture.h"
#include "framework/MessageBoxes.h"
#include "resources/resource.h"

using testing_support::OwnReportName;
using testing_support::PathExists;
using testing_support::ReadWholeFile;
using testing_support::WriteWholeFile;

namespace {

std::string NodeName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    ::GetComputerNameA(name, &size);
    return name;
}

}  // namespace

TEST_F(CollectionRun, RefusedIncidentNumbersShowBox104AndLeaveNoTrace) {
    for (const char* number : {"", "12 34", "12.34", "12/34", "12\\34", "1&calc", "a|b", "caf\xe9"}) {
        SCOPED_TRACE(number);
        size_t entriesBefore = ReportEntries().size();
        ExpectRefusedIncident(number);
        EXPECT_EQ(ReportEntries().size(), entriesBefore);
        EXPECT_EQ(dialog.exitStatus, kExitIncidentRefused);
    }
    EXPECT_FALSE(PathExists(destination + "12 34"));
}

TEST_F(CollectionRun, CollectsIntoBugNodeAndTimeStampFoldersOfTheLocalRoot) {
    dialog.options.kerdLogs = 1;
    dialog.options.miscellaneous = 1;
    PushOptions();
    std::time_t before = std::time(nullptr);
    dialog.RunCollection();
    std::time_t after = std::time(nullptr);

    std::set<std::string> stamps;
    for (std::time_t moment = before; moment <= after; ++moment) stamps.insert(StampOf(moment));
    EXPECT_TRUE(stamps.count(dialog.run.timeStamp)) << dialog.run.timeStamp;
    const std::string runFolder = destination + "123456\\" + NodeName() + "\\" + dialog.run.timeStamp;
    EXPECT_EQ(dialog.run.runFolder, runFolder);
    EXPECT_TRUE(PathExists(runFolder + "\\VM"));
    EXPECT_TRUE(PathExists(runFolder + "\\MISC"));
    EXPECT_FALSE(PathExists(runFolder + "\\Solutions"));
    EXPECT_FALSE(PathExists(runFolder + "\\RBK_Schedules"));

    EXPECT_EQ(dialog.report.destination, runFolder + "\\" + OwnReportName());
    EXPECT_TRUE(PathExists(dialog.report.destination));
    EXPECT_FALSE(PathExists(OwnReportName()));
    auto entries = ReportEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_EQ(dialog.EndResult(), IDOK);
}

TEST_F(CollectionRun, UnreachableShareFallsBackToTheChosenFolderWithoutABox) {
    dialog.RunCollection();
    auto entries = ReportEntries();
    const std::string share = "\\\\zeltrin-logs\\incidents\\123456\\";
    size_t shareStart = IndexOf(entries, "Start - CreateTargetFolder " + share);
    size_t shareFailed = IndexOf(entries, "CreateDirectory() failed to create " + share);
    size_t localStart = IndexOf(entries, "Start - CreateTargetFolder " + destination + "123456\\");
    ASSERT_LT(localStart, entries.size());
    EXPECT_LT(shareStart, shareFailed);
    EXPECT_LT(shareFailed, localStart);
    EXPECT_TRUE(Contains(entries, "Successfully created " + dialog.run.runFolder));
    EXPECT_EQ(dialog.run.runFolder.rfind(destination, 0), 0u);
}

TEST_F(CollectionRun, AReachableShareWinsOverTheChosenFolder) {
    std::string share = folder.Path() + "\\share\\";
    ASSERT_TRUE(::CreateDirectoryA(share.c_str(), nullptr));
    dialog.run.networkShareRoot = share;
    dialog.RunCollection();
    EXPECT_EQ(dialog.run.runFolder.rfind(share + "123456\\", 0), 0u) << dialog.run.runFolder;
    EXPECT_FALSE(PathExists(destination + "123456"));
}

TEST_F(CollectionRun, NoShareSkipsEvenAReachableShareAndWritesNoLineOfIt) {
    std::string share = folder.Path() + "\\share\\";
    ASSERT_TRUE(::CreateDirectoryA(share.c_str(), nullptr));
    dialog.run.networkShareRoot = share;
    dialog.unattended.noShare = true;
    dialog.RunCollection();
    EXPECT_EQ(dialog.run.runFolder.rfind(destination + "123456\\", 0), 0u) << dialog.run.runFolder;
    EXPECT_FALSE(PathExists(share + "123456"));
    for (const std::string& entry : ReportEntries()) EXPECT_EQ(entry.find(share), std::string::npos) << entry;
    EXPECT_EQ(dialog.exitStatus, kExitDone);
}

TEST_F(CollectionRun, WithoutAChosenFolderTheHomeDriveRootIsUsed) {
    std::string home = folder.Path() + "\\home\\";
    ASSERT_TRUE(::CreateDirectoryA(home.c_str(), nullptr));
    dialog.folders.homeDrive = home;
    dialog.entries.destinationFolder.clear();
    dialog.RunCollection();
    EXPECT_EQ(dialog.run.runFolder, home + "123456\\" + NodeName() + "\\" + dialog.run.timeStamp);
}

TEST_F(CollectionRun, NoFolderAnywhereWritesTheFatalLineAndKeepsTheDialogOpen) {
    dialog.entries.destinationFolder = folder.Path() + "\\missing\\";
    dialog.RunCollection();
    auto entries = ReportEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "FATAL: failed to create " + folder.Path() + "\\missing\\123456\\");
    EXPECT_FALSE(dialog.HasEnded());
    EXPECT_TRUE(PathExists(OwnReportName()));
    EXPECT_EQ(dialog.exitStatus, kExitNoRunFolder);
}

TEST_F(CollectionRun, ProgressBarIsFullAtTheEnd) {
    dialog.RunCollection();
    int lower = 0, upper = 0;
    dialog.progress.GetRange(lower, upper);
    EXPECT_EQ(dialog.progress.GetPos(), upper);
    EXPECT_EQ(upper / dialog.progress.GetStep(), 25);
    EXPECT_TRUE(::IsWindowVisible(dialog.progress.GetSafeHwnd()) ||
                (::GetWindowLongPtrA(dialog.progress.GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE));
}

TEST_F(CollectionRun, PackagingCommandNamesFolderSystemBugDeleteStampAndServerCore) {
    WriteRecorder("qzcab.cmd");
    dialog.options.compress = 1;
    dialog.options.deleteAfterCompress = 1;
    PushOptions();
    dialog.RunCollection();
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], "qzcab.cmd " + dialog.run.runFolder + " " + dialog.folders.systemDirectory + " 123456 YES " +
                            dialog.run.timeStamp + " 0");
    std::string list = ReadWholeFile(dialog.run.runFolder + "\\QzFilesToCab3.TXT");
    EXPECT_NE(list.find("\"\\" + OwnReportName() + "\" \"\\" + OwnReportName() + "\";"), std::string::npos) << list;
    EXPECT_NE(list.find("\"\\QzFilesToCab3.TXT\""), std::string::npos);
}

TEST_F(CollectionRun, WithoutCompressDeleteHasNoEffectAndNothingIsPacked) {
    WriteRecorder("qzcab.cmd");
    dialog.options.deleteAfterCompress = 1;
    PushOptions();
    dialog.RunCollection();
    EXPECT_TRUE(Calls().empty());
    EXPECT_FALSE(PathExists(dialog.run.runFolder + "\\QzFilesToCab3.TXT"));
}

TEST_F(CollectionRun, AReportThatCannotBeMovedShowsBox105AndStaysHere) {
    // A tool of the run leaves a file of the report's name in the run folder.
    WriteWholeFile("get_ha_filever.cmd", "@echo off\r\necho taken> %1\\" + OwnReportName() + "\r\n");
    dialog.detection.clusterSnapshotToolFound = 1;
    dialog.detection.clusterSnapshotToolPath = CopyStub("clusnap.exe");
    dialog.options.pqhHa = 1;
    PushOptions();
    MessageBoxAnswerer answerer(CULVIXDlg::kMessageCaption);
    dialog.RunCollection();
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Could not move " + OwnReportName() + " to " + dialog.report.destination +
                                   ". \n\nHowever, you still have it in the local folder.");
    EXPECT_EQ(answerer.Icon(), "stop");
    EXPECT_TRUE(PathExists(OwnReportName()));
    EXPECT_EQ(ReadWholeFile(dialog.report.destination), "taken\r\n");
    EXPECT_EQ(testing_support::ReportEntries(ReadWholeFile(OwnReportName())).back(), "ULVIX - Done!");
    EXPECT_TRUE(dialog.HasEnded());
    // The collection ran to its end; only the report stayed behind.
    EXPECT_EQ(dialog.exitStatus, kExitDone);
}

class ServerCoreRun : public CollectionRun {
protected:
    void SetUp() override {
        ASSERT_TRUE(serverCore.Planted());
        CollectionRun::SetUp();
    }
    testing_support::PlantedInstallationType serverCore{"Server Core"};
};

TEST_F(ServerCoreRun, TheLastBoxNamesTheRunFolderAndPackagingGetsOne) {
    WriteRecorder("qzcab.cmd");
    dialog.options.compress = 1;
    PushOptions();
    MessageBoxAnswerer answerer("Zeltrin");
    dialog.RunCollection();
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "The logs are located at " + dialog.run.runFolder);
    EXPECT_EQ(answerer.Icon(), "none");
    EXPECT_EQ(dialog.os.isServerCore, 1);
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], "qzcab.cmd " + dialog.run.runFolder + " " + dialog.folders.systemDirectory + " 123456 NO " +
                            dialog.run.timeStamp + " 1");
}
