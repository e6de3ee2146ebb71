// The run from its start to its end: incident number check, where the run folder goes, the
// report's last entry and its move, packaging, the Server Core box, progress.
#include <ctime>
#include <set>

#include "InstallationType.h"
#include "MessageBoxAnswerer.h"
#include "RunFixture.h"

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
        EXPECT_EQ(collection.exitStatus, kExitIncidentRefused);
    }
    EXPECT_FALSE(PathExists(destination + "12 34"));
}

// The silent run with an incident number of ten characters: the read-back shows the dialog's
// length message and stops at the incident field (the quiet run shows the run going on).
TEST_F(CollectionRun, AnOverlongIncidentNumberStopsTheReadBackAtItsField) {
    for (BoxState& box : collection.boxes) box.check = BST_CHECKED;
    collection.entries.incidentNumber = "1234567890";
    MessageBoxAnswerer answerer("Zeltrin");
    collection.View().ReadBack(collection);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Please enter no more than 9 characters.");
    EXPECT_EQ(answerer.Icon(), "exclamation");

    EXPECT_EQ(collection.entries.incidentNumber, "1234567890");
    // The boxes exchanged before the incident number are read; every one after it stays cleared.
    OptionFlags read;
    read.registry = read.okapoLogs = read.clusterLogs = read.msinfo32 = read.flxAslDsm = read.providers = 1;
    read.qzsvcDump = read.qzdiag = 1;
    for (const OptionRow& row : OptionTable()) EXPECT_EQ(collection.options.*row.flag, read.*row.flag) << row.caption;
}

TEST_F(CollectionRun, CollectsIntoBugNodeAndTimeStampFoldersOfTheLocalRoot) {
    collection.options.kerdLogs = 1;
    collection.options.miscellaneous = 1;
    CheckBoxesAsOptions(collection);
    std::time_t before = std::time(nullptr);
    collection.RunCollection();
    std::time_t after = std::time(nullptr);

    std::set<std::string> stamps;
    for (std::time_t moment = before; moment <= after; ++moment) stamps.insert(StampOf(moment));
    EXPECT_TRUE(stamps.count(collection.run.timeStamp)) << collection.run.timeStamp;
    const std::string runFolder = destination + "123456\\" + NodeName() + "\\" + collection.run.timeStamp;
    EXPECT_EQ(collection.run.runFolder, runFolder);
    EXPECT_TRUE(PathExists(runFolder + "\\VM"));
    EXPECT_TRUE(PathExists(runFolder + "\\MISC"));
    EXPECT_FALSE(PathExists(runFolder + "\\Solutions"));
    EXPECT_FALSE(PathExists(runFolder + "\\RBK_Schedules"));

    EXPECT_EQ(collection.report.destination, runFolder + "\\" + OwnReportName());
    EXPECT_TRUE(PathExists(collection.report.destination));
    EXPECT_FALSE(PathExists(OwnReportName()));
    auto entries = ReportEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
    EXPECT_TRUE(view.ended);
}

TEST_F(CollectionRun, UnreachableShareFallsBackToTheChosenFolderWithoutABox) {
    collection.RunCollection();
    auto entries = ReportEntries();
    const std::string share = "\\\\zeltrin-logs\\incidents\\123456\\";
    size_t shareStart = IndexOf(entries, "Start - CreateTargetFolder " + share);
    size_t shareFailed = IndexOf(entries, "CreateDirectory() failed to create " + share);
    size_t localStart = IndexOf(entries, "Start - CreateTargetFolder " + destination + "123456\\");
    ASSERT_LT(localStart, entries.size());
    EXPECT_LT(shareStart, shareFailed);
    EXPECT_LT(shareFailed, localStart);
    EXPECT_TRUE(Contains(entries, "Successfully created " + collection.run.runFolder));
    EXPECT_EQ(collection.run.runFolder.rfind(destination, 0), 0u);
}

TEST_F(CollectionRun, AReachableShareWinsOverTheChosenFolder) {
    std::string share = folder.Path() + "\\share\\";
    ASSERT_TRUE(::CreateDirectoryA(share.c_str(), nullptr));
    collection.run.networkShareRoot = share;
    collection.RunCollection();
    EXPECT_EQ(collection.run.runFolder.rfind(share + "123456\\", 0), 0u) << collection.run.runFolder;
    EXPECT_FALSE(PathExists(destination + "123456"));
}

TEST_F(CollectionRun, NoShareSkipsEvenAReachableShareAndWritesNoLineOfIt) {
    std::string share = folder.Path() + "\\share\\";
    ASSERT_TRUE(::CreateDirectoryA(share.c_str(), nullptr));
    collection.run.networkShareRoot = share;
    collection.unattended.noShare = true;
    collection.RunCollection();
    EXPECT_EQ(collection.run.runFolder.rfind(destination + "123456\\", 0), 0u) << collection.run.runFolder;
    EXPECT_FALSE(PathExists(share + "123456"));
    for (const std::string& entry : ReportEntries()) EXPECT_EQ(entry.find(share), std::string::npos) << entry;
    EXPECT_EQ(collection.exitStatus, kExitDone);
}

TEST_F(CollectionRun, WithoutAChosenFolderTheHomeDriveRootIsUsed) {
    std::string home = folder.Path() + "\\home\\";
    ASSERT_TRUE(::CreateDirectoryA(home.c_str(), nullptr));
    collection.folders.homeDrive = home;
    collection.entries.destinationFolder.clear();
    collection.RunCollection();
    EXPECT_EQ(collection.run.runFolder, home + "123456\\" + NodeName() + "\\" + collection.run.timeStamp);
}

TEST_F(CollectionRun, NoFolderAnywhereWritesTheFatalLineAndDoesNotEndTheRun) {
    collection.entries.destinationFolder = folder.Path() + "\\missing\\";
    collection.RunCollection();
    auto entries = ReportEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "FATAL: failed to create " + folder.Path() + "\\missing\\123456\\");
    EXPECT_FALSE(view.ended);
    EXPECT_TRUE(PathExists(OwnReportName()));
    EXPECT_EQ(collection.exitStatus, kExitNoRunFolder);
}

TEST_F(CollectionRun, EveryProgressMarkIsShownByTheEnd) {
    collection.RunCollection();
    EXPECT_EQ(collection.progressSteps, 25);
    EXPECT_EQ(view.progressMarks, 25);
    EXPECT_TRUE(view.started);
}

TEST_F(CollectionRun, PackagingCommandNamesFolderSystemBugDeleteStampAndServerCore) {
    WriteRecorder("qzcab.cmd");
    collection.options.compress = 1;
    collection.options.deleteAfterCompress = 1;
    CheckBoxesAsOptions(collection);
    collection.RunCollection();
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], "qzcab.cmd " + collection.run.runFolder + " " + collection.folders.systemDirectory +
                            " 123456 YES " + collection.run.timeStamp + " 0");
    std::string list = ReadWholeFile(collection.run.runFolder + "\\QzFilesToCab3.TXT");
    EXPECT_NE(list.find("\"\\" + OwnReportName() + "\" \"\\" + OwnReportName() + "\";"), std::string::npos) << list;
    EXPECT_NE(list.find("\"\\QzFilesToCab3.TXT\""), std::string::npos);
}

TEST_F(CollectionRun, WithoutCompressDeleteHasNoEffectAndNothingIsPacked) {
    WriteRecorder("qzcab.cmd");
    collection.options.deleteAfterCompress = 1;
    CheckBoxesAsOptions(collection);
    collection.RunCollection();
    EXPECT_TRUE(Calls().empty());
    EXPECT_FALSE(PathExists(collection.run.runFolder + "\\QzFilesToCab3.TXT"));
}

TEST_F(CollectionRun, ARefusedPackagingCommandIsKeptInTheRunRecordAndTheManifest) {
    WriteRecorder("qzcab.cmd");
    collection.entries.destinationFolder = folder.Path() + "\\" + std::string(150, 'd') + "\\";
    ASSERT_TRUE(::CreateDirectoryA(collection.entries.destinationFolder.c_str(), nullptr));
    collection.options.compress = 1;
    CheckBoxesAsOptions(collection);
    collection.RunCollection();
    EXPECT_TRUE(Calls().empty());
    ASSERT_EQ(collection.record.ChildrenOutsideSteps().size(), 1u);
    EXPECT_EQ(collection.record.ChildrenOutsideSteps()[0].error, static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_NE(ReadWholeFile(collection.run.runFolder + "\\MANIFEST.json").find("\"childrenOutsideSteps\""),
              std::string::npos);
}

TEST_F(CollectionRun, AReportThatCannotBeMovedShowsBox105AndStaysHere) {
    BlockTheReportsMove();
    MessageBoxAnswerer answerer(Collection::kMessageCaption);
    collection.RunCollection();
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Could not move " + OwnReportName() + " to " + collection.report.destination +
                                   ". \n\nHowever, you still have it in the local folder.");
    EXPECT_EQ(answerer.Icon(), "stop");
    EXPECT_TRUE(PathExists(OwnReportName()));
    EXPECT_EQ(ReadWholeFile(collection.report.destination), "taken\r\n");
    EXPECT_EQ(testing_support::ReportEntries(ReadWholeFile(OwnReportName())).back(), "ULVIX - Done!");
    EXPECT_TRUE(view.ended);
    // The collection ran to its end; only the report stayed behind.
    EXPECT_EQ(collection.exitStatus, kExitDone);
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
    collection.options.compress = 1;
    CheckBoxesAsOptions(collection);
    MessageBoxAnswerer answerer("Zeltrin");
    collection.RunCollection();
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "The logs are located at " + collection.run.runFolder);
    EXPECT_EQ(answerer.Icon(), "none");
    EXPECT_EQ(collection.os.isServerCore, 1);
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], "qzcab.cmd " + collection.run.runFolder + " " + collection.folders.systemDirectory +
                            " 123456 NO " + collection.run.timeStamp + " 1");
}
