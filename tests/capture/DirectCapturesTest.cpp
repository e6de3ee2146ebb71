// The directly started captures: the runner that brings a tool's output file in, the system
// information report, the management console diagnostic and the two script-host captures.
#include "MessageBoxAnswerer.h"
#include "ToolCaptureFixture.h"

using namespace testing_support;

namespace {

Lines QzUtilsOpening(const std::string& application, const std::string& arguments, const std::string& source,
                     const std::string& target, int move) {
    return {"Start - CaptureQzUtils",
            "Start - Application Name: " + application,
            "Start - Arguments: " + arguments,
            "Start - Source Output File:" + source,
            "Start - Target Output File:" + target,
            "Start - Move File: " + std::to_string(move),
            "Start - Timeout: -1"};
}

}  // namespace

using QzUtilsTest = ToolCaptureTest;

TEST_F(QzUtilsTest, MoveFlagOneTakesTheToolsOutputOutOfTheCurrentDirectory) {
    std::string tool = PlaceTool("qzflxinfo.exe");
    std::string target = MakeFolder("out") + "\\flx.enc";
    EXPECT_EQ(collection.CaptureQzUtils(tool, " -x", "qzflxinfo.enc", target, 1, INFINITE), 1);

    EXPECT_FALSE(PathExists("qzflxinfo.enc"));
    EXPECT_EQ(ReadWholeFile(target), "qzflxinfo stub output\r\n");
    EXPECT_EQ(StubStarts(), Lines{"qzflxinfo| -x"});
    EXPECT_EQ(NewEntries(), Join({QzUtilsOpening(tool, " -x", "qzflxinfo.enc", target, 1), Waited(0),
                                  FoundLines("qzflxinfo.enc"), GrabLines("qzflxinfo.enc", target),
                                  {"Finish - CaptureQzUtils Error=0"}}));
}

TEST_F(QzUtilsTest, MoveFlagZeroLeavesACopyBehind) {
    std::string tool = PlaceTool("qzvmdom.exe");
    std::string target = MakeFolder("out") + "\\dom.html";
    EXPECT_EQ(collection.CaptureQzUtils(tool, "\"" + tool + "\"", "QzVMDOM.html", target, 0, INFINITE), 1);

    EXPECT_EQ(ReadWholeFile("QzVMDOM.html"), "qzvmdom stub output\r\n");
    EXPECT_EQ(ReadWholeFile(target), "qzvmdom stub output\r\n");
    EXPECT_EQ(StubStarts(), Lines{"qzvmdom|\"" + tool + "\""});
}

TEST_F(QzUtilsTest, ANonzeroExitIsLoggedAndTheOutputStillComesIn) {
    std::string tool = PlaceTool("qzflxinfo.exe");
    std::string target = MakeFolder("out") + "\\flx.enc";
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", "300");
    EXPECT_EQ(collection.CaptureQzUtils(tool, " -x", "qzflxinfo.enc", target, 1, INFINITE), 1);

    EXPECT_EQ(ReadWholeFile(target), "qzflxinfo stub output\r\n");
    EXPECT_EQ(NewEntries(), Join({QzUtilsOpening(tool, " -x", "qzflxinfo.enc", target, 1), Waited(300),
                                  FoundLines("qzflxinfo.enc"), GrabLines("qzflxinfo.enc", target),
                                  {"Finish - CaptureQzUtils Error=300"}}));
}

TEST_F(QzUtilsTest, AnOutputTheToolDidNotWriteIsPassedOverQuietly) {
    std::string tool = PlaceTool("qzfilever.exe");
    EXPECT_EQ(collection.CaptureQzUtils(tool, " -q", "never.txt", work + "\\never.txt.copy", 1, INFINITE), 1);

    EXPECT_EQ(NewEntries(), Join({QzUtilsOpening(tool, " -q", "never.txt", work + "\\never.txt.copy", 1), Waited(0),
                                  MissingLines("never.txt"), {"Finish - CaptureQzUtils Error=0"}}));
}

TEST_F(QzUtilsTest, AMissingToolNamesTheSystemsReasonAndItsCode) {
    std::string tool = work + "\\absent.exe";
    EXPECT_EQ(collection.CaptureQzUtils(tool, " -x", "", work + "\\out", 1, INFINITE), 0);

    EXPECT_EQ(NewEntries(), Join({QzUtilsOpening(tool, " -x", "", work + "\\out", 1),
                                  {"CreateProcess() failed to create " + tool +
                                       "!!! REASON: " + GetErrorText(ERROR_FILE_NOT_FOUND),
                                   "Finish - CaptureQzUtils Error=2"}}));
}

TEST_F(QzUtilsTest, ArgumentsFillTheCommandLineBufferToTheLastCharacterAndNoFurther) {
    std::string tool = PlaceTool("qzflxinfo.exe");
    std::string fits = " " + std::string(260, 'a');
    EXPECT_EQ(collection.CaptureQzUtils(tool, fits, "", work, 0, INFINITE), 1);
    std::string tooLong = fits + "b";
    EXPECT_EQ(collection.CaptureQzUtils(tool, tooLong, "", work, 0, INFINITE), 0);

    EXPECT_EQ(StubStarts(), Lines{"qzflxinfo|" + fits});
    Lines entries = NewEntries();
    ASSERT_EQ(entries.size(), 20u);
    EXPECT_EQ(Lines(entries.begin() + 11, entries.end()),
              Join({QzUtilsOpening(tool, tooLong, "", work, 0),
                    {RefusedLine(tooLong), "Finish - CaptureQzUtils Error=206"}}));
}

using PqhmcTest = ToolCaptureTest;

TEST_F(PqhmcTest, TheToolWritesIntoItsFolderAndTheRunnerSaysSo) {
    collection.paths.pqhmcDiagTool = PlaceTool("pqhmc-diag.exe");
    collection.run.pqhmcFolder = work + "\\PQHMC";
    collection.CapturePQHMCInfo();

    const std::string& tool = collection.paths.pqhmcDiagTool;
    std::string arguments = "\"" + tool + "\" \"" + work + "\\PQHMC\"";
    EXPECT_EQ(ReadWholeFile("PQHMC\\pqhmc-diag.log"), "pqhmc-diag stub output\r\n");
    EXPECT_EQ(StubStarts(), Lines{"pqhmc-diag|" + arguments});
    EXPECT_EQ(NewEntries(), Join({{"Start - CapturePQHMCInfo", "PQHMC App and Args: " + arguments,
                                   "PQHMC Target Folder Name: " + work + "\\PQHMC"},
                                  QzUtilsOpening(tool, arguments, "", work + "\\PQHMC", 1), Waited(0),
                                  {"Log files will be captured in target folder by " + tool + " directly.",
                                   "Finish - CaptureQzUtils Error=0", "Finish - CapturePQHMCInfo"}}));
}

class OsInfoTest : public ToolCaptureTest {
protected:
    void SetUp() override {
        ToolCaptureTest::SetUp();
        collection.detection.msinfoPath = PlaceTool("msinfo32.exe");
        collection.run.msinfoReportTarget = work + "\\MSINFO_REPORT.TXT";
    }
    Lines Expected(const std::string& arguments, Lines middle, const std::string& finish) {
        return Join({{"Start - CaptureOSInfo", "Application Name: " + collection.detection.msinfoPath,
                      "Arguments: " + arguments},
                     middle,
                     {finish}});
    }
};

TEST_F(OsInfoTest, Windows2000AsksForAllCategories) {
    collection.os.isWindows2000 = 1;
    EXPECT_EQ(collection.CaptureOSInfo(), 1);
    std::string arguments = " /a /report " + work + "\\MSINFO_REPORT.TXT";
    EXPECT_EQ(StubStarts(), Lines{"msinfo32|" + arguments});
    EXPECT_EQ(NewEntries(), Expected(arguments, Waited(0), "Finish - CaptureOSInfo Error=0"));
}

TEST_F(OsInfoTest, LaterSystemsAskForThePlainReport) {
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", "1");
    EXPECT_EQ(collection.CaptureOSInfo(), 1);
    std::string arguments = " /report " + work + "\\MSINFO_REPORT.TXT";
    EXPECT_EQ(StubStarts(), Lines{"msinfo32|" + arguments});
    EXPECT_EQ(NewEntries(), Expected(arguments, Waited(1), "Finish - CaptureOSInfo Error=1"));
}

TEST_F(OsInfoTest, AReportPathTooLongForTheCommandLineIsRefusedNotRun) {
    collection.run.msinfoReportTarget = work + "\\" + std::string(250, 'r') + ".TXT";
    EXPECT_EQ(collection.CaptureOSInfo(), 0);
    std::string arguments = " /report " + collection.run.msinfoReportTarget;
    EXPECT_EQ(StubStarts(), Lines{});
    EXPECT_EQ(NewEntries(), Expected(arguments, {RefusedLine(arguments)}, "Finish - CaptureOSInfo Error=206"));
}

// The script host is looked for in the current directory before the system directory, so a
// stand-in "cscript.exe" in the work folder shows the exact command line.
using ScriptHostTest = ToolCaptureTest;

TEST_F(ScriptHostTest, ReplicationScriptGetsItsQuotedPathAndTheBareOutputFile) {
    PlaceTool("cscript.exe");
    collection.paths.zrxScript = "\"" + work + "\\DumpZRXInfo.vbs\"";
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", "2");
    std::string target = work + "\\ZRX_INFO.TXT";
    EXPECT_EQ(collection.CaptureZRXInfo(target, INFINITE), 1);

    std::string commandLine = "cscript \"" + work + "\\DumpZRXInfo.vbs\" " + target;
    EXPECT_EQ(StubStarts(), Lines{"cscript|" + commandLine});
    EXPECT_EQ(NewEntries(), Join({{"Start - CaptureZRXInfo", "Start - Application Name:  cscript.exe",
                                   "Start - Arguments: " + commandLine, "Start - Target Output File:" + target,
                                   "Start - Timeout: -1"},
                                  Waited(2), {"Finish - CaptureZRXInfo Error=2"}}));
}

TEST_F(ScriptHostTest, HangDumpCommandNamesTheDebuggingToolsScriptAndTheRunFolder) {
    PlaceTool("cscript.exe");
    collection.folders.homeDrive = "C:\\";
    collection.run.runFolder = work + "\\run";
    EXPECT_EQ(collection.CaptureDumpThroughADPlus(), 1);

    std::string commandLine =
        "cscript \"C:\\Program Files\\Debugging Tools for Windows (x64)\\adplus_old.vbs\" -quiet -hang -pn qzsvc.exe "
        "-o " +
        work + "\\run";
    EXPECT_EQ(StubStarts(), Lines{"cscript|" + commandLine});
    EXPECT_EQ(NewEntries(), Join({{"Start - CaptureDumpThroughADPlus", "CaptureDumpThroughADPlus Args: " + commandLine,
                                   "CaptureDumpThroughADPlus Target Folder Name: " + work + "\\run"},
                                  Waited(0), {"Finish - CaptureDumpThroughADPlus"}}));
}

// Wine's script host ends with 0 even when the script is missing, so only the form of the
// status is known here.
TEST_F(ScriptHostTest, WithoutTheDebuggingToolsTheRealScriptHostRunsAndItsStatusIsLogged) {
    collection.folders.homeDrive = work + "\\";
    collection.run.runFolder = work;
    EXPECT_EQ(collection.CaptureDumpThroughADPlus(), 1);

    Lines entries = NewEntries();
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[3], "Waiting for the process to terminate ...");
    std::string status = "Termination status: 0x";
    EXPECT_EQ(entries[4].rfind(status, 0), 0u) << entries[4];
    EXPECT_EQ(entries[4].size(), status.size() + 8) << entries[4];
    EXPECT_EQ(entries[4].find_first_not_of("0123456789abcdef", status.size()), std::string::npos) << entries[4];
    EXPECT_EQ(entries[5], "Finish - CaptureDumpThroughADPlus");
}

TEST_F(ScriptHostTest, AHangDumpCommandTooLongIsRefusedAndTheCaptureStillFinishes) {
    PlaceTool("cscript.exe");
    collection.folders.homeDrive = "C:\\";
    collection.run.runFolder = work + "\\" + std::string(200, 'f');
    EXPECT_EQ(collection.CaptureDumpThroughADPlus(), 1);

    std::string commandLine =
        "cscript \"C:\\Program Files\\Debugging Tools for Windows (x64)\\adplus_old.vbs\" -quiet -hang -pn qzsvc.exe "
        "-o " +
        collection.run.runFolder;
    EXPECT_EQ(StubStarts(), Lines{});
    EXPECT_EQ(NewEntries(), Join({{"Start - CaptureDumpThroughADPlus", "CaptureDumpThroughADPlus Args: " + commandLine,
                                   "CaptureDumpThroughADPlus Target Folder Name: " + collection.run.runFolder,
                                   RefusedLine(commandLine), "Finish - CaptureDumpThroughADPlus"}}));
}

// A command line too long for a report entry would have the report show its "Could not pack
// the string" box, which no one answers in a silent run: the entries show its beginning.
TEST_F(ScriptHostTest, CommandLinesTooLongForAReportEntryShowTheirBeginningAndAreRefused) {
    MessageBoxAnswerer answerer(Collection::kMessageCaption);  // only keeps a faulty build from hanging
    std::string deep = work + "\\" + std::string(240, 'd');
    collection.paths.pqhmcDiagTool = deep + "\\pqhmc-diag.exe";
    collection.run.pqhmcFolder = deep + "\\PQHMC";
    collection.paths.zrxScript = "\"" + deep + "\\DumpZRXInfo.vbs\"";
    std::string zrxTarget = deep + "\\ZRX";
    collection.CapturePQHMCInfo();
    EXPECT_EQ(collection.CaptureZRXInfo(zrxTarget, INFINITE), 0);

    std::string pqhmc = "\"" + collection.paths.pqhmcDiagTool + "\" \"" + collection.run.pqhmcFolder + "\"";
    std::string zrx = "cscript " + collection.paths.zrxScript + " " + zrxTarget;
    ASSERT_GT(pqhmc.size(), 511u);
    ASSERT_GT(zrx.size(), 511u);
    EXPECT_EQ(StubStarts(), Lines{});
    EXPECT_EQ(NewEntries(),
              Join({{"Start - CapturePQHMCInfo", "PQHMC App and Args: " + pqhmc.substr(0, 200) + "...",
                     "PQHMC Target Folder Name: " + collection.run.pqhmcFolder},
                    QzUtilsOpening(collection.paths.pqhmcDiagTool, pqhmc.substr(0, 200) + "...", "",
                                   collection.run.pqhmcFolder, 1),
                    {RefusedLine(pqhmc), "Finish - CaptureQzUtils Error=206", "Finish - CapturePQHMCInfo",
                     "Start - CaptureZRXInfo", "Start - Application Name:  cscript.exe",
                     "Start - Arguments: " + zrx.substr(0, 200) + "...", "Start - Target Output File:" + zrxTarget,
                     "Start - Timeout: -1", RefusedLine(zrx), "Finish - CaptureZRXInfo Error=206"}}));
}
