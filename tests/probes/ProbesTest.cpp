// The probes and the detection: file and registry probes with their report lines, the service
// probe against the real service manager, the whole product found, and the volume daemon's
// options value as seeded untrusted input.
#include "SeededCases.h"
#include "ProbeFixture.h"
#include "ProductRegistry.h"
#include "SimulatedProduct.h"
#include "TestService.h"
#include "probes/DetectionSteps.h"
#include "resources/resource.h"
#include "probes/CollectionProbes.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {
constexpr const char* kTestKey = "SOFTWARE\\BRENNOCK\\ZeltrinProbeTest";
}

TEST_F(ProbeTest, FileAndRegistryProbesAnswerWithTheirReportLines) {
    WriteWholeFile("a.log", "x");
    PlantedKey key{kTestKey};
    key.SetString("Expand", "%SystemRoot%\\x", REG_EXPAND_SZ);
    key.SetBytes("Number", REG_DWORD, std::string("\x05\0\0\0", 4));
    key.SetString("Fits", std::string(260, 'a'));
    key.SetString("TooLong", std::string(261, 'b'));
    const std::string missing = folder.Path() + "\\nothing\\here.log", start = "Start - IsPathExistsInRegistry Sub Key:";
    std::string read;
    EXPECT_EQ(IsFileExists(collection, folder.Path() + "\\*.log"), 1);
    EXPECT_EQ(IsFileExists(collection, missing), 0);
    EXPECT_EQ(IsFileExists(collection, ""), 0);
    EXPECT_EQ(IsPathExistsInRegistry(collection, kTestKey, "Expand", read, 0), 1);
    EXPECT_EQ(read, "%SystemRoot%\\x");
    EXPECT_EQ(IsPathExistsInRegistry(collection, kTestKey, "Number", read, 0), 0);
    EXPECT_EQ(IsPathExistsInRegistry(collection, kTestKey, "Fits", read, 0), 1);
    EXPECT_EQ(IsPathExistsInRegistry(collection, kTestKey, "TooLong", read, 0), 0);
    EXPECT_EQ(read, std::string(260, 'a'));
    EXPECT_EQ(IsPathExistsInRegistry(collection, "SOFTWARE\\BRENNOCK\\NoSuchKey", "X", read, 0), 0);
    EXPECT_EQ(IsPathExistsInRegistry(collection, kTestKey, "Absent", read, 0), 0);
    EXPECT_EQ(IsQzSvcRunning(collection, "zeltrin-no-such-service"), 0);
    const std::string key0 = start + kTestKey + "; Value Name:";
    EXPECT_EQ(NewEntries(),
              (Lines{"Start - IsFileExists " + folder.Path() + "\\*.log", folder.Path() + "\\*.log is available",
                     "Finish - IsFileExists Error = 0", "Start - IsFileExists " + missing,
                     FindFailed(ERROR_PATH_NOT_FOUND), "Finish - IsFileExists Error = 3", "Start - IsFileExists ",
                     "Finish - IsFileExists Empty File Name.", key0 + "Expand", "Path in Registry: %SystemRoot%\\x",
                     "Finish - IsPathExistsInRegistry.  Error=0", key0 + "Number",
                     "Finish - IsPathExistsInRegistry.  Error=0", key0 + "Fits", "Path in Registry: " + std::string(260, 'a'),
                     "Finish - IsPathExistsInRegistry.  Error=0", key0 + "TooLong",
                     "RegQueryValueEx() failed to read TooLong; Error=234", "Finish - IsPathExistsInRegistry.  Error=234",
                     start + "SOFTWARE\\BRENNOCK\\NoSuchKey; Value Name:X",
                     "RegOpenKeyEx() failed for SOFTWARE\\BRENNOCK\\NoSuchKey; Error=2",
                     "Finish - IsPathExistsInRegistry.  Error=2", key0 + "Absent",
                     "RegQueryValueEx() failed to query name length for Absent; Error=2",
                     "RegQueryValueEx() failed to read Absent; Error=2", "Finish - IsPathExistsInRegistry.  Error=2",
                     "Start - IsQzSvcRunning - Service Name: zeltrin-no-such-service",
                     "QueryServiceStatus()->" + GetErrorText(ERROR_INVALID_HANDLE),
                     "Service - CloseServiceHandle()->" + GetErrorText(ERROR_INVALID_HANDLE),
                     "Finish - IsQzSvcRunning. Error = 6"}));
}

TEST_F(ProbeTest, ARunningServiceAndAPausedOneCountAsRunningAStoppedOneDoesNot) {
    InstalledService service("qzsvc");
    EXPECT_EQ(IsQzSvcRunning(collection, "qzsvc"), 1);
    ASSERT_TRUE(service.Control(SERVICE_CONTROL_PAUSE, SERVICE_PAUSED));
    EXPECT_EQ(IsQzSvcRunning(collection, "qzsvc"), 1);
    ASSERT_TRUE(service.Control(SERVICE_CONTROL_STOP, SERVICE_STOPPED));
    EXPECT_EQ(IsQzSvcRunning(collection, "qzsvc"), 0);
}

TEST(Detection, TheWholeProductIsFoundReportedInOrderAndItsBoxesEnabled) {
    ScopedWorkFolder folder;
    SimulatedProduct product{folder.Path()};
    InstalledService service{"qzsvc"};
    StartedCollection collection;
    Initialize(collection);
    const DetectionResults& found = collection.detection;
    EXPECT_EQ(found.okapoTracePath, product.okapoTrace);
    EXPECT_EQ(found.tgnXmlFolder, product.xmlFolder);
    EXPECT_EQ(found.kerdLogFolder, product.kerdFolder);
    EXPECT_EQ(found.clusterSnapshotToolPath, product.clusterSnapshotTool);
    for (int id : {IDC_QZSVC_DUMP, IDC_PROVIDERS, IDC_OKAPO_LOGS, IDC_TGN, IDC_ZRX, IDC_MPS_REPORTS, IDC_KERD_LOGS,
                   IDC_PELORIN, IDC_LICENSES, IDC_SOLUTIONS, IDC_RBK_SCHEDULES, IDC_PQH_HA, IDC_WLT, IDC_TEJ_RQN})
        EXPECT_TRUE(Box(collection, id).enabled) << id;
    collection.report.file.Close();
    Lines entries = ReportEntries(ReadWholeFile(OwnReportName()));
    Lines expected = {"Service: qzsvc is up and running!", "VM Service is running", "OKAPO: Installed",
                      "OKAPO Trace file path: " + product.okapoTrace, "YEB: Installed", "TGN: Installed",
                      "TGN XML Files path: " + product.xmlFolder, "KDX/VM Version: 6.1.0.445", "ZRX: Installed",
                      "VM Log file path -- after parsing: " + product.kerdFolder, "Pelorin Installed",
                      "License(s) Exist", "Finish - Initialize. Error=0<BR>"};
    auto at = entries.begin();
    for (const std::string& line : expected) {
        at = std::find(at, entries.end(), line);
        EXPECT_NE(at, entries.end()) << line;
    }
    // A trace that is registered but not there greys its box.
    ::DeleteFileA(product.okapoTrace.c_str());
    const BoxDecisions decided = detection_steps::DetectTraces(collection);
    for (const BoxDecision& decision : decided.List()) Apply(collection, decision);
    EXPECT_FALSE(Box(collection, IDC_OKAPO_LOGS).enabled);
}

// The options value is whatever the daemon's installer or an administrator wrote: whatever it
// holds, no log found greys the box, and the same value gives the same finding.
TEST(KerdOptionsSeeded, WithoutAFoundLogTheBoxIsGreyedAndTheSameValueGivesTheSameFinding) {
    const std::string key = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager";
    RemoveMachineKey(kProductRoot);
    ScopedWorkFolder folder;
    const std::string logs = folder.Path() + "\\logs";
    ::CreateDirectoryA(logs.c_str(), nullptr);
    WriteWholeFile(logs + "\\kerd.log", "kerd");
    const std::vector<std::string> pieces = {"logfile=", "LOGFILE=", "\"", logs + "\\", logs + "\\kerd.log", "kerd.log",
                                             "*.log", " -trace=2 ", "\\", "C:\\other\\k.log", std::string(1, '\0')};
    StartedCollection collection;
    int foundCases = 0;
    for (const SeededCase& c : SeededCaseList(8100, 200)) {
        SCOPED_TRACE(c.Name());
        SeededRandom random(c.seed);
        std::string value;
        for (int piece = random.Int(0, 6); piece > 0; --piece)
            value += random.Chance(90) ? random.Pick(pieces) : random.Bytes(random.EdgeLength(261), true);
        CreateMachineKey(key);
        PlantedKey planted(key);
        planted.SetBytes("KerdOptions", random.Pick(std::vector<DWORD>{REG_SZ, REG_EXPAND_SZ, REG_BINARY}), value);
        std::vector<std::string> findings;
        for (int round = 0; round < 2; ++round) {
            DetectionResults& found = collection.detection;
            found = DetectionResults{};
            BoxState& box = Box(collection, IDC_KERD_LOGS);
            box = {BST_CHECKED, true};
            const BoxDecisions decided = detection_steps::DetectKerdLogs(collection);
            for (const BoxDecision& decision : decided.List()) Apply(collection, decision);
            if (!found.kerdLogsFound) {
                EXPECT_FALSE(box.enabled);
            }
            EXPECT_EQ(box.check, BST_CHECKED);
            foundCases += found.kerdLogsFound;
            findings.push_back(found.kerdLogFolder + "|" + found.kerdLogPattern + "|" + std::to_string(box.enabled));
        }
        EXPECT_EQ(findings[0], findings[1]);
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_GT(foundCases, 0);
}
