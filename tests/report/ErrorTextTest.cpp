// GetErrorText: the system's text for a code, the network range and the not-found text.
#include <gtest/gtest.h>

#include "report/ErrorText.h"

namespace {

// The system's own text for a code, asked the plain way (Wine's wording differs from Windows').
std::string SystemText(DWORD code) {
    char* buffer = nullptr;
    DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length ? std::string(buffer, length) : "";
    ::LocalFree(buffer);
    return text;
}

}  // namespace

TEST(GetErrorText, Code2IsTheSystemTextFollowedByTheCode) {
    std::string system = SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(system.empty());
    EXPECT_EQ(GetErrorText(ERROR_FILE_NOT_FOUND), system + "Error = 2");
}

TEST(GetErrorText, CodeWithoutTextGivesTheNotFoundText) {
    ASSERT_EQ(SystemText(0x2000ABCD), "");
    EXPECT_EQ(GetErrorText(0x2000ABCD), "Error::Message string not found for 536914893");
}

TEST(GetErrorText, NetworkCodeWithoutNetmsgFallsBackToTheSystemTexts) {
    // Wine has no netmsg.dll: the lookup narrows to the system's table.
    ASSERT_EQ(::LoadLibraryExA("netmsg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    std::string system = SystemText(2250);
    std::string expected = system.empty() ? "Error::Message string not found for 2250" : system + "Error = 2250";
    EXPECT_EQ(GetErrorText(2250), expected);
}
