// Whole runs in process: the report entries of one run against the golden file, its sums and
// manifest read back, the incident-number rule, where the run folder goes, packaging, and the
// report that cannot be moved.
#include <algorithm>
#include <regex>
#include <sstream>

#include "FolderSnapshot.h"
#include "InstallationType.h"
#include "MessageBoxAnswerer.h"
#include "ReferenceSha256.h"
#include "RunFixture.h"
#include "common/text/Format.h"
#include "common/win32/Environment.h"
#include "engine/TimeText.h"
#include "resources/resource.h"
#include "run/CaptureStep.h"
#include "run/OrderedStepOutput.h"
#include "run/StepOrder.h"
#include "run/IncidentNumber.h"
#include "probes/CollectionProbes.h"
#include "run/CollectionRun.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

// The text with every occurrence of each found text replaced by its mark, in the order given.
std::string Masked(std::string text, const std::vector<std::pair<std::string, std::string>>& masks) {
    for (const auto& [found, mark] : masks)
        for (size_t at = text.find(found); !found.empty() && at != std::string::npos; at = text.find(found, at))
            text.replace(at, found.size(), mark);
    return text;
}

OsVersionInfo testedVersion;
OsVersionInfo TestedVersion() { return testedVersion; }

}  // namespace

// Where the logs and tools are differs by Windows generation: a wrong flag sends a whole class of
// servers' logs nowhere. Per generation: its flags, the qzdiag tool, the Dr. Watson log, and what
// the setup log row searches and the cluster log row does.
TEST(OsGenerations, EachGenerationHasItsFlagsToolAndLogPlaces) {
    const std::string old = "copies: <windows>\\CLUSTER\\CLUSTER.LOG (not there now)", v6 = "\"<program>\\DOTNET\\qzdiag2003.EXE\"";
    const std::string search = "searches: <windows>\\INF\\setupapi*.log", cluster = "starts: get_foc_logs.cmd <os> ";
    auto windows = [](DWORD major, DWORD minor) { return OsVersionInfo{VER_PLATFORM_WIN32_NT, major, minor, 3790, ""}; };
    const std::pair<OsVersionInfo, Lines> cases[] = {
        {windows(5, 0), {"1 0 0 0", "<program>\\W2K\\qzdiag2000.EXE", "<all users>\\Documents\\DrWatson\\DRWTSN32.LOG", old}},
        {windows(5, 2), {"0 1 0 0", v6, "<user>\\Local Settings\\Application Data\\Microsoft\\Dr Watson\\DRWTSN32.LOG", old}},
        {windows(6, 0), {"0 0 1 0", v6, "", search, cluster + "0"}}, {windows(6, 1), {"0 0 1 0", v6, "", search, cluster + "0"}},
        {windows(6, 2), {"0 0 1 1", v6, "", search, cluster + "1"}}, {windows(6, 3), {"0 0 1 1", v6, "", search, cluster + "1"}},
    };
    for (const auto& [version, expected] : cases) {
        ScopedWorkFolder work;
        testedVersion = version;
        StartedCollection collection(TestedVersion);
        Initialize(collection);
        const OsFacts& os = collection.os;
        Lines seen = {text::Format("%d %d %d %d", os.isWindows2000, os.isXpOr2003, os.isVersion6, os.isVersion62Or63),
                      collection.paths.qzdiagTool, collection.paths.drWatsonLog};
        RunPlan plan;
        collection.run.osFolder = "<os>";
        OrderedStepOutput output(collection, CaptureStepTable());
        StepServices services(collection.floor, output, &plan, nullptr, true, true, collection.record.ChildOutsideAJobMark());
        for (const CaptureStep& step : CaptureStepTable().subspan(3, 3)) {
            StepContext context(collection.Facts(), services, step.row, step.name, true);
            CarryOutStep(step, context);
            for (const std::string& detail : plan.TakeDetails())
                if (step.row == 6 || (step.row == 4 && detail.find("searches: ") == 4)) seen.push_back(detail.substr(4));
        }
        for (std::string& line : seen)
            line = Masked(line, {{work.Path(), "<program>"}, {collection.folders.windowsDirectory, "<windows>"},
                                 {win32::ExpandEnvironment("%ALLUSERSPROFILE%"), "<all users>"},
                                 {win32::ExpandEnvironment("%USERPROFILE%"), "<user>"}});
        EXPECT_EQ(seen, expected) << version.major << "." << version.minor;
        collection.report.file.Close();
    }
}

TEST_F(CollectionRun, ReportEntriesOfARunAreTheGoldenFileAndItsSumsHoldEveryFile) {
    WriteRecorder("qzcab.cmd");
    collection.options.kerdLogs = collection.options.miscellaneous = collection.options.ruq =
        collection.options.compress = 1;
    CheckBoxesAsOptions(collection);
    collection.paths.ruqDiagTool = PlaceStubTool("ruqdiaginfo.exe");
    collection.paths.ruqDumpTool = PlaceStubTool("ruqdump.exe");
    ASSERT_TRUE(::CreateDirectoryA("logs", nullptr));
    WriteWholeFile("logs\\a.log", "a");
    WriteWholeFile("Zeltrin.CFG", "[Logs]\n# the test's logs\n" + folder.Path() + "\\logs\\*.log\n" + folder.Path() +
                                      "\\missing.txt\n");
    RunCollection(collection);
    ASSERT_EQ(collection.exitStatus, kExitDone);

    const std::string run = collection.run.runFolder;
    // The run's own entries: the header and the detection before them have their own tests.
    const Lines all = ReportEntries();
    std::string entries;
    for (auto entry = std::find(all.begin(), all.end(), "Start - CreateTargetFolder \\\\zeltrin-logs\\incidents\\123456\\");
         entry != all.end(); ++entry)
        entries += *entry + "\n";
    entries = std::regex_replace(entries, std::regex("\\d\\d-\\d\\d-\\d{4}"), "<date>");
    entries = std::regex_replace(entries, std::regex("\\d\\d[-:]\\d\\d[-:]\\d\\d[AP]M"), "<time>");
    entries = std::regex_replace(entries, std::regex("(Current Time Zone: |Bias[^:\\n]*: )[^\\n]*"), "$1<zone>");
    // The boxes the run left off: the report's own test has every state of every box.
    entries = std::regex_replace(entries, std::regex("[^\\n]* = (Unchecked|Disabled)\\n"), "");
    EXPECT_EQ(Masked(entries, {{run, "<run>"}, {folder.Path(), "<work>"}, {collection.folders.systemDirectory, "<system>"},
                               {collection.folders.nodeName, "<node>"}}),
              ReadWholeFile(ProgramFolder() + "\\run_golden_report.txt"));

    // The sums read back as a checksum tool would read them; the manifest gives each file's size.
    const std::string manifest = ReadWholeFile(run + "\\MANIFEST.json");
    std::istringstream sums(ReadWholeFile(run + "\\SHA256SUMS"));
    int summed = 0;
    for (std::string line; std::getline(sums, line); ++summed) {
        ASSERT_TRUE(line.size() > 67 && line.substr(64, 2) == "  " && line.back() == '\r') << line;
        std::string path = line.substr(66, line.size() - 67);
        const std::string manifestEntry = "\"path\": \"" + path + "\",\n      \"size\": ";
        std::replace(path.begin(), path.end(), '/', '\\');
        const std::string bytes = ReadWholeFile(run + "\\" + path);
        EXPECT_EQ(line.substr(0, 64), ReferenceSha256(bytes)) << path;
        if (path != "MANIFEST.json" && path != "SUMMARY.html") {
            EXPECT_NE(manifest.find(manifestEntry + std::to_string(bytes.size())), std::string::npos) << path;
        }
    }
    EXPECT_GE(summed, 4);
    // The whole manifest is read by a JSON parser in the demo run; here the members it must hold.
    const size_t detection = manifest.find("\n  \"detection\": {");
    ASSERT_NE(detection, std::string::npos);
    EXPECT_NE(manifest.find("\n    \"productVersion\": \"" + collection.detection.productVersion + "\"", detection),
              std::string::npos);
    EXPECT_NE(manifest.find("\n  \"incident\": \"123456\""), std::string::npos);
    EXPECT_NE(manifest.find("\n    \"ruq\": 1"), std::string::npos);
    EXPECT_NE(manifest.find("\"children\": [\n        {"), std::string::npos);
}

TEST(IncidentNumber, OnlyLettersDigitsHyphensAndUnderscoresPassAndNoDeviceName) {
    const std::pair<std::string, bool> cases[] = {
        {"123456", true}, {"ab-12_C", true}, {"123456789", true}, {"CONSOLE", true}, {"NUL1", true}, {"COM", true},
        {"COM0", true}, {"COM10", true}, {"LPT0", true}, {"xCON", true}, {"AUX_1", true}, {"", false},
        {"CON", false}, {"prn", false}, {"Aux", false}, {"nUL", false}, {"COM1", false}, {"com9", false},
        {"LPT1", false}, {"lpt9", false}, {"12 34", false}, {"12.34", false}, {"12/34", false}, {"a\x7f", false},
    };
    for (const auto& [number, valid] : cases) EXPECT_EQ(IsValidIncidentNumber(number), valid) << number;
    // Each way out of the bug folder's path or of the packaging command line, once.
    for (const std::string number :
         {"1&calc", "a|b", "a>b", "a<b", "^", "..\\..\\x", "../../x", "\\\\srv\\s", "\"12\"", "'12'", "%TEMP%",
          "caf\xe9", "\xe6\x97\xa5", "a\x01" "b", "C:x", "a\tb", "a\nb", "1,2", "!PATH!", "$(calc)", "`calc`", "a;b",
          "a=b", "12*", "12?", "[12]", "{12}", "a@b", "#12", "~12", "12+1"})
        EXPECT_FALSE(IsValidIncidentNumber(number)) << ::testing::PrintToString(number);
}

TEST_F(CollectionRun, RefusedIncidentNumberShowsBox104AndLeavesNoTrace) {
    collection.run.networkShareRoot = folder.Path() + "\\share\\";
    ASSERT_TRUE(::CreateDirectoryA(collection.run.networkShareRoot.c_str(), nullptr));
    WriteRecorder("stop_wpp_ssn.cmd");
    collection.options.bootLog = collection.options.compress = 1;
    CheckBoxesAsOptions(collection);
    const FolderSnapshot before = TakeFolderSnapshot(folder.Path());
    collection.entries.incidentNumber = "..\\..\\x";
    MessageBoxAnswerer answerer("Zeltrin");
    RunCollection(collection);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Please enter a valid Lorvex incident number or Mossel case ID to continue.\n\n"
                               "Example: \n\tLorvex incident number: 123456\n\tMossel Case ID: 123456789");
    EXPECT_EQ(answerer.Icon(), "exclamation");
    EXPECT_EQ(collection.exitStatus, kExitIncidentRefused);
    EXPECT_FALSE(view.ended);
    // The report's size is in the snapshot: not one entry was written.
    EXPECT_EQ(SnapshotDifferences(before, TakeFolderSnapshot(folder.Path())), Lines{});
    EXPECT_EQ(FileLines(callLog), Lines{});
}

// "-noGUI case#=" longer than the field's 9 characters: the read-back stops at the field with the
// framework's length message; the number is used whole, and the boxes read after it stay cleared.
TEST_F(CollectionRun, AnIncidentNumberTooLongForItsFieldStopsTheReadBackThereAndIsUsedWhole) {
    Box(collection, IDC_OKAPO_LOGS).check = Box(collection, IDC_SETUP_LOG).check = BST_CHECKED;  // before it and after
    collection.entries.incidentNumber = "1234567890";
    MessageBoxAnswerer answerer("Zeltrin");
    RunCollection(collection);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Please enter no more than 9 characters.");
    EXPECT_EQ(collection.run.runFolder.substr(0, destination.size() + 11), destination + "1234567890\\");
    EXPECT_EQ(std::pair(collection.options.okapoLogs, collection.options.setupLog), std::pair(1, 0));
}

// No root, then other runs of the incident that took this second's name and the next ones (they
// made their folders first): the run stops with the fatal line while a minute of names is taken,
// the dialog staying open, else it takes the first free second.
TEST_F(CollectionRun, NoFolderStopsTheRunAndRunsInTheSameSecondTakeTheNextFreeSecondsName) {
    collection.entries.destinationFolder = folder.Path() + "\\missing\\";
    RunCollection(collection);
    collection.entries.destinationFolder = destination;
    const std::string machine = destination + "123456\\" + collection.folders.nodeName + "\\";
    for (const std::string& level : {destination + "123456", machine}) ::CreateDirectoryA(level.c_str(), nullptr);
    const std::time_t now = std::time(nullptr);
    for (std::time_t t = now; t < now + 62; ++t) ::CreateDirectoryA((machine + RunFolderTimeStamp(t)).c_str(), nullptr);
    RunCollection(collection);
    EXPECT_EQ(collection.exitStatus, kExitNoRunFolder);
    EXPECT_FALSE(view.ended);
    const std::time_t next = std::time(nullptr) + 1;  // taken up to here, however long that run took
    for (std::time_t t = next + 1; t < now + 62; ++t) ::RemoveDirectoryA((machine + RunFolderTimeStamp(t)).c_str());
    RunCollection(collection);
    EXPECT_EQ(collection.run.runFolder, machine + RunFolderTimeStamp(next + 1));
    std::string entries;
    for (const std::string& entry : ReportEntries()) entries += entry + "\n";
    EXPECT_NE(entries.find("\nFATAL: failed to create " + folder.Path() + "\\missing\\123456\\\n"), std::string::npos);
    bool told = false;  // naming the name it tried first
    for (std::time_t t = now; t <= next; ++t)
        told |= entries.find("\n" + machine + RunFolderTimeStamp(t) + " exists already (another run in the same second): "
                             "this run collects into " + collection.run.runFolder + "\n") != std::string::npos;
    EXPECT_TRUE(told) << entries;
}

TEST_F(CollectionRun, PackagingCommandNamesFolderSystemBugDeleteStampAndServerCore) {
    PlantedInstallationType serverCore{"Server Core"};
    ASSERT_TRUE(serverCore.Planted());
    WriteRecorder("qzcab.cmd");
    collection.options.compress = collection.options.deleteAfterCompress = 1;
    CheckBoxesAsOptions(collection);
    MessageBoxAnswerer answerer("Zeltrin");
    RunCollection(collection);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "The logs are located at " + collection.run.runFolder);
    EXPECT_EQ(FileLines(callLog), Lines{"qzcab.cmd " + collection.run.runFolder + " " + collection.folders.systemDirectory +
                             " 123456 YES " + collection.run.timeStamp + " 1"});
    EXPECT_NE(ReadWholeFile(collection.run.runFolder + "\\QzFilesToCab3.TXT").find("\"\\QzFilesToCab3.TXT\""),
              std::string::npos);
}

TEST_F(CollectionRun, AReportThatCannotBeMovedShowsBox105AndStaysHere) {
    // The cluster snapshot's tool leaves a file of the report's name in the run folder.
    WriteWholeFile("get_ha_filever.cmd", "@echo off\r\necho taken> %1\\" + OwnReportName() + "\r\n");
    collection.detection.clusterSnapshotToolFound = 1;
    collection.detection.clusterSnapshotToolPath = PlaceStubTool("clusnap.exe");
    collection.options.pqhHa = 1;
    CheckBoxesAsOptions(collection);
    MessageBoxAnswerer answerer(Collection::kMessageCaption);
    RunCollection(collection);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Could not move " + OwnReportName() + " to " + collection.report.destination +
                                   ". \n\nHowever, you still have it in the local folder.");
    EXPECT_EQ(answerer.Icon(), "stop");
    EXPECT_EQ(ReadWholeFile(collection.report.destination), "taken\r\n");
    EXPECT_EQ(testing_support::ReportEntries(ReadWholeFile(OwnReportName())).back(), "ULVIX - Done!");
    EXPECT_EQ(collection.exitStatus, kExitDone);
}

// Rows that may write the same file keep the table's order; names compare as the system does.
TEST(StepOrder, WritesThatMayMeetAndTheRowsEachRowWaitsFor) {
    EXPECT_TRUE(WritesOverlap("OS:BOOT.INI", "OS:boot.ini"));
    EXPECT_FALSE(WritesOverlap("OS:BOOT.INI", "VM:BOOT.INI"));
    EXPECT_FALSE(WritesOverlap("VM:QzOKAPO*", "VM:VM_QzOKAPO*"));
    EXPECT_TRUE(WritesOverlap("VM:QzOKAPO*", "VM:qzokapo.log.2"));
    EXPECT_TRUE(WritesOverlap("VM:qz*", "VM:QzOKAPO*"));
    EXPECT_TRUE(WritesOverlap("OS:SETUPAPI.LOG OS:setupapi*.log", "OS:setupapi.dev.log"));
    EXPECT_TRUE(WritesOverlap("OS:SYSTEM*.TXT", "OS:BOOT.INI"));  // a star not at the end may match anything
    EXPECT_FALSE(WritesOverlap("OS:A.TXT RUN:B.TXT", "OS:B.TXT RUN:A.TXT"));

    const auto steps = CaptureStepTable();
    auto waits = [&steps](const std::vector<bool>& carriedOut) {
        Lines rows;
        for (const auto& waited : RowsToWaitFor(steps, carriedOut)) {
            std::string line;
            for (size_t index : waited) line += std::to_string(steps[index].row) + " ";
            rows.push_back(line);
        }
        return rows;
    };
    const Lines all = waits(std::vector<bool>(steps.size(), true));
    EXPECT_EQ(all[2], "1 ");                             // BOOT.INI: only the row that runs alone before it
    EXPECT_EQ(all[5], "1 2 3 4 5 ");                     // the cluster log's tool writes anything into OS
    EXPECT_EQ(all[8], "1 7 8 ");                         // the alert log meets the traces' names
    EXPECT_EQ(all[20], "1 14 15 17 18 19 ");             // OSMU: its own folder
    EXPECT_EQ(all[23], "1 14 15 17 18 19 22 ");          // comms follows NLD/WKE
    EXPECT_EQ(all[28].substr(0, 9), "1 2 3 4 5");        // the dump waits for everything before it
    std::vector<bool> withoutFirst(steps.size(), true);
    withoutFirst[0] = false;
    EXPECT_EQ(waits(withoutFirst)[2], "");
    EXPECT_EQ(waits(withoutFirst)[16].substr(0, 2), "1 ");  // still after the row it must follow
}

// Entries of a row that ends before an earlier one wait, in a file of the run folder, and reach
// the report after the earlier row's; the file goes once nothing waits.
TEST_F(CollectionRun, EntriesReachTheReportInTableOrderAndWaitInTheRunFolderMeanwhile) {
    collection.run.runFolder = folder.Path();
    const std::string waiting = folder.Path() + "\\" + kWaitingEntriesName;
    collection.LogReport("-- the test starts here --");
    {
        OrderedStepOutput output(collection, CaptureStepTable());
        output.Entry(3, "c1<BR>");
        output.Entry(2, "b1<BR>");
        output.Status(2, "status of 2");
        output.Entry(1, "a1<BR>");
        output.Entry(4, "d1<BR>");
        output.Status(4, "status of 4");
        output.Finish(2, {}, {});
        EXPECT_EQ(ReadWholeFile(waiting), "3\tc1<BR>\r\n2\tb1<BR>\r\n4\td1<BR>\r\n");
        output.Finish(1, {}, {});
        EXPECT_EQ(ReadWholeFile(waiting), "4\td1<BR>\r\n");  // what is appended leaves it
        output.Entry(3, "c2<BR>");
        output.Finish(3, {}, {});
        output.Finish(4, {}, {});
        EXPECT_FALSE(PathExists(waiting));
        EXPECT_EQ(collection.record.Steps().size(), 4u);
    }
    collection.report.file.Close();
    const std::string report = ReadWholeFile(collection.report.fileName);
    EXPECT_EQ(report.substr(report.find("-- the test starts here --")),
              "-- the test starts here --<BR>a1<BR>b1<BR>c1<BR>c2<BR>d1<BR>");
}
