// The "nothing written outside" checks of the robustness tests are only as good as the
// snapshot: it must see a file added, removed, grown or rewritten, and leave skipped folders out.
#include <gtest/gtest.h>

#include "FolderSnapshot.h"
#include "SeededCases.h"
#include "TestFiles.h"

using namespace testing_support;

TEST(FolderSnapshot, SeesEveryKindOfChangeAndLeavesSkippedFoldersOut) {
    ScopedWorkFolder work;
    ::CreateDirectoryA("kept", nullptr);
    ::CreateDirectoryA("run", nullptr);
    WriteWholeFile("kept\\a.log", "one");
    WriteWholeFile("kept\\b.log", "two");
    WriteWholeFile("kept\\c.log", "three");
    FolderSnapshot before = TakeFolderSnapshot(work.Path(), {"run"});

    WriteWholeFile("run\\inside.txt", "ignored");
    WriteWholeFile("kept\\a.log", "one more");
    ::DeleteFileA("kept\\b.log");
    WriteWholeFile("kept\\d.log", "new");
    FILETIME later{};
    {
        win32::UniqueFile file(::CreateFileA("kept\\c.log", FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file);
        later.dwHighDateTime = 0x01DC0000;
        ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &later));
    }

    std::vector<std::string> expected = {"~ kept\\a.log", "- kept\\b.log", "~ kept\\c.log", "+ kept\\d.log"};
    EXPECT_EQ(SnapshotDifferences(before, TakeFolderSnapshot(work.Path(), {"run"})), expected);
    EXPECT_TRUE(SnapshotDifferences(before, before).empty());
}

TEST(SeededCases, SameSeedSameCaseAndEdgesComeUp) {
    SeededRandom first(42), second(42);
    EXPECT_EQ(first.Bytes(64), second.Bytes(64));
    SeededRandom edges(7);
    bool sawLimit = false, sawPastLimit = false;
    for (int i = 0; i < 200; ++i) {
        size_t length = edges.EdgeLength(260);
        sawLimit |= length == 260;
        sawPastLimit |= length == 261;
        EXPECT_LE(length, 520u);
    }
    EXPECT_TRUE(sawLimit);
    EXPECT_TRUE(sawPastLimit);
}
