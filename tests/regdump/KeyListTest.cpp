// The key list's lines: what is skipped, how a line splits, which lines are not dumped.
#include <gtest/gtest.h>

#include <cstdio>

#include "common/win32/UniqueHandle.h"
#include "regdump/KeyList.h"

using namespace regdump;

TEST(KeyList, EmptyLinesCommentsAndLinesWithoutBackslashAreSkipped) {
    EXPECT_FALSE(ParseListLine(""));
    EXPECT_FALSE(ParseListLine("#HKEY_LOCAL_MACHINE\\SOFTWARE"));
    EXPECT_FALSE(ParseListLine("HKEY_LOCAL_MACHINE"));
    EXPECT_TRUE(ParseListLine(" #HKEY_LOCAL_MACHINE\\SOFTWARE"));
}

TEST(KeyList, LineSplitsAtItsFirstBackslash) {
    auto entry = ParseListLine("HKEY_USERS\\.DEFAULT\\Software\\");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->hive, "HKEY_USERS");
    EXPECT_EQ(entry->subKey, ".DEFAULT\\Software\\");
    EXPECT_TRUE(entry->dumpable);
}

TEST(KeyList, PartsWithinTheirLimitsAreDumpable) {
    auto entry = ParseListLine(std::string(63, 'H') + "\\" + std::string(511, 's'));
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->dumpable);
}

TEST(KeyList, PartsBeyondTheirLimitsAreNamedButNotDumped) {
    auto longHive = ParseListLine(std::string(64, 'H') + "\\SOFTWARE");
    ASSERT_TRUE(longHive);
    EXPECT_EQ(longHive->hive, std::string(64, 'H'));
    EXPECT_FALSE(longHive->dumpable);
    auto longSubKey = ParseListLine("HKEY_LOCAL_MACHINE\\" + std::string(512, 's'));
    ASSERT_TRUE(longSubKey);
    EXPECT_EQ(longSubKey->subKey, std::string(512, 's'));
    EXPECT_FALSE(longSubKey->dumpable);
}

TEST(KeyList, LineHoldingANulByteIsNotDumped) {
    auto entry = ParseListLine(std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\0Other", 34));
    ASSERT_TRUE(entry);
    EXPECT_FALSE(entry->dumpable);
}

TEST(KeyList, HiveNamesAreKnownInAnyCase) {
    EXPECT_EQ(HiveFromName("HKEY_LOCAL_MACHINE"), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(HiveFromName("hkey_local_machine"), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(HiveFromName("Hkey_Current_User"), HKEY_CURRENT_USER);
    EXPECT_EQ(HiveFromName("HKEY_CLASSES_ROOT"), HKEY_CLASSES_ROOT);
    EXPECT_EQ(HiveFromName("HKEY_USERS"), HKEY_USERS);
    EXPECT_EQ(HiveFromName("hkey_current_config"), HKEY_CURRENT_CONFIG);
    EXPECT_EQ(HiveFromName("HKLM"), nullptr);
    EXPECT_EQ(HiveFromName("HKEY_LOCAL_MACHINE "), nullptr);
    EXPECT_EQ(HiveFromName(""), nullptr);
}

TEST(KeyList, ReadsWholeLinesOfAnyLengthWithoutTheirLineFeed) {
    win32::UniqueCStream stream(std::tmpfile());
    ASSERT_TRUE(stream);
    std::FILE* file = stream.get();
    std::string longLine(3000, 'x');
    std::fputs(("first\n\n" + longLine + "\nlast").c_str(), file);
    std::rewind(file);
    std::string line;
    ASSERT_TRUE(ReadListLine(file, line));
    EXPECT_EQ(line, "first");
    ASSERT_TRUE(ReadListLine(file, line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(ReadListLine(file, line));
    EXPECT_EQ(line, longLine);
    ASSERT_TRUE(ReadListLine(file, line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(ReadListLine(file, line));
}
