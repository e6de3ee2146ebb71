// qzcab.cmd and qzhacab.cmd as the collector starts them: from the program folder, through
// cmd.exe, with the run's six arguments. Wine has cabarc but no makecab, so these runs take
// the cabarc road; the cabinets are opened again with extrac32.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "TestFiles.h"

using testing_support::PathExists;
using testing_support::ProgramFolder;
using testing_support::ReadWholeFile;
using testing_support::ScopedWorkFolder;
using testing_support::WriteWholeFile;

namespace {

constexpr const char* kStamp = "12062026__14-05-09";
constexpr DWORD kCommandPatienceMs = 120000;  // a cabinet of a few files; generous for a busy machine

// Makes the file and every folder above it that is missing.
void PlantFile(const std::string& path, const std::string& bytes) {
    for (std::string::size_type slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1))
        ::CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    WriteWholeFile(path, bytes);
}

std::string SystemDirectory() {
    char path[MAX_PATH] = {};
    ::GetSystemDirectoryA(path, MAX_PATH);
    return path;
}

int RunToEnd(const std::string& commandLine, const std::string& currentDirectory) {
    testing_support::ChildProcess child(commandLine, currentDirectory);
    if (!child.Started()) return -1;
    child.Resume();
    return child.Wait(kCommandPatienceMs);
}

// The cabinet line the collector writes for a path relative to the packed folder.
std::string ListLine(const std::string& relative) {
    return "\"" + relative + "\" \"" + relative + "\";\r\n";
}

// A run folder <work>\123456\NODE1\<stamp> with files, and its cabinet list naming all but
// NOTLISTED.TXT (made after the list, as a late file would be).
class PackagingCommand : public ::testing::Test {
protected:
    void SetUp() override {
        machine = work.Path() + "\\123456\\NODE1";
        run = machine + "\\" + kStamp;
        PlantFile(run + "\\OS\\BOOT.INI", "[boot loader]\r\n");
        PlantFile(run + "\\VM\\deep folder\\qz trace.log", "trace line\r\n");
        PlantFile(run + "\\REGISTRY.TXT", "~~~[Hive:HKEY_LOCAL_MACHINE Subkey:SOFTWARE]~~~\r\n");
        listed = {"\\OS\\BOOT.INI", "\\VM\\deep folder\\qz trace.log", "\\REGISTRY.TXT", "\\QzFilesToCab3.TXT"};
        WriteList(run + "\\QzFilesToCab3.TXT", listed);
        PlantFile(run + "\\NOTLISTED.TXT", "late\r\n");
    }

    static void WriteList(const std::string& path, const std::vector<std::string>& relatives) {
        std::string list;
        for (const std::string& relative : relatives) list += ListLine(relative);
        WriteWholeFile(path, list);
    }

    int Pack(const std::string& deleteAfter, const std::string& systemDirectory = SystemDirectory()) {
        return RunToEnd("cmd.exe /c qzcab.cmd " + run + " " + systemDirectory + " 123456 " + deleteAfter + " " + kStamp +
                       " 0",
                   ProgramFolder());
    }

    std::string Cabinet() const { return machine + "\\123456_NODE1_" + kStamp + ".cab"; }

    // Extracts a cabinet, folders kept, into a new folder and returns that folder.
    std::string Extract(const std::string& cabinet, const std::string& name) {
        const std::string target = work.Path() + "\\" + name;
        EXPECT_EQ(RunToEnd("extrac32.exe /e /l \"" + target + "\" \"" + cabinet + "\"", work.Path()), 0);
        return target;
    }

    void ExpectAllListedFilesPresent() const {
        for (const std::string& relative : listed) EXPECT_TRUE(PathExists(run + relative)) << relative;
    }

    ScopedWorkFolder work;
    std::string machine;
    std::string run;
    std::vector<std::string> listed;
};

TEST_F(PackagingCommand, PacksEveryListedFileUnderItsRelativePathBesideTheRunFolder) {
    ASSERT_EQ(Pack("NO"), 0);
    ASSERT_TRUE(PathExists(Cabinet()));

    const std::string extracted = Extract(Cabinet(), "out");
    EXPECT_EQ(ReadWholeFile(extracted + "\\OS\\BOOT.INI"), "[boot loader]\r\n");
    EXPECT_EQ(ReadWholeFile(extracted + "\\VM\\deep folder\\qz trace.log"), "trace line\r\n");
    EXPECT_EQ(ReadWholeFile(extracted + "\\REGISTRY.TXT"), ReadWholeFile(run + "\\REGISTRY.TXT"));
    EXPECT_EQ(ReadWholeFile(extracted + "\\QzFilesToCab3.TXT"), ReadWholeFile(run + "\\QzFilesToCab3.TXT"));
    EXPECT_FALSE(PathExists(extracted + "\\NOTLISTED.TXT"));
}

TEST_F(PackagingCommand, NoKeepsEveryCollectedFile) {
    ASSERT_EQ(Pack("NO"), 0);
    ExpectAllListedFilesPresent();
    EXPECT_TRUE(PathExists(run + "\\NOTLISTED.TXT"));
}

TEST_F(PackagingCommand, YesDeletesThePackedFilesAndTheFoldersTheyLeaveEmpty) {
    ASSERT_EQ(Pack("YES"), 0);
    ASSERT_TRUE(PathExists(Cabinet()));
    for (const std::string& relative : listed) EXPECT_FALSE(PathExists(run + relative)) << relative;
    EXPECT_FALSE(PathExists(run + "\\OS"));
    EXPECT_FALSE(PathExists(run + "\\VM"));
    // A file that came after the list was not packed, so it stays, and its folder with it.
    EXPECT_EQ(ReadWholeFile(run + "\\NOTLISTED.TXT"), "late\r\n");
}

TEST_F(PackagingCommand, YesRemovesTheRunFolderWhenNothingElseIsLeft) {
    ::DeleteFileA((run + "\\NOTLISTED.TXT").c_str());
    ASSERT_EQ(Pack("YES"), 0);
    EXPECT_FALSE(PathExists(run));
    EXPECT_TRUE(PathExists(Cabinet()));
}

TEST_F(PackagingCommand, AListedFileThatIsMissingFailsThePackAndDeletesNothing) {
    WriteList(run + "\\QzFilesToCab3.TXT", {"\\OS\\BOOT.INI", "\\VM\\GONE.LOG", "\\QzFilesToCab3.TXT"});
    EXPECT_NE(Pack("YES"), 0);
    EXPECT_FALSE(PathExists(Cabinet()));
    EXPECT_TRUE(PathExists(run + "\\OS\\BOOT.INI"));
    EXPECT_TRUE(PathExists(run + "\\VM\\deep folder\\qz trace.log"));
    EXPECT_TRUE(PathExists(run + "\\QzFilesToCab3.TXT"));
}

TEST_F(PackagingCommand, AnExistingCabinetIsNeitherOverwrittenNorAReasonToDelete) {
    PlantFile(Cabinet(), "an earlier cabinet");
    EXPECT_NE(Pack("YES"), 0);
    EXPECT_EQ(ReadWholeFile(Cabinet()), "an earlier cabinet");
    ExpectAllListedFilesPresent();
}

TEST_F(PackagingCommand, WithoutACabinetToolNothingIsPackedOrDeleted) {
    const std::string emptySystem = work.Path() + "\\nosystem";
    ::CreateDirectoryA(emptySystem.c_str(), nullptr);
    EXPECT_NE(Pack("YES", emptySystem), 0);
    EXPECT_FALSE(PathExists(Cabinet()));
    ExpectAllListedFilesPresent();
}

TEST_F(PackagingCommand, AMissingListPacksAndDeletesNothing) {
    ::DeleteFileA((run + "\\QzFilesToCab3.TXT").c_str());
    EXPECT_NE(Pack("YES"), 0);
    EXPECT_FALSE(PathExists(Cabinet()));
    EXPECT_TRUE(PathExists(run + "\\OS\\BOOT.INI"));
}

TEST_F(PackagingCommand, AListTooLongForOneCommandLineFillsFurtherCabinets) {
    constexpr int kFiles = 60;
    std::vector<std::string> many;
    for (int i = 0; i < kFiles; ++i) {
        const std::string relative = "\\MISC\\" + std::string(150, 'n') + "-" + std::to_string(i) + ".log";
        PlantFile(run + relative, "log " + std::to_string(i) + "\r\n");
        many.push_back(relative);
    }
    WriteList(run + "\\QzFilesToCab3.TXT", many);

    ASSERT_EQ(Pack("YES"), 0);
    std::vector<std::string> extracted;
    for (int part = 1;; ++part) {
        const std::string cabinet =
            part == 1 ? Cabinet() : machine + "\\123456_NODE1_" + kStamp + "_" + std::to_string(part) + ".cab";
        if (!PathExists(cabinet)) break;
        extracted.push_back(Extract(cabinet, "part" + std::to_string(part)));
    }
    EXPECT_GT(extracted.size(), 1u);
    for (int i = 0; i < kFiles; ++i) {
        const std::string& relative = many[static_cast<size_t>(i)];
        int copies = 0;
        for (const std::string& folder : extracted) {
            if (!PathExists(folder + relative)) continue;
            ++copies;
            EXPECT_EQ(ReadWholeFile(folder + relative), "log " + std::to_string(i) + "\r\n") << relative;
        }
        EXPECT_EQ(copies, 1) << relative;
        EXPECT_FALSE(PathExists(run + relative)) << relative;
    }
}

TEST_F(PackagingCommand, TheClusterSnapshotIsPackedIntoTheRunFolder) {
    const std::string snapshots = run + "\\clusnap";
    PlantFile(snapshots + "\\clusnap\\clusnap.log", "snapshot\r\n");
    PlantFile(snapshots + "\\HA_FILEVER.TXT", "versions\r\n");
    WriteList(snapshots + "\\QzHAFilesToCab3.TXT",
              {"\\clusnap\\clusnap.log", "\\HA_FILEVER.TXT", "\\QzHAFilesToCab3.TXT"});

    ASSERT_EQ(RunToEnd("cmd.exe /c qzhacab.cmd " + snapshots + " " + SystemDirectory() + " 123456 YES " + kStamp + " 1",
                  ProgramFolder()),
              0);
    const std::string cabinet = run + "\\123456_NODE1_" + kStamp + "_HA.cab";
    ASSERT_TRUE(PathExists(cabinet));
    EXPECT_FALSE(PathExists(snapshots));
    const std::string extracted = Extract(cabinet, "ha");
    EXPECT_EQ(ReadWholeFile(extracted + "\\clusnap\\clusnap.log"), "snapshot\r\n");
    EXPECT_EQ(ReadWholeFile(extracted + "\\HA_FILEVER.TXT"), "versions\r\n");
    // The run's own files are not the snapshot's business.
    EXPECT_TRUE(PathExists(run + "\\OS\\BOOT.INI"));
}

}  // namespace
