// The walk's search paths for each kind of call, and the listing texts built from values.
#include <gtest/gtest.h>

#include "inventory/ListingFormat.h"

using namespace inventory;

namespace {

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

}  // namespace

TEST(WalkSearches, TopCallOnAFolderSearchesTheFolderItselfWithAllEntriesPattern) {
    std::string pattern = "left over";
    SearchSpecs specs = MakeSearchSpecs("C:\\R", pattern, true);
    EXPECT_EQ(pattern, "*.*");
    EXPECT_EQ(specs.folderSpec, "C:\\R");
    EXPECT_EQ(specs.fileSearch, "C:\\R");
    EXPECT_EQ(specs.folderSearch, "C:\\R");
}

TEST(WalkSearches, TopCallWithAPatternKeepsItForTheInnerCalls) {
    std::string pattern;
    SearchSpecs specs = MakeSearchSpecs("C:\\windows\\system32\\*.exe", pattern, true);
    EXPECT_EQ(pattern, "*.exe");
    EXPECT_EQ(specs.folderSpec, "C:\\windows\\system32\\*.*");
    EXPECT_EQ(specs.fileSearch, "C:\\windows\\system32\\*.exe");
    EXPECT_EQ(specs.folderSearch, "C:\\windows\\system32\\*.*");
}

TEST(WalkSearches, TopCallWithABarePatternSearchesAllFoldersOfTheCurrentDirectory) {
    std::string pattern;
    SearchSpecs specs = MakeSearchSpecs("*.dll", pattern, true);
    EXPECT_EQ(pattern, "*.dll");
    EXPECT_EQ(specs.folderSpec, "*.dll");
    EXPECT_EQ(specs.fileSearch, "*.dll");
    EXPECT_EQ(specs.folderSearch, "*.*");
}

TEST(WalkSearches, InnerCallSearchesThePatternInsideThePath) {
    std::string pattern = "*.exe";
    SearchSpecs specs = MakeSearchSpecs("C:\\R\\SUB", pattern, false);
    EXPECT_EQ(pattern, "*.exe");
    EXPECT_EQ(specs.folderSpec, "C:\\R\\SUB\\*.*");
    EXPECT_EQ(specs.fileSearch, "C:\\R\\SUB\\*.exe");
    EXPECT_EQ(specs.folderSearch, "C:\\R\\SUB\\*.*");
}

TEST(WalkSearches, EntryPathReplacesTheLastPartOfTheFolderSpecification) {
    EXPECT_EQ(EntryPath("C:\\R\\*.*", "A.TXT"), "C:\\R\\A.TXT");
    EXPECT_EQ(EntryPath("C:\\R", "R"), "C:\\R");
    EXPECT_EQ(EntryPath("*.dll", "x.dll"), "x.dll");
}

TEST(ListingFormat, FileBlockShowsNumberPathSizeAndThreeTimes) {
    EXPECT_EQ(FormatFileBlock(7, "C:\\R\\A.TXT", 1234, Time(2021, 3, 14, 14, 5, 9), Time(2022, 11, 30, 23, 59, 58),
                              Time(2023, 1, 2, 3, 4, 5)),
              "[7]\t[C:\\R\\A.TXT]    1234 Bytes\n"
              "Created: 03/14/2021 14:05:09\n"
              "Modified:11/30/2022 23:59:58\n"
              "Accessed:01/02/2023 03:04:05\n");
}

TEST(ListingFormat, SizeIsTheLowWordReadAsSignedAndIsNeverCut) {
    SYSTEMTIME t = Time(2020, 1, 1, 0, 0, 0);
    EXPECT_EQ(FormatFileBlock(1, "f", 0x80000000u, t, t, t).substr(0, 29), "[1]\t[f] -2147483648 Bytes\nCre");
    EXPECT_EQ(FormatFileBlock(1, "f", 12345678u, t, t, t).substr(0, 22), "[1]\t[f] 12345678 Bytes");
    EXPECT_EQ(FormatFileBlock(1, "f", 0u, t, t, t).substr(0, 21), "[1]\t[f]       0 Bytes");
}

TEST(ListingFormat, VersionAndCabinetLines) {
    EXPECT_EQ(FormatVersionLine("CompanyName", "-Empty-"), "CompanyName: -Empty-\n");
    EXPECT_EQ(FormatCabinetLine("\\SUB\\B.LOG"), "\"\\SUB\\B.LOG\" \"\\SUB\\B.LOG\";\n");
}

TEST(ListingFormat, RelativePathIsTheRestAfterTheBaseFolderInAnyCase) {
    std::string relative;
    ASSERT_TRUE(RelativeToBase("C:\\R\\SUB\\B.LOG", "c:\\r", relative));
    EXPECT_EQ(relative, "\\SUB\\B.LOG");
    EXPECT_FALSE(RelativeToBase("D:\\R\\A.TXT", "C:\\R", relative));
    EXPECT_FALSE(RelativeToBase("C:\\", "C:\\R", relative));
}
