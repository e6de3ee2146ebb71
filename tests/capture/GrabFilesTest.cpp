// Copying and moving single files, and copying what a pattern matches in one folder.
#include "../probes/ProbeFixture.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

Lines GrabFileLines(const std::string& source, const std::string& target, const std::string& failure, int code) {
    Lines lines = {"Start - GrabFile", "Source File: " + source, "Target File: " + target};
    if (!failure.empty()) lines.push_back(failure);
    lines.push_back("Finish - GrabFile.  Error = " + std::to_string(code));
    return lines;
}

}  // namespace

class GrabTest : public ProbeTest {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        ::CreateDirectoryA("src", nullptr);
        ::CreateDirectoryA("dst", nullptr);
        src = folder.Path() + "\\src";
        dst = folder.Path() + "\\dst\\";
    }
    std::string src;
    std::string dst;
};

TEST_F(GrabTest, CopyReplacesAnExistingTarget) {
    WriteWholeFile("src\\a.log", "new");
    WriteWholeFile("dst\\a.log", "old");
    EXPECT_EQ(collection.GrabFile(src + "\\a.log", dst + "a.log", 0), 1);
    EXPECT_EQ(ReadWholeFile("dst\\a.log"), "new");
    EXPECT_EQ(NewEntries(), GrabFileLines(src + "\\a.log", dst + "a.log", "", 0));
}

TEST_F(GrabTest, MoveOntoAnExistingTargetFailsAndLeavesBothFiles) {
    WriteWholeFile("src\\a.log", "new");
    WriteWholeFile("dst\\a.log", "old");
    EXPECT_EQ(collection.GrabFile(src + "\\a.log", dst + "a.log", 1), 0);
    EXPECT_EQ(ReadWholeFile("src\\a.log"), "new");
    EXPECT_EQ(ReadWholeFile("dst\\a.log"), "old");
    EXPECT_EQ(NewEntries(), GrabFileLines(src + "\\a.log", dst + "a.log",
                                          "Failed to Move!!! " + GetErrorText(ERROR_ALREADY_EXISTS), 183));
}

// A failed copy removes only what it made itself: a target that was there stays.
TEST_F(GrabTest, FailedCopyKeepsATargetThatWasThereBefore) {
    WriteWholeFile("dst\\a.log", "old");
    EXPECT_EQ(collection.GrabFile(src + "\\a.log", dst + "a.log", 0), 0);
    EXPECT_EQ(ReadWholeFile("dst\\a.log"), "old");
}

TEST_F(GrabTest, MoveRenamesAndACopyOfAMissingFileFails) {
    WriteWholeFile("src\\a.log", "moved");
    EXPECT_EQ(collection.GrabFile(src + "\\a.log", dst + "b.log", 1), 1);
    EXPECT_FALSE(PathExists("src\\a.log"));
    EXPECT_EQ(ReadWholeFile("dst\\b.log"), "moved");
    EXPECT_EQ(collection.GrabFile(src + "\\a.log", dst + "a.log", 0), 0);
    Lines entries = NewEntries();
    EXPECT_EQ(Lines(entries.begin() + 4, entries.end()),
              GrabFileLines(src + "\\a.log", dst + "a.log", "Failed to copy!!! " + GetErrorText(ERROR_FILE_NOT_FOUND),
                            2));
}

TEST_F(GrabTest, StarCopiesBothFilesAndNamesTheDotFolders) {
    WriteWholeFile("src\\a.log", "a");
    WriteWholeFile("src\\b.txt", "b");
    EXPECT_EQ(collection.GrabMultipleFiles(src, "*", dst), 1);
    EXPECT_EQ(ReadWholeFile("dst\\a.log"), "a");
    EXPECT_EQ(ReadWholeFile("dst\\b.txt"), "b");

    Lines opening = {"Start - GrabMultipleFiles", "Source Path: " + src, "Source File Name: *", "Target Path: " + dst,
                     "FindFirstFile() " + src + "\\*"};
    Lines closing = {"No more files are left, so we are done here!!!", "Finish - GrabMultipleFiles.  Error = 0"};
    std::vector<Lines> perEntry;
    for (const char* dot : {".", ".."})
        perEntry.push_back({"After found Source:" + src + "\\" + dot, "After found Target:" + dst + dot,
                            "The above file is a directory -- so didn't grab it."});
    for (const char* name : {"a.log", "b.txt"}) {
        Lines lines = {"After found Source:" + src + "\\" + name, "After found Target:" + dst + name};
        for (const std::string& line : GrabFileLines(src + "\\" + name, dst + name, "", 0)) lines.push_back(line);
        perEntry.push_back(lines);
    }

    Lines entries = NewEntries();
    ASSERT_GE(entries.size(), opening.size() + closing.size());
    EXPECT_EQ(Lines(entries.begin(), entries.begin() + 5), opening);
    EXPECT_EQ(Lines(entries.end() - 2, entries.end()), closing);
    // The system gives no promise on the order of a folder's entries, so each entry's lines are
    // compared as one group, in their own order, and the groups in any order.
    std::vector<Lines> found;
    for (auto line = entries.begin() + 5; line != entries.end() - 2; ++line) {
        if (line->rfind("After found Source:", 0) == 0 || found.empty()) found.emplace_back();
        found.back().push_back(*line);
    }
    std::sort(found.begin(), found.end());
    std::sort(perEntry.begin(), perEntry.end());
    EXPECT_EQ(found, perEntry);
}

TEST_F(GrabTest, ATargetFolderWithoutItsBackslashGluesTheNamesToIt) {
    WriteWholeFile("src\\x.log", "x");
    EXPECT_EQ(collection.GrabMultipleFiles(src, "x.log", folder.Path() + "\\logs"), 1);
    EXPECT_EQ(ReadWholeFile("logsx.log"), "x");
    Lines entries = NewEntries();
    EXPECT_NE(std::find(entries.begin(), entries.end(), "After found Target:" + folder.Path() + "\\logsx.log"),
              entries.end());
}

TEST_F(GrabTest, APatternMatchingOnlyFoldersCopiesNothingAndSucceeds) {
    ::CreateDirectoryA("src\\logs1", nullptr);
    ::CreateDirectoryA("src\\logs2", nullptr);
    WriteWholeFile("src\\logs1\\inner.log", "never copied");
    EXPECT_EQ(collection.GrabMultipleFiles(src, "logs*", dst), 1);
    EXPECT_FALSE(PathExists("dst\\logs1"));
    EXPECT_FALSE(PathExists("dst\\inner.log"));
    Lines entries = NewEntries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "The above file is a directory -- so didn't grab it."), 2);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Start - GrabFile"), 0);
    EXPECT_EQ(entries.back(), "Finish - GrabMultipleFiles.  Error = 0");
}

TEST_F(GrabTest, AFileThatFailsToCopyDoesNotStopTheRest) {
    WriteWholeFile("src\\a.log", "a");
    WriteWholeFile("src\\b.log", "b");
    ::CreateDirectoryA("dst\\a.log", nullptr);  // a folder where the copy of a.log must go
    EXPECT_EQ(collection.GrabMultipleFiles(src, "*.log", dst), 1);
    EXPECT_EQ(ReadWholeFile("dst\\b.log"), "b");
    Lines entries = NewEntries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Finish - GrabFile.  Error = 0"), 1);
    EXPECT_EQ(entries.back(), "Finish - GrabMultipleFiles.  Error = 0");
}

TEST_F(GrabTest, AnEmptyFolderGivesCode2AndAMissingFolderCode3) {
    EXPECT_EQ(collection.GrabMultipleFiles(src, "*.log", dst), 0);
    EXPECT_EQ(collection.GrabMultipleFiles(src + "\\missing", "*.log", dst), 0);
    Lines entries = NewEntries();
    ASSERT_EQ(entries.size(), 14u);
    EXPECT_EQ(entries[5], "FindFirstFile() failed to find " + src + "\\*.log.!!! " + GetErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(entries[6], "Finish - GrabMultipleFiles.  Error = 2");
    EXPECT_EQ(entries[12], "FindFirstFile() failed to find " + src + "\\missing\\*.log.!!! " +
                               GetErrorText(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(entries[13], "Finish - GrabMultipleFiles.  Error = 3");
}

TEST_F(GrabTest, FilesInSubFoldersAreNeverCopied) {
    ::CreateDirectoryA("src\\sub", nullptr);
    WriteWholeFile("src\\sub\\deep.log", "deep");
    WriteWholeFile("src\\top.log", "top");
    EXPECT_EQ(collection.GrabMultipleFiles(src, "*.log", dst), 1);
    EXPECT_TRUE(PathExists("dst\\top.log"));
    EXPECT_FALSE(PathExists("dst\\deep.log"));
}
