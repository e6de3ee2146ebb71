// Cabinet lists of the run folder and of the cluster snapshots, the packing command of the
// snapshots, and the version listings of the system directory.
#include <algorithm>
#include <sstream>

#include "../dialog/DialogFixture.h"
#include "../inventory/InventoryFixture.h"
#include "inventory/CFileInfo.h"
#include "resources/resource.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

// The lines of a text-mode file, each without its CR LF, in the order written.
Lines FileLines(const std::string& path) {
    Lines lines;
    std::istringstream in(ReadWholeFile(path));
    for (std::string line; std::getline(in, line);) {
        EXPECT_FALSE(line.empty() || line.back() != '\r') << "line not ended by CR LF: " << line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

Lines Sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string CabLine(const std::string& relative) { return "\"" + relative + "\" \"" + relative + "\";"; }

}  // namespace

class PackagingTest : public OpenDialog {
protected:
    void SetUp() override {
        OpenDialog::SetUp();
        ASSERT_TRUE(::CreateDirectoryA("4711", nullptr));
        dialog.run.bugFolderNumber = "4711";
        dialog.run.timeStamp = "12062026__10-00-00";
        dialog.run.runFolder = folder.Path() + "\\4711\\" + dialog.run.timeStamp;
        dialog.run.osFolder = dialog.run.runFolder + "\\OS";
        dialog.folders.systemDirectory = folder.Path() + "\\sys";
        ASSERT_TRUE(::CreateDirectoryA(dialog.run.runFolder.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(dialog.run.osFolder.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(dialog.folders.systemDirectory.c_str(), nullptr));
    }

    std::string Clusnap() const { return dialog.run.runFolder + "\\clusnap"; }

    // A packing command file that records each command line it is started with. The
    // redirection comes first, or a last argument "1" would be read as the output's handle.
    void RecordingPacker() const {
        WriteWholeFile("qzhacab.cmd", "@echo off\r\n>>\"" + folder.Path() + "\\packer.txt\" echo %*\r\n");
    }
    std::string Recorded() const { return folder.Path() + "\\packer.txt"; }
};

TEST_F(PackagingTest, CabinetListNamesEveryFileOfTheRunFolderAndItself) {
    WriteWholeFile(dialog.run.osFolder + "\\BOOT.INI", "[boot loader]");
    dialog.WriteCabList();
    // The folder's own files come before those of its sub-folders; folders get no line.
    EXPECT_EQ(ReadWholeFile(dialog.run.runFolder + "\\QzFilesToCab3.TXT"),
              CabLine("\\QzFilesToCab3.TXT") + "\r\n" + CabLine("\\OS\\BOOT.INI") + "\r\n");
}

TEST_F(PackagingTest, HACabinetListIsRelativeToTheSnapshotFolder) {
    ASSERT_TRUE(::CreateDirectoryA(Clusnap().c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((Clusnap() + "\\node1").c_str(), nullptr));
    WriteWholeFile(Clusnap() + "\\cluster.log", "c");
    WriteWholeFile(Clusnap() + "\\node1\\snap.txt", "s");
    WriteWholeFile(dialog.run.osFolder + "\\BOOT.INI", "not in the snapshots");
    dialog.WriteHACabList();
    Lines lines = FileLines(Clusnap() + "\\QzHAFilesToCab3.TXT");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Sorted(Lines(lines.begin(), lines.begin() + 2)),
              (Lines{CabLine("\\QzHAFilesToCab3.TXT"), CabLine("\\cluster.log")}));
    EXPECT_EQ(lines[2], CabLine("\\node1\\snap.txt"));
}

TEST_F(PackagingTest, WithoutCompressTheSnapshotsAreNotPacked) {
    ASSERT_TRUE(::CreateDirectoryA(Clusnap().c_str(), nullptr));
    RecordingPacker();
    dialog.options.compress = 0;
    dialog.PackageHALogs(0);
    EXPECT_EQ(Text(IDC_STATUS), "Skip packaging HA logs files ...");
    EXPECT_FALSE(PathExists(Recorded()));
    EXPECT_FALSE(PathExists(Clusnap() + "\\QzHAFilesToCab3.TXT"));
}

TEST_F(PackagingTest, PackingCommandCarriesTheDeleteAnswerAndTheServerCoreFlag) {
    ASSERT_TRUE(::CreateDirectoryA(Clusnap().c_str(), nullptr));
    WriteWholeFile(Clusnap() + "\\cluster.log", "c");
    RecordingPacker();
    dialog.options.compress = 1;
    dialog.options.deleteAfterCompress = 0;
    dialog.PackageHALogs(1);
    EXPECT_EQ(Text(IDC_STATUS), "Package HA logs files ...");
    dialog.options.deleteAfterCompress = 1;
    dialog.PackageHALogs(0);

    const std::string common = Clusnap() + " " + dialog.folders.systemDirectory + " 4711 ";
    EXPECT_EQ(FileLines(Recorded()), (Lines{common + "NO 12062026__10-00-00 1", common + "YES 12062026__10-00-00 0"}));
    EXPECT_EQ(Sorted(FileLines(Clusnap() + "\\QzHAFilesToCab3.TXT")),
              (Lines{CabLine("\\QzHAFilesToCab3.TXT"), CabLine("\\cluster.log")}));
}

TEST_F(PackagingTest, AMissingSnapshotFolderStillStartsThePacker) {
    RecordingPacker();
    dialog.options.compress = 1;
    dialog.PackageHALogs(0);
    EXPECT_FALSE(PathExists(Clusnap() + "\\QzHAFilesToCab3.TXT"));
    EXPECT_EQ(FileLines(Recorded()),
              (Lines{Clusnap() + " " + dialog.folders.systemDirectory + " 4711 NO 12062026__10-00-00 0"}));
}

TEST_F(PackagingTest, ThreeVersionListingsNumberTheirBlocksOnFromEachOther) {
    const std::string system = dialog.folders.systemDirectory;
    ASSERT_TRUE(::CreateDirectoryA((system + "\\drivers").c_str(), nullptr));
    for (const char* name : {"\\a.exe", "\\b.exe", "\\c.dll", "\\drivers\\d.sys"})
        ASSERT_TRUE(inventory_testing::CopyFixture("qzverfull.dll", system + name)) << name;
    WriteWholeFile(system + "\\drivers\\e.exe", "not listed: the listings do not descend");

    const int before = CFileInfo::EntryNumber();
    dialog.ListVersions("SYSTEM32_EXE_VER.TXT", "\\*.exe");
    dialog.ListVersions("SYSTEM32_DLL_VER.TXT", "\\*.dll");
    dialog.ListVersions("SYSTEM32_SYS_VER.TXT", "\\drivers\\*.sys");

    using inventory_testing::Blocks;
    auto exe = Blocks(ReadWholeFile(dialog.run.osFolder + "\\SYSTEM32_EXE_VER.TXT"));
    auto dll = Blocks(ReadWholeFile(dialog.run.osFolder + "\\SYSTEM32_DLL_VER.TXT"));
    auto sys = Blocks(ReadWholeFile(dialog.run.osFolder + "\\SYSTEM32_SYS_VER.TXT"));
    ASSERT_EQ(exe.size(), 2u);
    ASSERT_EQ(dll.size(), 1u);
    ASSERT_EQ(sys.size(), 1u);
    EXPECT_EQ(exe[0].number, before + 1);
    EXPECT_EQ(exe[1].number, before + 2);
    EXPECT_EQ(dll[0].number, before + 3);
    EXPECT_EQ(sys[0].number, before + 4);
    EXPECT_EQ(Sorted({exe[0].path, exe[1].path}), (Lines{system + "\\a.exe", system + "\\b.exe"}));
    EXPECT_EQ(dll[0].path, system + "\\c.dll");
    EXPECT_EQ(sys[0].path, system + "\\drivers\\d.sys");
    EXPECT_EQ(CFileInfo::EntryNumber(), before + 4);
}

TEST_F(PackagingTest, APackingCommandOver271CharactersIsRefusedNotCut) {
    RecordingPacker();
    dialog.options.compress = 1;
    const std::string tail = " " + dialog.folders.systemDirectory + " 4711 NO 12062026__10-00-00 0";
    const std::string head = "qzhacab.cmd " + folder.Path() + "\\";
    const size_t fixed = head.size() + std::string("\\clusnap").size() + tail.size();
    ASSERT_LT(fixed, CULVIXDlg::kHACommandLineLimit);
    const size_t fitting = CULVIXDlg::kHACommandLineLimit - fixed;

    // The run folders need not exist: the packer is started all the same.
    dialog.run.runFolder = folder.Path() + "\\" + std::string(fitting, 'r');
    dialog.PackageHALogs(0);
    dialog.run.runFolder = folder.Path() + "\\" + std::string(fitting + 1, 'r');
    dialog.PackageHALogs(0);

    EXPECT_EQ(FileLines(Recorded()),
              (Lines{folder.Path() + "\\" + std::string(fitting, 'r') + "\\clusnap" + tail}));
    dialog.report.file.Close();
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(OwnReportName()));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().rfind("Command line too long (272 characters, at most 271), not run: qzhacab.cmd ", 0), 0u)
        << entries.back();
}
