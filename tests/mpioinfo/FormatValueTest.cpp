// Value texts: every VARIANT type and every array element type the printer knows.
#include "ObjectPrinter.h"
#include "QdsmTest.h"
#include "WmiDoubles.h"

using namespace wmi_doubles;

using FormatValueTest = QdsmTest;

namespace {

std::wstring Text(const Value& value, CIMTYPE cimType = CIM_EMPTY) { return FormatValue(cimType, value.get()); }

}  // namespace

TEST_F(FormatValueTest, EmptyAndNull) {
    EXPECT_EQ(Text(Empty()), L"<empty>");
    EXPECT_EQ(Text(Null()), L"<null>");
}

TEST_F(FormatValueTest, IntegersInUpperCaseHexadecimal) {
    EXPECT_EQ(Text(I2(255)), L"0xFF");
    EXPECT_EQ(Text(I2(-1)), L"0xFFFF");
    EXPECT_EQ(Text(I4(2)), L"0x2");
    EXPECT_EQ(Text(I4(-2)), L"0xFFFFFFFE");
    EXPECT_EQ(Text(UI4(0xABCDEF01)), L"0xABCDEF01");
    EXPECT_EQ(Text(UI1(171)), L"0xAB");
    EXPECT_EQ(Text(UI2(0xBEEF)), L"0xBEEF");
}

TEST_F(FormatValueTest, FloatsTakeTenColumnsAndFourDecimals) {
    EXPECT_EQ(Text(R4(1.5f)), L"    1.5000");
    EXPECT_EQ(Text(R8(-12345.678)), L"-12345.6780");
    EXPECT_EQ(Text(R8(0.0)), L"    0.0000");
}

TEST_F(FormatValueTest, StringsStandInDoubleQuotesUnescaped) {
    EXPECT_EQ(Text(wmi_doubles::Text(L"abc"), CIM_STRING), L"\"abc\"");
    EXPECT_EQ(Text(wmi_doubles::Text(L"a\"b\\c"), CIM_STRING), L"\"a\"b\\c\"");
    EXPECT_EQ(Text(wmi_doubles::Text(L""), CIM_STRING), L"\"\"");
}

TEST_F(FormatValueTest, SixtyFourBitIntegersCarriedAsDecimalStrings) {
    EXPECT_EQ(Text(wmi_doubles::Text(L"255"), CIM_UINT64), L"0xFF");
    EXPECT_EQ(Text(wmi_doubles::Text(L"1099511627776"), CIM_SINT64), L"0x10000000000");
    EXPECT_EQ(Text(wmi_doubles::Text(L"-1"), CIM_SINT64), L"0xFFFFFFFFFFFFFFFF");
    EXPECT_EQ(Text(wmi_doubles::Text(L"not a number"), CIM_UINT64), L"0x0");
    // Any other CIM type keeps the digits as a quoted string.
    EXPECT_EQ(Text(wmi_doubles::Text(L"255"), CIM_UINT32), L"\"255\"");
}

TEST_F(FormatValueTest, Booleans) {
    EXPECT_EQ(Text(Boolean(true)), L"TRUE");
    EXPECT_EQ(Text(Boolean(false)), L"FALSE");
    Value other = Boolean(false);
    other.get().boolVal = 1;  // any non-zero value is true
    EXPECT_EQ(Text(other), L"TRUE");
}

TEST_F(FormatValueTest, SignedBytesPrintableAsCharactersOthersInHexadecimal) {
    EXPECT_EQ(Text(I1('A')), L"A");
    EXPECT_EQ(Text(I1(' ')), L" ");
    EXPECT_EQ(Text(I1(31)), L"x1F");
    EXPECT_EQ(Text(I1(0)), L"x0");
    EXPECT_EQ(Text(I1(-1)), L"xFFFF");
    EXPECT_EQ(Text(I1(-128)), L"xFF80");
}

TEST_F(FormatValueTest, Char16ArrayAllPrintableIsItsCharacters) {
    EXPECT_EQ(Text(UI2Array({L'D', L'i', L's', L'k'})), L"Disk");
    EXPECT_EQ(Text(I2Array({'o', 'k'})), L"ok");
}

TEST_F(FormatValueTest, Char16ArrayWithOneUnprintableElementIsAHexadecimalList) {
    EXPECT_EQ(Text(UI2Array({L'D', 0x7, L'k'})), L"0x44,0x7,0x6B");
    EXPECT_EQ(Text(I2Array({-1, 'a'})), L"0xFFFF,0x61");
    EXPECT_EQ(Text(UI2Array({L'a', 0}, 5)), L"0x61,0x0");
}

TEST_F(FormatValueTest, LongArrayHexadecimalWithoutSeparatorsUnlessPrintable) {
    EXPECT_EQ(Text(I4Array({1, 0xAB, 0x10})), L"0x1ab10");
    EXPECT_EQ(Text(I4Array({-1})), L"0xffffffff");
    // Printable when the low 16 bits are.
    EXPECT_EQ(Text(I4Array({'O', 0x1004B})), L"OK");
}

TEST_F(FormatValueTest, UnsignedLongArrayIsDecimalDigitsRunTogether) {
    EXPECT_EQ(Text(UI4Array({12, 0, 4294967295UL})), L"1204294967295");
}

TEST_F(FormatValueTest, ByteArraysInHexadecimalAfterOneLeadingZeroX) {
    EXPECT_EQ(Text(UI1Array({1, 171, 0})), L"0x1AB0");
    EXPECT_EQ(Text(I1Array({1, -1, 0x7F})), L"0x1FFFFFFFF7F");
}

TEST_F(FormatValueTest, FloatAndBooleanArraysSeparatedByCommas) {
    EXPECT_EQ(Text(R4Array({1.5f, -2.25f})), L"    1.5000,   -2.2500");
    EXPECT_EQ(Text(R8Array({3.0})), L"    3.0000");
    EXPECT_EQ(Text(BooleanArray({true, false})), L"TRUE,FALSE");
}

TEST_F(FormatValueTest, StringArraysQuotedOrAsSixtyFourBitHexadecimal) {
    EXPECT_EQ(Text(TextArray({L"a", L"", L"b c"}), CIM_FLAG_ARRAY | CIM_STRING), L"\"a\",\"\",\"b c\"");
    EXPECT_EQ(Text(TextArray({L"255", L"16"}), CIM_FLAG_ARRAY | CIM_UINT64), L"FF,10");
    EXPECT_EQ(Text(TextArray({L"-2"}), CIM_FLAG_ARRAY | CIM_SINT64), L"FFFFFFFFFFFFFFFE");
}

TEST_F(FormatValueTest, LongStringArrayGrowsAsNeeded) {
    std::vector<std::wstring> elements(600, std::wstring(20, L'x'));
    std::wstring text = Text(TextArray(elements), CIM_FLAG_ARRAY | CIM_STRING);
    EXPECT_EQ(text.size(), 600u * 22 + 599);
    EXPECT_EQ(text.substr(0, 23), L"\"xxxxxxxxxxxxxxxxxxxx\",");
}

TEST_F(FormatValueTest, EmptyArraysOfEveryListedType) {
    for (VARTYPE type : {VT_I2, VT_UI2, VT_I4, VT_UI4, VT_I1, VT_UI1, VT_R4, VT_R8, VT_BOOL, VT_BSTR})
        EXPECT_EQ(Text(EmptyArray(type)), L"<empty array>") << "element type " << type;
}

TEST_F(FormatValueTest, TypesOutsideTheTableAreConversionErrors) {
    Value date;
    date.get().vt = VT_DATE;
    date.get().date = 1.0;
    EXPECT_EQ(Text(date), L"<conversion error>");
    Value currency;
    currency.get().vt = VT_CY;
    EXPECT_EQ(Text(currency), L"<conversion error>");
    EXPECT_EQ(Text(EmptyArray(VT_DATE)), L"<conversion error>");
}

TEST_F(FormatValueTest, ArrayOfMoreThanOneDimensionIsNamedNotRead) {
    EXPECT_EQ(Text(TwoDimensionalI4Array()), L"<array of 2 dimensions not shown>");
}

// The element size comes from the array itself: a VARIANT type that promises other elements
// than the array holds must not make a fetch write past its variable.
TEST_F(FormatValueTest, ArrayHoldingOtherElementsThanItsTypeSaysIsAConversionError) {
    Value wider = I4Array({0x41424344, 0x45464748});
    wider.get().vt = VT_ARRAY | VT_I2;
    EXPECT_EQ(Text(wider), L"<conversion error>");
    Value reals = R8Array({1.0});
    reals.get().vt = VT_ARRAY | VT_BSTR;  // as wide as a string pointer, but no strings
    EXPECT_EQ(Text(reals, CIM_FLAG_ARRAY | CIM_STRING), L"<conversion error>");
    EXPECT_EQ(Text(reals, CIM_FLAG_ARRAY | CIM_UINT64), L"<conversion error>");
}
