// Cabinet lists of the run folder and of the cluster snapshots, the packing command of the
// snapshots, and the version listings of the system directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "../inventory/InventoryFixture.h"
#include "StartedCollection.h"
#include "inventory/CFileInfo.h"
#include "process/ChildRunner.h"

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

class PackagingTest : public ::testing::Test {
protected:
    void SetUp() override {
        collection.Show(view);
        ASSERT_TRUE(::CreateDirectoryA("4711", nullptr));
        collection.run.bugFolderNumber = "4711";
        collection.run.timeStamp = "12062026__10-00-00";
        collection.run.runFolder = folder.Path() + "\\4711\\" + collection.run.timeStamp;
        collection.run.osFolder = collection.run.runFolder + "\\OS";
        collection.folders.systemDirectory = folder.Path() + "\\sys";
        ASSERT_TRUE(::CreateDirectoryA(collection.run.runFolder.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(collection.run.osFolder.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(collection.folders.systemDirectory.c_str(), nullptr));
    }

    std::string Clusnap() const { return collection.run.runFolder + "\\clusnap"; }

    // A packing command file that records each command line it is started with. The
    // redirection comes first, or a last argument "1" would be read as the output's handle.
    void RecordingPacker() const {
        WriteWholeFile("qzhacab.cmd", "@echo off\r\n>>\"" + folder.Path() + "\\packer.txt\" echo %*\r\n");
    }
    std::string Recorded() const { return folder.Path() + "\\packer.txt"; }

    ScopedWorkFolder folder;
    WatchingView view;
    StartedCollection collection;
};

TEST_F(PackagingTest, CabinetListNamesEveryFileOfTheRunFolderAndItself) {
    WriteWholeFile(collection.run.osFolder + "\\BOOT.INI", "[boot loader]");
    collection.WriteCabList();
    // The folder's own files come before those of its sub-folders; folders get no line.
    EXPECT_EQ(ReadWholeFile(collection.run.runFolder + "\\QzFilesToCab3.TXT"),
              CabLine("\\QzFilesToCab3.TXT") + "\r\n" + CabLine("\\OS\\BOOT.INI") + "\r\n");
}

TEST_F(PackagingTest, HACabinetListIsRelativeToTheSnapshotFolder) {
    ASSERT_TRUE(::CreateDirectoryA(Clusnap().c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((Clusnap() + "\\node1").c_str(), nullptr));
    WriteWholeFile(Clusnap() + "\\cluster.log", "c");
    WriteWholeFile(Clusnap() + "\\node1\\snap.txt", "s");
    WriteWholeFile(collection.run.osFolder + "\\BOOT.INI", "not in the snapshots");
    collection.WriteHACabList();
    Lines lines = FileLines(Clusnap() + "\\QzHAFilesToCab3.TXT");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Sorted(Lines(lines.begin(), lines.begin() + 2)),
              (Lines{CabLine("\\QzHAFilesToCab3.TXT"), CabLine("\\cluster.log")}));
    EXPECT_EQ(lines[2], CabLine("\\node1\\snap.txt"));
}

TEST_F(PackagingTest, WithoutCompressTheSnapshotsAreNotPacked) {
    ASSERT_TRUE(::CreateDirectoryA(Clusnap().c_str(), nullptr));
    RecordingPacker();
    collection.options.compress = 0;
    collection.PackageHALogs(0);
    EXPECT_EQ(view.status, "Skip packaging HA logs files ...");
    EXPECT_FALSE(PathExists(Recorded()));
    EXPECT_FALSE(PathExists(Clusnap() + "\\QzHAFilesToCab3.TXT"));
}

TEST_F(PackagingTest, PackingCommandCarriesTheDeleteAnswerAndTheServerCoreFlag) {
    ASSERT_TRUE(::CreateDirectoryA(Clusnap().c_str(), nullptr));
    WriteWholeFile(Clusnap() + "\\cluster.log", "c");
    RecordingPacker();
    collection.options.compress = 1;
    collection.options.deleteAfterCompress = 0;
    collection.PackageHALogs(1);
    EXPECT_EQ(view.status, "Package HA logs files ...");
    collection.options.deleteAfterCompress = 1;
    collection.PackageHALogs(0);

    const std::string common = Clusnap() + " " + collection.folders.systemDirectory + " 4711 ";
    EXPECT_EQ(FileLines(Recorded()), (Lines{common + "NO 12062026__10-00-00 1", common + "YES 12062026__10-00-00 0"}));
    EXPECT_EQ(Sorted(FileLines(Clusnap() + "\\QzHAFilesToCab3.TXT")),
              (Lines{CabLine("\\QzHAFilesToCab3.TXT"), CabLine("\\cluster.log")}));
}

TEST_F(PackagingTest, AMissingSnapshotFolderStillStartsThePacker) {
    RecordingPacker();
    collection.options.compress = 1;
    collection.PackageHALogs(0);
    EXPECT_FALSE(PathExists(Clusnap() + "\\QzHAFilesToCab3.TXT"));
    EXPECT_EQ(FileLines(Recorded()),
              (Lines{Clusnap() + " " + collection.folders.systemDirectory + " 4711 NO 12062026__10-00-00 0"}));
}

TEST_F(PackagingTest, ThreeVersionListingsNumberTheirBlocksOnFromEachOther) {
    const std::string system = collection.folders.systemDirectory;
    ASSERT_TRUE(::CreateDirectoryA((system + "\\drivers").c_str(), nullptr));
    for (const char* name : {"\\a.exe", "\\b.exe", "\\c.dll", "\\drivers\\d.sys"})
        ASSERT_TRUE(inventory_testing::CopyFixture("qzverfull.dll", system + name)) << name;
    WriteWholeFile(system + "\\drivers\\e.exe", "not listed: the listings do not descend");

    const int before = CFileInfo::EntryNumber();
    collection.ListVersions("SYSTEM32_EXE_VER.TXT", "\\*.exe");
    collection.ListVersions("SYSTEM32_DLL_VER.TXT", "\\*.dll");
    collection.ListVersions("SYSTEM32_SYS_VER.TXT", "\\drivers\\*.sys");

    using inventory_testing::Blocks;
    auto exe = Blocks(ReadWholeFile(collection.run.osFolder + "\\SYSTEM32_EXE_VER.TXT"));
    auto dll = Blocks(ReadWholeFile(collection.run.osFolder + "\\SYSTEM32_DLL_VER.TXT"));
    auto sys = Blocks(ReadWholeFile(collection.run.osFolder + "\\SYSTEM32_SYS_VER.TXT"));
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
    collection.options.compress = 1;
    const std::string tail = " " + collection.folders.systemDirectory + " 4711 NO 12062026__10-00-00 0";
    const std::string head = "qzhacab.cmd " + folder.Path() + "\\";
    const size_t fixed = head.size() + std::string("\\clusnap").size() + tail.size();
    ASSERT_LT(fixed, process::ChildRunner::kHACommandLineLimit);
    const size_t fitting = process::ChildRunner::kHACommandLineLimit - fixed;

    // The run folders need not exist: the packer is started all the same.
    collection.run.runFolder = folder.Path() + "\\" + std::string(fitting, 'r');
    collection.PackageHALogs(0);
    collection.run.runFolder = folder.Path() + "\\" + std::string(fitting + 1, 'r');
    collection.PackageHALogs(0);

    EXPECT_EQ(FileLines(Recorded()),
              (Lines{folder.Path() + "\\" + std::string(fitting, 'r') + "\\clusnap" + tail}));
    collection.report.file.Close();
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(OwnReportName()));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().rfind("Command line too long (272 characters, at most 271), not run: qzhacab.cmd ", 0), 0u)
        << entries.back();
}
