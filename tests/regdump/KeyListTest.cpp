// The key list's lines: the limits of their parts and the hive names.
#include <gtest/gtest.h>

#include "regdump/KeyList.h"

using namespace regdump;

TEST(KeyList, EmptyLinesCommentsAndLinesWithoutBackslashAreSkipped) {
    EXPECT_FALSE(ParseListLine(""));
    EXPECT_FALSE(ParseListLine("#HKEY_LOCAL_MACHINE\\SOFTWARE"));
    EXPECT_FALSE(ParseListLine("HKEY_LOCAL_MACHINE"));
    EXPECT_TRUE(ParseListLine(" #HKEY_LOCAL_MACHINE\\SOFTWARE"));
}

TEST(KeyList, PartsBeyondTheirLimitsAreNamedButNotDumped) {
    EXPECT_TRUE(ParseListLine(std::string(63, 'H') + "\\" + std::string(511, 's'))->dumpable);
    auto longHive = ParseListLine(std::string(64, 'H') + "\\SOFTWARE");
    ASSERT_TRUE(longHive);
    EXPECT_EQ(longHive->hive, std::string(64, 'H'));
    EXPECT_FALSE(longHive->dumpable);
    auto longSubKey = ParseListLine("HKEY_LOCAL_MACHINE\\" + std::string(512, 's'));
    ASSERT_TRUE(longSubKey);
    EXPECT_EQ(longSubKey->subKey, std::string(512, 's'));
    EXPECT_FALSE(longSubKey->dumpable);
    // A NUL byte would make the opened key differ from the one listed.
    EXPECT_FALSE(ParseListLine(std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\0Other", 34))->dumpable);
}

TEST(KeyList, HiveNamesAreKnownInAnyCase) {
    EXPECT_EQ(HiveFromName("hkey_local_machine"), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(HiveFromName("Hkey_Current_User"), HKEY_CURRENT_USER);
    EXPECT_EQ(HiveFromName("HKEY_CLASSES_ROOT"), HKEY_CLASSES_ROOT);
    EXPECT_EQ(HiveFromName("HKEY_USERS"), HKEY_USERS);
    EXPECT_EQ(HiveFromName("hkey_current_config"), HKEY_CURRENT_CONFIG);
    EXPECT_EQ(HiveFromName("HKLM"), nullptr);
    EXPECT_EQ(HiveFromName("HKEY_LOCAL_MACHINE "), nullptr);
}
