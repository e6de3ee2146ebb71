// The walk's searches for each kind of call, and the opening lines of a version-listing block.
#include <gtest/gtest.h>

#include "inventory/ListingFormat.h"

using namespace inventory;

TEST(WalkSearches, EachKindOfCallSearchesAsDescribed) {
    struct Case {
        const char* path;
        const char* patternBefore;
        bool topCall;
        const char* pattern;
        const char* folderSpec;
        const char* fileSearch;
        const char* folderSearch;
    };
    const Case cases[] = {
        {"C:\\R", "left over", true, "*.*", "C:\\R", "C:\\R", "C:\\R"},
        {"C:\\sys\\*.exe", "", true, "*.exe", "C:\\sys\\*.*", "C:\\sys\\*.exe", "C:\\sys\\*.*"},
        {"*.dll", "", true, "*.dll", "*.dll", "*.dll", "*.*"},
        {"C:\\R\\SUB", "*.exe", false, "*.exe", "C:\\R\\SUB\\*.*", "C:\\R\\SUB\\*.exe", "C:\\R\\SUB\\*.*"},
    };
    for (const Case& c : cases) {
        std::string pattern = c.patternBefore;
        SearchSpecs specs = MakeSearchSpecs(c.path, pattern, c.topCall);
        EXPECT_EQ(pattern, c.pattern) << c.path;
        EXPECT_EQ(specs.folderSpec, c.folderSpec) << c.path;
        EXPECT_EQ(specs.fileSearch, c.fileSearch) << c.path;
        EXPECT_EQ(specs.folderSearch, c.folderSearch) << c.path;
    }
    EXPECT_EQ(EntryPath("C:\\R", "R"), "C:\\R");
    EXPECT_EQ(EntryPath("*.dll", "x.dll"), "x.dll");
}

TEST(ListingFormat, BlockShowsCreatedModifiedAndAccessedTimesInThatOrder) {
    SYSTEMTIME created{};
    created.wYear = 2020;
    created.wMonth = 1;
    created.wDay = 2;
    created.wHour = 3;
    SYSTEMTIME modified = created;
    modified.wMonth = 11;
    modified.wMinute = 4;
    SYSTEMTIME accessed = created;
    accessed.wYear = 2023;
    accessed.wDay = 30;
    accessed.wHour = 23;
    accessed.wSecond = 5;
    EXPECT_EQ(FormatFileBlock(12, "f", 0u, created, modified, accessed),
              "[12]\t[f]       0 Bytes\n"
              "Created: 01/02/2020 03:00:00\n"
              "Modified:11/02/2020 03:04:00\n"
              "Accessed:01/30/2023 23:00:05\n");
}

TEST(ListingFormat, SizeIsTheLowWordReadAsSignedRightAlignedAndNeverCut) {
    SYSTEMTIME t{};
    EXPECT_EQ(FormatFileBlock(1, "f", 0x80000000u, t, t, t).substr(0, 26), "[1]\t[f] -2147483648 Bytes\n");
    EXPECT_EQ(FormatFileBlock(1, "f", 12345678u, t, t, t).substr(0, 23), "[1]\t[f] 12345678 Bytes\n");
    EXPECT_EQ(FormatFileBlock(1, "f", 0xFFFFFFFFu, t, t, t).substr(0, 22), "[1]\t[f]      -1 Bytes\n");
}
