// The captures run through the command interpreter: MPIO, the management server's gather
// script with its NLD fallback, and the tools whose standard output is appended to a file.
#include "MessageBoxAnswerer.h"
#include "ProductRegistry.h"
#include "ToolCaptureFixture.h"
#include "run/StepActions.h"

using namespace testing_support;

namespace {

constexpr const char* kManagementKey = "SOFTWARE\\TOBRIN\\NLDH\\quintl";

// A line the stand-in prints: its text-mode standard output ends it with CR LF.
std::string Printed(const std::string& text) { return text + "\r\n"; }

Lines RegistryFound(const std::string& value) {
    return {std::string("Start - IsPathExistsInRegistry Sub Key:") + kManagementKey + "; Value Name:Installdir",
            "Path in Registry: " + value, "Finish - IsPathExistsInRegistry.  Error=0"};
}

Lines RegistryMissing() {
    return {std::string("Start - IsPathExistsInRegistry Sub Key:") + kManagementKey + "; Value Name:Installdir",
            std::string("RegOpenKeyEx() failed for ") + kManagementKey + "; Error=2",
            "Finish - IsPathExistsInRegistry.  Error=2"};
}

}  // namespace

class InterpreterCaptureTest : public ToolCaptureTest {
protected:
    // A command file at `relative` that appends "<tag> <its arguments>" to "calls.txt".
    std::string PlaceRecorder(const std::string& relative, const std::string& tag) {
        std::string path = work + "\\" + relative;
        WriteWholeFile(path, "@echo " + tag + " %*>>\"" + work + "\\calls.txt\"\r\n");
        return path;
    }
    std::string Calls() const { return PathExists("calls.txt") ? ReadWholeFile("calls.txt") : ""; }
};

class MpioTest : public InterpreterCaptureTest {
protected:
    void SetUp() override {
        InterpreterCaptureTest::SetUp();
        SaveVariable("TEMP", savedTemp);
        SaveVariable("ALLUSERSPROFILE", savedAllUsers);
        temp = MakeFolder("temp");
        allUsers = MakeFolder("all");
        ::SetEnvironmentVariableA("TEMP", temp.c_str());
        ::SetEnvironmentVariableA("ALLUSERSPROFILE", allUsers.c_str());
        PlaceTool("qdsminfo.exe");
        collection.run.mpioLogTarget = work + "\\instmpio.log";
        collection.run.qdsminfoLogTarget = work + "\\qdsminfo.log";
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("TEMP", savedTemp.c_str());
        ::SetEnvironmentVariableA("ALLUSERSPROFILE", savedAllUsers.c_str());
        InterpreterCaptureTest::TearDown();
    }
    static void SaveVariable(const char* name, std::string& value) {
        char buffer[MAX_PATH] = {};
        ::GetEnvironmentVariableA(name, buffer, MAX_PATH);
        value = buffer;
    }
    std::string FirstLocation() const { return temp + "\\qzmpio\\instmpio.log"; }
    std::string SecondLocation() const { return allUsers + "\\application data\\brennock\\mpio\\instmpio.log"; }
    Lines Opening() const {
        return {"Start - CaptureMPIOInfo", "TEMP: " + temp, "MPIO Log Path: " + FirstLocation()};
    }
    Lines Closing() const {
        return {"QDSMInfo AppArgs: qdsminfo.exe >> " + work + "\\qdsminfo.log",
                "QDSMInfo Target Folder Name: " + work + "\\qdsminfo.log", "Finish - CaptureMPIOInfo"};
    }

    std::string savedTemp;
    std::string savedAllUsers;
    std::string temp;
    std::string allUsers;
};

TEST_F(MpioTest, ALogAtTheFirstLocationNeedsNoSecondLook) {
    MakeFolder("temp\\qzmpio");
    WriteWholeFile(FirstLocation(), "first");
    EXPECT_EQ(collection.CaptureMPIOInfo(), 1);

    EXPECT_EQ(ReadWholeFile("instmpio.log"), "first");
    EXPECT_EQ(ReadWholeFile("qdsminfo.log"), Printed("qdsminfo stub output:"));
    EXPECT_EQ(NewEntries(), Join({Opening(), GrabLines(FirstLocation(), work + "\\instmpio.log"), Closing()}));
}

TEST_F(MpioTest, TheOlderLocationIsTriedWhenTheFirstCopyFails) {
    MakeFolder("all\\application data");
    MakeFolder("all\\application data\\brennock");
    MakeFolder("all\\application data\\brennock\\mpio");
    WriteWholeFile(SecondLocation(), "second");
    EXPECT_EQ(collection.CaptureMPIOInfo(), 1);

    EXPECT_EQ(ReadWholeFile("instmpio.log"), "second");
    std::string notFound = "Failed to copy!!! " + GetErrorText(ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(NewEntries(), Join({Opening(), GrabLines(FirstLocation(), work + "\\instmpio.log", notFound, 3),
                                  {"KDX43 stores instmpio.log in different location"},
                                  GrabLines(SecondLocation(), work + "\\instmpio.log"), Closing()}));
}

TEST_F(MpioTest, WithTheLogAtNeitherLocationBothFailuresStandAndQdsminfoStillRuns) {
    WriteWholeFile("qdsminfo.log", "earlier\r\n");
    EXPECT_EQ(collection.CaptureMPIOInfo(), 1);

    EXPECT_FALSE(PathExists("instmpio.log"));
    EXPECT_EQ(ReadWholeFile("qdsminfo.log"), "earlier\r\n" + Printed("qdsminfo stub output:"));
    std::string notFound = "Failed to copy!!! " + GetErrorText(ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(NewEntries(), Join({Opening(), GrabLines(FirstLocation(), work + "\\instmpio.log", notFound, 3),
                                  {"KDX43 stores instmpio.log in different location"},
                                  GrabLines(SecondLocation(), work + "\\instmpio.log", notFound, 3), Closing()}));
}

class WkeTest : public InterpreterCaptureTest {
protected:
    void SetUp() override {
        InterpreterCaptureTest::SetUp();
        RemoveMachineKey("SOFTWARE\\TOBRIN");
        collection.paths.nldDiagScript = PlaceRecorder("nld_diag.cmd", "nld");
        collection.run.nldFolder = work + "\\NLD";
        collection.run.wkeFolder = work + "\\WKE";
        install = MakeFolder("mgmt") + "\\";
    }
    void TearDown() override {
        RemoveMachineKey("SOFTWARE\\TOBRIN");
        InterpreterCaptureTest::TearDown();
    }
    // The product installed in "mgmt\", with its gather script and its perl (the stand-in).
    void InstallManagementServer(bool withScript) {
        SetMachineString(kManagementKey, "Installdir", install);
        MakeFolder("mgmt\\adm");
        MakeFolder("mgmt\\bin");
        PlaceTool("mgmt\\bin\\perl.exe");
        if (withScript) WriteWholeFile(Script(), "# gather\n");
    }
    std::string Script() const { return install + "adm\\wkegather.pl"; }
    std::string GatherCommand() const {
        return "\"\"" + install + "bin\\perl\" \"" + Script() + "\" --dir " + work + "\\WKE\"";
    }
    Lines Nld() const {
        return {"Start - CaptureNLDInfo", "NLD App and Args: \"" + work + "\\nld_diag.cmd\" \"" + work + "\\NLD\"",
                "NLD Target Folder Name: " + work + "\\NLD", "Finish - CaptureNLDInfo"};
    }
    Lines Gather() const {
        return Join({{"Start - CaptureWKEInfo"}, RegistryFound(install), {"WKE Install Dir: " + install},
                     FoundLines(Script()),
                     {"wkegather.pl is available", "WKE App and Args: " + GatherCommand(),
                      "WKE Target Folder Name: " + work + "\\WKE"}});
    }
    std::string NldCall() const { return "nld \"" + work + "\\NLD\"\r\n"; }

    std::string install;
};

TEST_F(WkeTest, ASuccessfulGatherEndsTheCaptureWithoutTheNldDiagnostic) {
    InstallManagementServer(true);
    collection.CaptureWKEInfo();

    EXPECT_EQ(Calls(), "");
    Lines starts = StubStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].rfind("perl|", 0), 0u) << starts[0];
    EXPECT_NE(starts[0].find("\"" + Script() + "\" --dir " + work + "\\WKE"), std::string::npos) << starts[0];
    EXPECT_EQ(NewEntries(), Gather());
}

TEST_F(WkeTest, AFailedGatherFallsBackToTheNldDiagnostic) {
    InstallManagementServer(true);
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", "1");
    collection.CaptureWKEInfo();

    EXPECT_EQ(StubStarts().size(), 1u);
    EXPECT_EQ(Calls(), NldCall());
    EXPECT_EQ(NewEntries(), Join({Gather(), Nld()}));
}

TEST_F(WkeTest, WithoutTheProductTheNldDiagnosticFollowsTheRegistryProbeDirectly) {
    collection.run.managementServerFolder = "kept from before\\";
    collection.CaptureWKEInfo();

    EXPECT_EQ(collection.run.managementServerFolder, "kept from before\\");
    EXPECT_EQ(Calls(), NldCall());
    EXPECT_EQ(NewEntries(), Join({{"Start - CaptureWKEInfo"}, RegistryMissing(), Nld()}));
}

TEST_F(WkeTest, AMissingGatherScriptFallsBackToTheNldDiagnostic) {
    InstallManagementServer(false);
    collection.CaptureWKEInfo();

    EXPECT_EQ(StubStarts(), Lines{});
    EXPECT_EQ(Calls(), NldCall());
    EXPECT_EQ(NewEntries(), Join({{"Start - CaptureWKEInfo"}, RegistryFound(install), {"WKE Install Dir: " + install},
                                  MissingLines(Script()), {"wkegather.pl is NOT available"}, Nld()}));
}

using AppendedOutputTest = InterpreterCaptureTest;

TEST_F(AppendedOutputTest, SnapshotScriptGetsItsQuotedPathAndTheOutputFolder) {
    collection.paths.osmuSnapshotScript = PlaceRecorder("osmu_snapshot.cmd", "osmu");
    collection.run.osmuFolder = work + "\\OSMU";
    collection.CaptureOSMUInfo();

    EXPECT_EQ(Calls(), "osmu -o " + work + "\\OSMU\r\n");
    EXPECT_EQ(NewEntries(), (Lines{"Start - CaptureOSMUInfo",
                                   "OSMU App and Args: \"" + work + "\\osmu_snapshot.cmd\" -o " + work + "\\OSMU",
                                   "OSMU Target Folder Name: " + work + "\\OSMU", "Finish - CaptureOSMUInfo"}));
}

TEST_F(AppendedOutputTest, AQuotedToolPathWithBlanksAndParenthesesKeepsItsQuotes) {
    MakeFolder("Program Files (x86)");
    collection.paths.osmuSnapshotScript = PlaceRecorder("Program Files (x86)\\osmu_snapshot.cmd", "osmu");
    collection.run.osmuFolder = work + "\\OSMU";
    collection.CaptureOSMUInfo();
    EXPECT_EQ(Calls(), "osmu -o " + work + "\\OSMU\r\n");
    collection.paths.qzdiagTool = "\"" + PlaceTool("Program Files (x86)\\qzdiag2003.EXE") + "\"";
    collection.run.qzdiagTarget = work + "\\qzdiag.txt";
    step_actions::CaptureQzDiag(collection, nullptr);
    EXPECT_EQ(ReadWholeFile("qzdiag.txt"), Printed("qzdiag2003 stub output:"));
}

TEST_F(AppendedOutputTest, TheNldDiagnosticTooLongIsRefusedAndNothingRuns) {
    collection.paths.nldDiagScript = PlaceRecorder("nld_diag.cmd", "nld");
    collection.run.nldFolder = work + "\\" + std::string(200, 'n');
    collection.CaptureNLDInfo();

    std::string commandLine = "\"" + work + "\\nld_diag.cmd\" \"" + collection.run.nldFolder + "\"";
    EXPECT_EQ(Calls(), "");
    EXPECT_EQ(NewEntries(), (Lines{"Start - CaptureNLDInfo", "NLD App and Args: " + commandLine,
                                   "NLD Target Folder Name: " + collection.run.nldFolder, RefusedLine(commandLine),
                                   "Finish - CaptureNLDInfo"}));
}

TEST_F(AppendedOutputTest, FileVersionsAreAppendedToWhatTheFileHolds) {
    PlaceTool("qzfilever.exe");
    collection.run.kdxBinaryVersionTarget = work + "\\KDX_BINARY_VERSION.TXT";
    collection.CaptureKDXFileInfo();
    collection.CaptureKDXFileInfo();

    EXPECT_EQ(ReadWholeFile("KDX_BINARY_VERSION.TXT"),
              Printed("qzfilever stub output:") + Printed("qzfilever stub output:"));
    std::string target = work + "\\KDX_BINARY_VERSION.TXT";
    Lines once = {"Start - CaptureKDXFileInfo", "KDX File Ver AppArgs: qzfilever.EXE >> " + target,
                  "KDX File Ver Target Folder Name: " + target, "Finish - CaptureKDXFileInfo"};
    EXPECT_EQ(NewEntries(), Join({once, once}));
}

TEST_F(AppendedOutputTest, MountPointsComeFromTheSystemDirectorysUtility) {
    collection.folders.systemDirectory = MakeFolder("system32");
    PlaceTool("system32\\mountvol.exe");
    collection.run.mountVolTarget = work + "\\mountvol.txt";
    collection.CaptureMountVolInfo();

    EXPECT_EQ(ReadWholeFile("mountvol.txt"), Printed("mountvol stub output:"));
    std::string commandLine = work + "\\system32\\mountvol.exe >> " + work + "\\mountvol.txt";
    EXPECT_EQ(NewEntries(), (Lines{"Start - CaptureMountVolInfo", "CaptureMountVolInfo AppArgs: " + commandLine,
                                   "CaptureMountVolInfo Target Folder Name: " + work + "\\mountvol.txt",
                                   "Finish - CaptureMountVolInfo"}));
}

TEST_F(AppendedOutputTest, NodeMapAndNodeStateGoToTheirOwnFilesUnlogged) {
    PlaceTool("qzclustadm.exe");
    collection.run.hnvNidmapTarget = work + "\\HNV_NIDMAP_REPORT.TXT";
    collection.run.hnvNodestateTarget = work + "\\HNV_NODESTATE_REPORT.TXT";
    collection.CaptureHNVInfo();

    EXPECT_EQ(ReadWholeFile("HNV_NIDMAP_REPORT.TXT"), Printed("qzclustadm stub output: nidmap"));
    EXPECT_EQ(ReadWholeFile("HNV_NODESTATE_REPORT.TXT"), Printed("qzclustadm stub output: -v nodestate"));
    EXPECT_EQ(NewEntries(), (Lines{"Start - CaptureHNVInfo", "Finish - CaptureHNVInfo"}));
}

TEST_F(AppendedOutputTest, ACommandTooLongForTheInterpreterIsRefusedAndNothingRuns) {
    PlaceTool("qzfilever.exe");
    collection.run.kdxBinaryVersionTarget = work + "\\" + std::string(240, 'k') + ".TXT";
    collection.CaptureKDXFileInfo();

    std::string commandLine = "qzfilever.EXE >> " + collection.run.kdxBinaryVersionTarget;
    EXPECT_EQ(StubStarts(), Lines{});
    EXPECT_FALSE(PathExists(collection.run.kdxBinaryVersionTarget));
    EXPECT_EQ(NewEntries(), (Lines{"Start - CaptureKDXFileInfo", "KDX File Ver AppArgs: " + commandLine,
                                   "KDX File Ver Target Folder Name: " + collection.run.kdxBinaryVersionTarget,
                                   RefusedLine(commandLine), "Finish - CaptureKDXFileInfo"}));
}

// A command line too long for a report entry would have the report show its "Could not pack
// the string" box, which no one answers in a silent run: the entries show its beginning.
TEST_F(AppendedOutputTest, CommandLinesTooLongForAReportEntryShowTheirBeginningAndAreRefused) {
    MessageBoxAnswerer answerer(Collection::kMessageCaption);  // only keeps a faulty build from hanging
    std::string deep = work + "\\" + std::string(240, 'd');
    collection.paths.osmuSnapshotScript = deep + "\\osmu_snapshot.cmd";
    collection.run.osmuFolder = deep + "\\OSMU";
    collection.paths.nldDiagScript = deep + "\\nld_diag.cmd";
    collection.run.nldFolder = deep + "\\NLD";
    collection.paths.qzdiagTool = "\"" + deep + "\\qzdiag2003.EXE\"";
    collection.run.qzdiagTarget = deep + "\\qzdiag.txt";
    collection.CaptureOSMUInfo();
    collection.CaptureNLDInfo();
    step_actions::CaptureQzDiag(collection, nullptr);

    std::string osmu = "\"" + collection.paths.osmuSnapshotScript + "\" -o " + collection.run.osmuFolder;
    std::string nld = "\"" + collection.paths.nldDiagScript + "\" \"" + collection.run.nldFolder + "\"";
    std::string qzdiag = collection.paths.qzdiagTool + " >> " + collection.run.qzdiagTarget;
    for (const std::string* line : {&osmu, &nld, &qzdiag}) ASSERT_GT(line->size(), 511u);
    EXPECT_EQ(Calls(), "");
    EXPECT_EQ(
        NewEntries(),
        (Lines{"Start - CaptureOSMUInfo", "OSMU App and Args: " + osmu.substr(0, 200) + "...",
               "OSMU Target Folder Name: " + collection.run.osmuFolder, RefusedLine(osmu), "Finish - CaptureOSMUInfo",
               "Start - CaptureNLDInfo", "NLD App and Args: " + nld.substr(0, 200) + "...",
               "NLD Target Folder Name: " + collection.run.nldFolder, RefusedLine(nld), "Finish - CaptureNLDInfo",
               "Start - Capturing QzDiag Information ...", "QzDiag App: " + qzdiag.substr(0, 200) + "...",
               "QzDiag Target Folder Name: " + collection.run.qzdiagTarget, RefusedLine(qzdiag),
               "Finish - Capturing QzDiag Information"}));
}
