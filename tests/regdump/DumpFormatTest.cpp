// Value lines for data the planted registry cannot give: unterminated strings, short numbers,
// long names, the ends of a multi-string, other types.
#include <gtest/gtest.h>

#include "regdump/DumpFormat.h"

using namespace regdump;
using namespace std::string_literals;

TEST(DumpFormat, NameAndColonFillEighteenColumnsAndLongerNamesAreNotCut) {
    EXPECT_EQ(FormatValuePrefix("A", 3), "   A:                 ");
    EXPECT_EQ(FormatValuePrefix("", 6), "      :                  ");
    EXPECT_EQ(FormatValuePrefix("EighteenLetters_xx", 3), "   EighteenLetters_xx: ");
}

TEST(DumpFormat, StringsStopAtTheirTerminatorOrAtTheEndOfTheData) {
    EXPECT_EQ(FormatValueLine("S", REG_SZ, "abc\0def\0"s, 3),
              "   S:                 REG_SZ                         abc\n");
    // Data stored without a terminator is printed whole and nothing past it is read.
    EXPECT_EQ(FormatValueLine("S", REG_EXPAND_SZ, std::string_view("%TEMP%xyz", 6), 3),
              "   S:                 REG_EXPAND_SZ                  %TEMP%\n");
}

TEST(DumpFormat, NumberStoredShortReadsAsZeroFilled) {
    EXPECT_EQ(FormatValueLine("N", REG_DWORD, "\x34\x12"s, 3),
              "   N:                 REG_DWORD                      0x1234\n");
    EXPECT_EQ(FormatValueLine("N", REG_DWORD, "\xef\xbe\xad\xde"s, 3),
              "   N:                 REG_DWORD                      0xdeadbeef\n");
}

TEST(DumpFormat, MultiStringContinuesUnderTheTypeColumnUpToAnEmptyStringOrTheEnd) {
    std::string name(20, 'm');  // longer than the name column: the continuation moves with it
    std::string prefix = "   " + name + ": ";
    EXPECT_EQ(FormatValueLine(name, REG_MULTI_SZ, "a\0bc\0\0"s, 3),
              prefix + "REG_MULTI_SZ                   a\n" + std::string(prefix.size(), ' ') + "bc\n");
    const std::string head = "   M:                 REG_MULTI_SZ                   ";
    EXPECT_EQ(FormatValueLine("M", REG_MULTI_SZ, "a\0\0hidden\0\0"s, 3), head + "a\n");
    EXPECT_EQ(FormatValueLine("M", REG_MULTI_SZ, "a\0last"s, 3), head + "a\n" + std::string(22, ' ') + "last\n");
    EXPECT_EQ(FormatValueLine("M", REG_MULTI_SZ, "", 3), head + "\n");
}

TEST(DumpFormat, OtherTypesAreNamedByNumberWithoutTypeColumn) {
    EXPECT_EQ(FormatValueLine("Z", REG_NONE, "", 6), "      Z:                 <value type 0x0 not supported.>\n");
    EXPECT_EQ(FormatValueLine("R", REG_RESOURCE_LIST, "", 3),
              "   R:                 <value type 0x8 not supported.>\n");
}
