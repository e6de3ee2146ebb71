// Version listings of real files: the block byte for byte, the version strings, numbering that
// runs on across listings, and which entries a walk visits.
#include <gtest/gtest.h>

#include <algorithm>

#include "InventoryFixture.h"
#include "inventory/CFileInfo.h"

using namespace inventory_testing;
using namespace testing_support;

namespace {

std::string List(const std::string& path, bool recursive, const std::string& output = "listing.txt") {
    {
        CFileInfo info("", output, recursive);
        EXPECT_TRUE(info.IsOpen());
        std::string pattern;
        info.ListFolder(path, pattern, CFileInfo::Mode::VersionListing);
    }
    return ReadWholeFile(output);
}

std::string SizeColumn(const std::string& path) {
    std::string digits = std::to_string(ReadWholeFile(path).size());
    return std::string(digits.size() < 7 ? 7 - digits.size() : 0, ' ') + digits;
}

// The version lines of a listing of one file: what follows its "Accessed:" line.
std::string VersionLines(const std::string& listing) {
    size_t accessed = listing.find("Accessed:");
    if (accessed == std::string::npos) return "(no block)";
    return listing.substr(listing.find('\n', accessed) + 1);
}

}  // namespace

TEST(VersionListing, BlockShowsSizeLocalTimesAndFourVersionStrings) {
    ScopedWorkFolder work;
    const std::string library = work.Path() + "\\qzverfull.dll";
    ASSERT_TRUE(CopyFixture("qzverfull.dll", library));
    // Wine on Linux keeps no creation time of its own and reports the modification time, so
    // both are set alike; the order of the three lines is pinned by the format tests.
    ASSERT_TRUE(SetLocalTimes(library, Time(2021, 3, 14, 14, 5, 9), Time(2021, 3, 14, 14, 5, 9),
                              Time(2022, 11, 30, 23, 59, 58)));
    const int before = CFileInfo::EntryNumber();
    std::string listing = List(library, false);
    std::string expected = "[";
    expected += std::to_string(before + 1);
    expected += "]\t[";
    expected += library;
    expected += "] ";
    expected += SizeColumn(library);
    expected +=
        " Bytes\n"
        "Created: 03/14/2021 14:05:09\n"
        "Modified:03/14/2021 14:05:09\n"
        "Accessed:11/30/2022 23:59:58\n"
        "CompanyName: Brennock Storage Ltd\n"
        "FileDescription: Zeltrin inventory test library\n"
        "FileVersion: 2.5.0.17\n"
        "ProductVersion: 2.5\n"
        "\n";
    EXPECT_EQ(listing, TextModeBytes(expected));
    EXPECT_EQ(CFileInfo::EntryNumber(), before + 1);
}

TEST(VersionListing, StringsTheResourceLacksOrLeavesEmptyShowEmpty) {
    ScopedWorkFolder work;
    const std::string library = work.Path() + "\\qzvernocompany.dll";
    ASSERT_TRUE(CopyFixture("qzvernocompany.dll", library));
    EXPECT_EQ(VersionLines(List(library, false)), TextModeBytes("CompanyName: -Empty-\n"
                                                                "FileDescription: Ohne Firmenname\n"
                                                                "FileVersion: 1.0.0.3\n"
                                                                "ProductVersion: -Empty-\n"
                                                                "\n"));
}

TEST(VersionListing, FileWithoutVersionResourceGetsItsBlockWithoutVersionLines) {
    ScopedWorkFolder work;
    const std::string library = work.Path() + "\\qzvernone.dll";
    ASSERT_TRUE(CopyFixture("qzvernone.dll", library));
    testing::internal::CaptureStdout();
    std::string listing = List(library, false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Version Resource Information is NOT available!\n");
    EXPECT_EQ(VersionLines(listing), "\r\n");
    EXPECT_EQ(Blocks(listing).size(), 1u);
}

TEST(VersionListing, ValueLongerThanTheTableHoldsIsCutTo4095Characters) {
    ScopedWorkFolder work;
    const std::string library = work.Path() + "\\qzverlong.dll";
    ASSERT_TRUE(CopyFixture("qzverlong.dll", library));
    EXPECT_EQ(VersionLines(List(library, false)), TextModeBytes("CompanyName: Brennock Storage Ltd\n"
                                                                "FileDescription: " +
                                                                std::string(4095, 'd') +
                                                                "\n"
                                                                "FileVersion: 3.0\n"
                                                                "ProductVersion: 3.0\n"
                                                                "\n"));
}

TEST(VersionListing, NumberingRunsOnFromOneListingToTheNext) {
    ScopedWorkFolder work;
    ASSERT_TRUE(CopyFixture("qzverfull.dll", work.Path() + "\\one.dll"));
    ASSERT_TRUE(CopyFixture("qzvernone.dll", work.Path() + "\\two.dll"));
    WriteWholeFile(work.Path() + "\\three.txt", "text");
    const int before = CFileInfo::EntryNumber();
    std::vector<Block> dlls = Blocks(List(work.Path() + "\\*.dll", false, "dll.lst"));
    std::vector<Block> texts = Blocks(List(work.Path() + "\\*.txt", false, "txt.lst"));
    ASSERT_EQ(dlls.size(), 2u);
    EXPECT_EQ(dlls[0].number, before + 1);
    EXPECT_EQ(dlls[1].number, before + 2);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].number, before + 3);
    EXPECT_EQ(texts[0].path, work.Path() + "\\three.txt");
    EXPECT_EQ(CFileInfo::EntryNumber(), before + 3);
}

TEST(VersionListing, RecursiveWalkOfAFolderListsItThenItsEntriesThenItsSubFolders) {
    FolderTree tree;
    std::vector<Block> blocks = Blocks(List(tree.root, true, tree.work.Path() + "\\listing.txt"));
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].path, tree.root);
    std::vector<std::string> inner = {blocks[1].path, blocks[2].path};
    std::sort(inner.begin(), inner.end());
    EXPECT_EQ(inner, (std::vector<std::string>{tree.root + "\\A.TXT", tree.root + "\\SUB"}));
    EXPECT_EQ(blocks[3].path, tree.root + "\\SUB\\B.LOG");
    for (size_t i = 1; i < blocks.size(); ++i) EXPECT_EQ(blocks[i].number, blocks[0].number + static_cast<int>(i));
}

TEST(VersionListing, PatternOfTheTopCallIsUsedInEverySubFolder) {
    FolderTree tree;
    std::vector<Block> logs = Blocks(List(tree.root + "\\*.LOG", true, tree.work.Path() + "\\logs.txt"));
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0].path, tree.root + "\\SUB\\B.LOG");
    std::vector<Block> texts = Blocks(List(tree.root + "\\*.TXT", false, tree.work.Path() + "\\texts.txt"));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].path, tree.root + "\\A.TXT");
}

TEST(VersionListing, PatternWithoutFolderWalksTheCurrentDirectoryWithRelativePaths) {
    FolderTree tree;  // the work folder is the current directory
    WriteWholeFile("TOP.LOG", "top");
    std::vector<Block> logs = Blocks(List("*.LOG", true, "logs.txt"));
    ASSERT_EQ(logs.size(), 2u);
    EXPECT_EQ(logs[0].path, "TOP.LOG");
    // The folder pass searches every folder, not only those the pattern matches.
    EXPECT_EQ(logs[1].path, "R\\SUB\\B.LOG");
    EXPECT_EQ(logs[1].number, logs[0].number + 1);
}

TEST(VersionListing, PathThatMatchesNothingWritesNothing) {
    FolderTree tree;
    const int before = CFileInfo::EntryNumber();
    EXPECT_EQ(List(tree.root + "\\*.none", true, tree.work.Path() + "\\none.txt"), "");
    EXPECT_EQ(List(tree.root + "\\missing", true, tree.work.Path() + "\\missing.txt"), "");
    EXPECT_EQ(CFileInfo::EntryNumber(), before);
}

TEST(VersionListing, TopCallFlagIsClearedByTheWalkAndSetAgainByDestruction) {
    FolderTree tree;
    ASSERT_TRUE(CFileInfo::IsTopCall());
    {
        CFileInfo info("", tree.work.Path() + "\\flat.txt", false);
        std::string pattern;
        info.ListFolder(tree.root, pattern, CFileInfo::Mode::VersionListing);
        EXPECT_TRUE(CFileInfo::IsTopCall());
    }
    {
        CFileInfo info("", tree.work.Path() + "\\deep.txt", true);
        std::string pattern;
        info.ListFolder(tree.root, pattern, CFileInfo::Mode::VersionListing);
        EXPECT_FALSE(CFileInfo::IsTopCall());
    }
    EXPECT_TRUE(CFileInfo::IsTopCall());
}

TEST(VersionListing, OutputThatCannotBeOpenedWalksNothing) {
    FolderTree tree;
    const int before = CFileInfo::EntryNumber();
    {
        CFileInfo info("", tree.work.Path() + "\\missing\\listing.txt", true);
        EXPECT_FALSE(info.IsOpen());
        std::string pattern;
        info.ListFolder(tree.root, pattern, CFileInfo::Mode::VersionListing);
        EXPECT_TRUE(CFileInfo::IsTopCall());
    }
    EXPECT_EQ(CFileInfo::EntryNumber(), before);
}
