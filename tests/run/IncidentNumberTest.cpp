// Which incident numbers may name a bug folder and stand in the packaging command line.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "run/IncidentNumber.h"

TEST(IncidentNumber, LettersDigitsHyphensAndUnderscoresPass) {
    EXPECT_TRUE(IsValidIncidentNumber("123456"));
    EXPECT_TRUE(IsValidIncidentNumber("ab-12_C"));
    EXPECT_TRUE(IsValidIncidentNumber("123456789"));
}

TEST(IncidentNumber, EmptyIsRefused) { EXPECT_FALSE(IsValidIncidentNumber("")); }

TEST(IncidentNumber, EveryOtherCharacterAnywhereIsRefused) {
    for (int code = 1; code < 256; ++code) {
        char c = static_cast<char>(code);
        bool allowed = (code < 128 && std::isalnum(code)) || c == '-' || c == '_';
        for (const std::string& number : {std::string(1, c), "12" + std::string(1, c) + "34", "1234" + std::string(1, c)})
            EXPECT_EQ(IsValidIncidentNumber(number), allowed) << "character " << code;
    }
}

TEST(IncidentNumber, NumbersBuiltToBreakOutAreRefused) {
    for (const char* number : {"1&calc", "..\\..\\x", "a|b", "\"12\"", "12 34", "12.34", "12/34", "12\\34", "1>x",
                               "caf\xe9"})
        EXPECT_FALSE(IsValidIncidentNumber(number)) << number;
}

TEST(IncidentNumber, DeviceNamesInAnyLetterCaseAreRefusedWordsAroundThemPass) {
    for (const char* number : {"CON", "prn", "Aux", "nUL", "COM1", "com9", "LPT1", "lpt9"})
        EXPECT_FALSE(IsValidIncidentNumber(number)) << number;
    for (const char* number : {"CONSOLE", "NUL1", "COM", "COM0", "COM10", "LPT", "LPT0", "xCON", "AUX_1"})
        EXPECT_TRUE(IsValidIncidentNumber(number)) << number;
}
