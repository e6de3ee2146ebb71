// The dump's lines built from values: prefix columns, every type's form, the hex dump.
#include <gtest/gtest.h>

#include "regdump/DumpFormat.h"

using namespace regdump;
using namespace std::string_literals;

TEST(DumpFormat, HeaderLineCarriesHiveAndSubkeyAsListed) {
    EXPECT_EQ(FormatHeaderLine("hkey_users", "S-1\\Software"), "~~~[Hive:hkey_users Subkey:S-1\\Software]~~~\n");
}

TEST(DumpFormat, KeyLineIsIndentedThreeBlanksPerLevel) {
    EXPECT_EQ(FormatKeyLine("SOFTWARE\\X", 0), "[SOFTWARE\\X]\n");
    EXPECT_EQ(FormatKeyLine("Y", 2), "      [Y]\n");
}

TEST(DumpFormat, NameAndColonFillEighteenColumnsAndLongerNamesAreNotCut) {
    EXPECT_EQ(FormatValuePrefix("A", 3), "   A:                 ");
    EXPECT_EQ(FormatValuePrefix("", 6), "      :                  ");
    EXPECT_EQ(FormatValuePrefix("SeventeenLetters_", 3), "   SeventeenLetters_: ");
    EXPECT_EQ(FormatValuePrefix("EighteenLetters_xx", 3), "   EighteenLetters_xx: ");
}

TEST(DumpFormat, StringsStopAtTheirTerminatorOrAtTheEndOfTheData) {
    EXPECT_EQ(FormatValueLine("S", REG_SZ, "abc\0def\0"s, 3),
              "   S:                 REG_SZ                         abc\n");
    // Data stored without a terminator is printed whole and nothing past it is read.
    EXPECT_EQ(FormatValueLine("S", REG_EXPAND_SZ, std::string_view("%TEMP%xyz", 6), 3),
              "   S:                 REG_EXPAND_SZ                  %TEMP%\n");
    EXPECT_EQ(FormatValueLine("S", REG_SZ, "", 3), "   S:                 REG_SZ                         \n");
}

TEST(DumpFormat, NumbersAreLowerCaseHexWithoutLeadingZeros) {
    EXPECT_EQ(FormatValueLine("N", REG_DWORD, "\xef\xbe\xad\xde"s, 3),
              "   N:                 REG_DWORD                      0xdeadbeef\n");
    EXPECT_EQ(FormatValueLine("N", REG_DWORD, "\0\0\0\0"s, 3),
              "   N:                 REG_DWORD                      0x0\n");
    // A number stored short reads as zero-filled, not from beyond its data.
    EXPECT_EQ(FormatValueLine("N", REG_DWORD, "\x34\x12"s, 3),
              "   N:                 REG_DWORD                      0x1234\n");
}

TEST(DumpFormat, FurtherStringsOfAMultiStringStartUnderTheTypeColumn) {
    std::string name(20, 'm');  // longer than the name column: the continuation moves with it
    std::string prefix = "   " + name + ": ";
    EXPECT_EQ(FormatValueLine(name, REG_MULTI_SZ, "a\0bc\0\0"s, 3),
              prefix + "REG_MULTI_SZ                   a\n" + std::string(prefix.size(), ' ') + "bc\n");
}

TEST(DumpFormat, MultiStringEndsAtTheFirstEmptyStringOrTheEndOfTheData) {
    const std::string head = "   M:                 REG_MULTI_SZ                   ";
    const std::string under(22, ' ');
    EXPECT_EQ(FormatValueLine("M", REG_MULTI_SZ, "a\0\0hidden\0\0"s, 3), head + "a\n");
    EXPECT_EQ(FormatValueLine("M", REG_MULTI_SZ, "a\0last"s, 3), head + "a\n" + under + "last\n");
    EXPECT_EQ(FormatValueLine("M", REG_MULTI_SZ, "", 3), head + "\n");
}

TEST(DumpFormat, BinaryUpToFourBytesIsInline) {
    const std::string head = "   B:                 REG_BINARY                     ";
    EXPECT_EQ(FormatValueLine("B", REG_BINARY, "", 3), head + "<>\n");
    EXPECT_EQ(FormatValueLine("B", REG_BINARY, "\x0a"s, 3), head + "<0a>\n");
    EXPECT_EQ(FormatValueLine("B", REG_BINARY, "\x00\xff\x10\x7f"s, 3), head + "<00 ff 10 7f>\n");
    EXPECT_EQ(FormatValueLine("B", REG_BINARY, "12345"s, 3), head + "<5 bytes of binary data follow>\n");
}

TEST(DumpFormat, OtherTypesAreNamedByNumberWithoutTypeColumn) {
    EXPECT_EQ(FormatValueLine("Q", REG_QWORD, "12345678", 3), "   Q:                 <value type 0xb not supported.>\n");
    EXPECT_EQ(FormatValueLine("Z", REG_NONE, "", 6), "      Z:                 <value type 0x0 not supported.>\n");
    EXPECT_EQ(FormatValueLine("R", REG_RESOURCE_LIST, "", 3),
              "   R:                 <value type 0x8 not supported.>\n");
}

TEST(DumpFormat, HexDumpShowsSixteenBytesALineWithPaddedFields) {
    EXPECT_EQ(FormatHexDump(""), "");
    EXPECT_EQ(FormatHexDump("0123456789abcdef"),
              "             30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 66   0123456789abcdef\n");
    EXPECT_EQ(FormatHexDump("0123456789abcdef\x1f \x7e\x7f"s),
              "             30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 66   0123456789abcdef\n"
              "             1f 20 7e 7f                                       . ~.            \n");
}
