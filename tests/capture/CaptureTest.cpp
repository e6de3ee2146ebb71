// The captures on a started collection: the copy primitives, the tools started through the
// command interpreter or directly (the stand-in tool records each start), the schedules'
// folders, and the Zeltrin.CFG list as seeded untrusted input.
#include <cstdio>

#include "../probes/ProbeFixture.h"
#include "common/win32/WholeFileTransfer.h"
#include "SeededCases.h"
#include "FolderSnapshot.h"
#include "ProductRegistry.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Lines Grab(const std::string& source, const std::string& target, DWORD error = 0) {
    Lines lines = {"Start - GrabFile", "Source File: " + source, "Target File: " + target};
    if (error) lines.push_back("Failed to copy!!! " + GetErrorText(error));
    lines.push_back("Finish - GrabFile.  Error = " + std::to_string(error));
    return lines;
}

}  // namespace

class Capture : public ProbeTest {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        work = folder.Path();
        ::SetEnvironmentVariableA("ZELTRIN_STUB_LOG", (work + "\\stub.log").c_str());
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("ZELTRIN_STUB_LOG", nullptr);
        ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", nullptr);
    }
    std::string MakeFolder(const std::string& relative) {
        ::CreateDirectoryA(relative.c_str(), nullptr);
        return work + "\\" + relative;
    }
    // A command file that appends "<tag> <its arguments>" to "stub.log" as the stand-in does.
    std::string PlaceRecorder(const std::string& relative, const std::string& tag) {
        WriteWholeFile(relative, "@echo " + tag + "^|%*>>\"" + work + "\\stub.log\"\r\n");
        return work + "\\" + relative;
    }
    std::string work;
};

TEST_F(Capture, GrabFilesCopyMoveAndCopyWhatAPatternMatches) {
    MakeFolder("src");
    MakeFolder("src\\sub");
    MakeFolder("dst");
    WriteWholeFile("src\\a.log", "a");
    WriteWholeFile("src\\sub\\b.log", "b");
    WriteWholeFile("dst\\old.log", "old");
    const std::string src = work + "\\src", dst = work + "\\dst\\";
    EXPECT_EQ(GrabFile(step, src + "\\a.log", dst + "old.log", 1), 0);  // a move never replaces
    EXPECT_EQ(GrabFile(step, src + "\\none.log", dst + "old.log", 0), 0);
    EXPECT_EQ(ReadWholeFile("dst\\old.log"), "old");
    EXPECT_EQ(GrabMultipleFiles(step, src, "*", dst), 1);
    EXPECT_EQ(GrabMultipleFiles(step, src, "*.none", dst), 0);
    EXPECT_EQ(ReadWholeFile("dst\\a.log"), "a");
    EXPECT_FALSE(PathExists("dst\\b.log"));
    // A copy is whole under its name or not there: a transfer that fails part-way leaves
    // neither, and what a killed run left half-made is no file of the run's.
    EXPECT_FALSE(win32::MakeWhole(dst + "half.log", true, [](const std::string& partial) {
        WriteWholeFile(partial, "half");
        ::SetLastError(ERROR_DISK_FULL);
        return false;
    }));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    WriteWholeFile("dst\\left.log" + std::string(win32::kPartialSuffix), "killed mid-copy");
    std::string listed;
    for (const RunFolderFile& file : ListRunFolderFiles(work + "\\dst")) listed += file.relativePath + " ";
    EXPECT_EQ(listed, "a.log old.log ");
    auto found = [&](const std::string& name) {
        return Lines{"After found Source:" + src + "\\" + name, "After found Target:" + dst + name};
    };
    const std::string dir = "The above file is a directory -- so didn't grab it.";
    EXPECT_EQ(NewEntries(),
              Join({{"Start - GrabFile", "Source File: " + src + "\\a.log", "Target File: " + dst + "old.log",
                     "Failed to Move!!! " + GetErrorText(ERROR_ALREADY_EXISTS), "Finish - GrabFile.  Error = 183"},
                    Grab(src + "\\none.log", dst + "old.log", ERROR_FILE_NOT_FOUND),
                    {"Start - GrabMultipleFiles", "Source Path: " + src, "Source File Name: *", "Target Path: " + dst,
                     "FindFirstFile() " + src + "\\*"},
                    found("."), {dir}, found(".."), {dir}, found("a.log"), Grab(src + "\\a.log", dst + "a.log"),
                    found("sub"), {dir},
                    {"No more files are left, so we are done here!!!", "Finish - GrabMultipleFiles.  Error = 0",
                     "Start - GrabMultipleFiles", "Source Path: " + src, "Source File Name: *.none",
                     "Target Path: " + dst, "FindFirstFile() " + src + "\\*.none",
                     "FindFirstFile() failed to find " + src + "\\*.none.!!! " + GetErrorText(ERROR_FILE_NOT_FOUND),
                     "Finish - GrabMultipleFiles.  Error = 2"}}));
}

TEST_F(Capture, MpioLogIsTakenFromTheFirstLocationThenTheOlderOneAndQdsminfoRunsEitherWay) {
    char saved[2][MAX_PATH] = {};
    ::GetEnvironmentVariableA("TEMP", saved[0], MAX_PATH);
    ::GetEnvironmentVariableA("ALLUSERSPROFILE", saved[1], MAX_PATH);
    ::SetEnvironmentVariableA("TEMP", MakeFolder("temp").c_str());
    ::SetEnvironmentVariableA("ALLUSERSPROFILE", MakeFolder("all").c_str());
    PlaceStubTool("qdsminfo.exe");
    collection.run.mpioLogTarget = work + "\\instmpio.log";
    collection.run.qdsminfoLogTarget = work + "\\qdsminfo.log";
    const std::string first = work + "\\temp\\qzmpio\\instmpio.log";
    const std::string second = work + "\\all\\application data\\brennock\\mpio\\instmpio.log";
    for (const char* made : {"all\\application data", "all\\application data\\brennock",
                             "all\\application data\\brennock\\mpio"})
        MakeFolder(made);
    WriteWholeFile(second, "second");
    EXPECT_EQ(CaptureMPIOInfo(step), 1);
    ::SetEnvironmentVariableA("TEMP", saved[0]);
    ::SetEnvironmentVariableA("ALLUSERSPROFILE", saved[1]);

    EXPECT_EQ(ReadWholeFile("instmpio.log"), "second");
    EXPECT_EQ(ReadWholeFile("qdsminfo.log"), "qdsminfo stub output:\r\n");
    EXPECT_EQ(NewEntries(), Join({{"Start - CaptureMPIOInfo", "TEMP: " + work + "\\temp", "MPIO Log Path: " + first},
                                  Grab(first, work + "\\instmpio.log", ERROR_PATH_NOT_FOUND),
                                  {"KDX43 stores instmpio.log in different location"},
                                  Grab(second, work + "\\instmpio.log"),
                                  {"QDSMInfo AppArgs: qdsminfo.exe >> " + work + "\\qdsminfo.log",
                                   "QDSMInfo Target Folder Name: " + work + "\\qdsminfo.log",
                                   "Finish - CaptureMPIOInfo"}}));
}

TEST_F(Capture, TheGatherScriptRunsWithTheServersPerlAndTheNldDiagnosticStandsInWhereItCannot) {
    const char* key = "SOFTWARE\\TOBRIN\\NLDH\\quintl";
    collection.paths.nldDiagScript = PlaceRecorder("nld_diag.cmd", "nld");
    collection.run.nldFolder = work + "\\NLD";
    collection.run.wkeFolder = work + "\\WKE";
    const std::string install = MakeFolder("mgmt") + "\\", script = install + "adm\\wkegather.pl";
    MakeFolder("mgmt\\adm");
    MakeFolder("mgmt\\bin");
    PlaceStubTool("mgmt\\bin\\perl.exe");
    const std::string nld = "nld|\"" + work + "\\NLD\"";
    const std::string perl = "perl", gather = "\"\"" + install + "bin\\perl\" \"" + script + "\" --dir " + work + "\\WKE\"";
    struct Case {
        bool installed, withScript;
        const char* exitCode;
        Lines starts;
    };
    const Case cases[] = {
        {true, true, "0", {perl}},
        {true, true, "1", {perl, nld}},
        {true, false, "0", {nld}},
        {false, false, "0", {nld}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.starts.back() + test.exitCode);
        RemoveMachineKey("SOFTWARE\\TOBRIN");
        ::DeleteFileA("stub.log");
        ::DeleteFileA(script.c_str());
        if (test.installed) SetMachineString(key, "Installdir", install);
        if (test.withScript) WriteWholeFile(script, "# gather\n");
        ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", test.exitCode);
        CaptureWKEInfo(step);
        Lines starts = FileLines("stub.log");
        for (std::string& start : starts)
            if (start.starts_with("perl|") && start.find("\"" + script + "\" --dir " + work + "\\WKE") != std::string::npos)
                start = "perl";
        EXPECT_EQ(starts, test.starts);
    }
    RemoveMachineKey("SOFTWARE\\TOBRIN");
    const Lines entries = NewEntries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "WKE App and Args: " + gather), 2);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "wkegather.pl is NOT available"), 1);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "NLD App and Args: \"" + work + "\\nld_diag.cmd\" \"" + work +
                                                             "\\NLD\""), 3);
}

TEST_F(Capture, ToolsGetTheirCommandLinesAndTheirOutputComesIn) {
    collection.paths.osmuSnapshotScript = PlaceRecorder("osmu snapshot (x86).cmd", "osmu");
    collection.run.osmuFolder = work + "\\OSMU";
    CaptureOSMUInfo(step);
    PlaceStubTool("qzfilever.exe");
    collection.run.kdxBinaryVersionTarget = work + "\\KDX.TXT";
    WriteWholeFile("KDX.TXT", "earlier\r\n");
    CaptureKDXFileInfo(step);
    collection.folders.systemDirectory = MakeFolder("system32");
    PlaceStubTool("system32\\mountvol.exe");
    collection.run.mountVolTarget = work + "\\mountvol.txt";
    CaptureMountVolInfo(step);
    PlaceStubTool("qzclustadm.exe");
    collection.run.hnvNidmapTarget = work + "\\NIDMAP.TXT";
    collection.run.hnvNodestateTarget = work + "\\NODESTATE.TXT";
    CaptureHNVInfo(step);
    const std::string tool = PlaceStubTool("qzflxinfo.exe"), target = MakeFolder("out") + "\\flx.enc";
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", "300");
    EXPECT_EQ(CaptureQzUtils(step, tool, " -x", "qzflxinfo.enc", target, 1, INFINITE), 1);
    ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", nullptr);
    EXPECT_FALSE(PathExists("qzflxinfo.enc"));
    // The arguments fill the 261-character command line to its last character and no further.
    const std::string fits = " " + std::string(260, 'a');
    EXPECT_EQ(CaptureQzUtils(step, tool, fits, "", work, 0, INFINITE), 1);
    EXPECT_EQ(CaptureQzUtils(step, tool, fits + "b", "", work, 0, INFINITE), 0);
    EXPECT_EQ(CaptureQzUtils(step, work + "\\absent.exe", " -x", "", work, 0, INFINITE), 0);

    EXPECT_EQ(FileLines("stub.log"), (Lines{"osmu|-o " + work + "\\OSMU", "qzfilever|qzfilever.EXE ",
                               "mountvol|" + work + "\\system32\\mountvol.exe ", "qzclustadm|qzclustadm nidmap ",
                               "qzclustadm|qzclustadm -v nodestate ", "qzflxinfo| -x", "qzflxinfo|" + fits}));
    EXPECT_EQ(ReadWholeFile("KDX.TXT"), "earlier\r\nqzfilever stub output:\r\n");
    EXPECT_EQ(ReadWholeFile("mountvol.txt"), "mountvol stub output:\r\n");
    EXPECT_EQ(ReadWholeFile("NIDMAP.TXT"), "qzclustadm stub output: nidmap\r\n");
    EXPECT_EQ(ReadWholeFile("NODESTATE.TXT"), "qzclustadm stub output: -v nodestate\r\n");
    EXPECT_EQ(ReadWholeFile(target), "qzflxinfo stub output\r\n");
    const Lines entries = NewEntries();
    for (const std::string& line :
         {"OSMU App and Args: \"" + work + "\\osmu snapshot (x86).cmd\" -o " + work + "\\OSMU",
          "KDX File Ver AppArgs: qzfilever.EXE >> " + work + "\\KDX.TXT",
          "CaptureMountVolInfo AppArgs: " + work + "\\system32\\mountvol.exe >> " + work + "\\mountvol.txt",
          std::string("Termination status: 0x0000012c"), std::string("Finish - CaptureQzUtils Error=300"),
          "Command line too long (262 characters, at most 261), not run: " + (fits + "b").substr(0, 200) + "...",
          std::string("Finish - CaptureQzUtils Error=206"),
          "CreateProcess() failed to create " + work + "\\absent.exe!!! REASON: " + GetErrorText(ERROR_FILE_NOT_FOUND)})
        EXPECT_EQ(std::count(entries.begin(), entries.end(), line), 1) << line;
}

TEST_F(Capture, EachSchedulesFolderIsCopiedAndBrokenSchedulesHaveTheirLines) {
    const std::string schedules = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\Schedules\\";
    RemoveMachineKey(kProductRoot);
    collection.run.schedulesFolder = MakeFolder("RBK_Schedules") + "\\";
    const std::string jobs = MakeFolder("jobs");
    WriteWholeFile("jobs\\daily.xml", "<daily/>");
    WriteWholeFile("jobs\\notes.txt", "beside");
    CreateMachineKey(schedules + "A without value");
    SetMachineString(schedules + "B good", "XMLFilePathName", jobs + "\\daily.xml");
    PlantedKey number(schedules + "C number");
    number.SetBytes("XMLFilePathName", REG_DWORD, std::string("\x05\0\0\0", 4));
    SetMachineString(schedules + "D no folder", "XMLFilePathName", "daily.xml");
    SetMachineString(schedules + "E too long", "XMLFilePathName", "C:\\" + std::string(300, 'f') + "\\daily.xml");
    CaptureRBKLogs(step);
    RemoveMachineKey(kProductRoot);
    CaptureRBKLogs(step);

    EXPECT_EQ(ReadWholeFile("RBK_Schedules\\daily.xml"), "<daily/>");
    EXPECT_EQ(ReadWholeFile("RBK_Schedules\\notes.txt"), "beside");
    Lines entries = NewEntries();
    auto count = [&](const std::string& line) { return std::count(entries.begin(), entries.end(), line); };
    EXPECT_EQ(count("Failed to get value from the schedule key"), 2);
    EXPECT_EQ(count("Schedule file has no folder, skipped: daily.xml"), 1);
    EXPECT_EQ(count("Schedule folder longer than a path can be, skipped: C:\\" + std::string(197, 'f') + "..."), 1);
    EXPECT_EQ(count("Source Path: " + jobs), 1);
    EXPECT_EQ(count("Failed to open Schedule registry key"), 1);
    EXPECT_EQ(entries.back(), "Finish - CaptureRBKLogs");
}

// Zeltrin.CFG is whatever a user wrote: every configuration must copy only into the MISC
// folder, only whole files, close every entry it opens, and do the same again for the same file.
TEST(MiscLogsSeeded, EveryConfigurationCopiesOnlyWholeFilesIntoMiscAndTheSameEachTime) {
    ScopedWorkFolder folder;
    const std::string source = folder.Path() + "\\src";
    for (const char* made : {"src", "src\\sub", "src\\dir.log", "run", "run\\MISC"}) ::CreateDirectoryA(made, nullptr);
    for (const char* file : {"a.log", "b.log", "c.txt", "name with blanks.log", "sub\\d.log"})
        WriteWholeFile(source + "\\" + file, "content of " + std::string(file).substr(std::string(file).rfind('\\') + 1));
    ::SetEnvironmentVariableA("QZFUZZ_SRC", source.c_str());
    ::SetEnvironmentVariableA("QZFUZZ_LONG", std::string(1100, 'L').c_str());
    const std::vector<std::string> pieces = {
        source + "\\", "%QZFUZZ_SRC%\\", "src\\", "sub\\", "*", "*.log", "?.log", "a.log", "c.txt", "/../", "y/",
        "#", "[", " ", "%", "%QZFUZZ_LONG%", "%QZFUZZ_NOSUCH%", "name with blanks.log", "dir.log", "\r"};
    for (const SeededCase& c : SeededCaseList(7300, 120)) {
        SCOPED_TRACE(c.Name());
        SeededRandom random(c.seed);
        std::string config;
        for (int line = random.Int(0, 10); line > 0; --line) {
            for (int piece = random.Int(0, 6); piece > 0; --piece)
                config += random.Chance(85) ? random.Pick(pieces) : random.Bytes(random.EdgeLength(1023));
            config += random.Pick(std::vector<std::string>{"\n", "\r\n", ""});
        }
        WriteWholeFile("Zeltrin.CFG", config);
        RemoveTree(folder.Path() + "\\run\\MISC");
        ::CreateDirectoryA("run\\MISC", nullptr);
        std::vector<Lines> runs;
        for (int run = 0; run < 2; ++run) {
            FolderSnapshot before, after;
            {
                StartedCollection collection;
                collection.run.miscFolder = folder.Path() + "\\run\\MISC\\";
                collection.LogReport("%s", c.Marker().c_str());
                before = TakeFolderSnapshot(folder.Path(), {"run"});
                StepOf step(collection);
                CaptureMiscLogs(step);
                collection.report.file.Close();
                after = TakeFolderSnapshot(folder.Path(), {"run"});
            }
            EXPECT_EQ(SnapshotDifferences(before, after), Lines{"~ " + OwnReportName()});
            runs.push_back(EntriesByCase(ReportEntries(ReadWholeFile(OwnReportName())))[c.Marker()]);
        }
        for (const auto& copied : TakeFolderSnapshot(folder.Path() + "\\run\\MISC")) {
            const std::string& name = copied.first;
            if (name.ends_with(".log") || name.ends_with(".txt")) {
                EXPECT_EQ(ReadWholeFile("run\\MISC\\" + name), "content of " + name);
            }
        }
        EXPECT_EQ(runs[0], runs[1]);
        EXPECT_EQ(std::count(runs[0].begin(), runs[0].end(), "Start - GrabFile"),
                  std::count_if(runs[0].begin(), runs[0].end(), [](const std::string& e) { return e.starts_with("Finish - GrabFile."); }));
        EXPECT_EQ(runs[0].back(), "Finish - CaptureMiscLogs");
        if (::testing::Test::HasFailure()) break;
    }
}
