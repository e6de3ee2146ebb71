// The check of "timeout=", "dest=", "share=" and "noshare" before anything is created, and the
// texts of its refusals.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "app/TokenCheck.h"

using namespace testing_support;

namespace {

CheckedTokens Check(const std::string& arguments) { return CheckTokens(ParseCommandLine(arguments)); }

}  // namespace

TEST(TimeoutToken, WholeNumbersFromOneToADayAreTaken) {
    const struct {
        const char* value;
        unsigned seconds;
    } cases[] = {{"1", 1}, {"2", 2}, {"600", 600}, {"86400", 86400}, {"0086400", 86400},
                 {"000000000000000000000000000001", 1}};
    for (const auto& c : cases) {
        unsigned seconds = 0;
        EXPECT_TRUE(ReadTimeoutSeconds(c.value, seconds)) << c.value;
        EXPECT_EQ(seconds, c.seconds) << c.value;
    }
}

TEST(TimeoutToken, AnythingElseIsRefusedAndLeavesTheSecondsAlone) {
    for (const char* value : {"", "0", "000", "86401", "100000", "-5", "+5", "5s", "s5", "1.5", "1e3", "0x10", " 5",
                              "5 ", "abc", "4294967297", "18446744073709551617",
                              "123456789012345678901234567890", "100000000000000000000000000001"}) {
        unsigned seconds = 77;
        EXPECT_FALSE(ReadTimeoutSeconds(value, seconds)) << "[" << value << "]";
        EXPECT_EQ(seconds, 77u) << "[" << value << "]";
    }
}

TEST(FolderToken, AnExistingFolderGetsItsFullPathWithOneTrailingBackslash) {
    ScopedWorkFolder work;
    ::CreateDirectoryA("logs", nullptr);
    const std::string expected = work.Path() + "\\logs\\";
    for (const std::string& value : {work.Path() + "\\logs", work.Path() + "\\logs\\", std::string("logs"),
                                     std::string(".\\logs\\")}) {
        std::string folder;
        EXPECT_FALSE(CheckFolderToken(value, folder).has_value()) << value;
        EXPECT_EQ(folder, expected) << value;
    }
    std::string root;
    EXPECT_FALSE(CheckFolderToken("C:\\", root).has_value());
    EXPECT_EQ(root, "C:\\");
}

TEST(FolderToken, EmptyBlankMissingAndFilePathsAreRefused) {
    ScopedWorkFolder work;
    WriteWholeFile(work.Path() + "\\file.txt", "x");
    ::CreateDirectoryA((work.Path() + "\\with blank").c_str(), nullptr);
    const struct {
        std::string value;
        TokenFault fault;
    } cases[] = {
        {"", TokenFault::kEmptyPath},
        {work.Path() + "\\with blank", TokenFault::kBlankInPath},
        {work.Path() + "\\missing", TokenFault::kNoSuchFolder},
        {work.Path() + "\\file.txt", TokenFault::kNoSuchFolder},
        {work.Path() + "\\file.txt\\", TokenFault::kNoSuchFolder},
        {"\"" + work.Path() + "\"", TokenFault::kNoSuchFolder},
    };
    for (const auto& c : cases) {
        std::string folder = "unchanged";
        EXPECT_EQ(CheckFolderToken(c.value, folder), c.fault) << c.value;
        EXPECT_EQ(folder, "unchanged") << c.value;
    }
}

TEST(FolderToken, ARelativePathUnderACurrentDirectoryWithABlankIsRefused) {
    ScopedWorkFolder work;
    ::CreateDirectoryA("with blank", nullptr);
    ::CreateDirectoryA("with blank\\logs", nullptr);
    ::SetCurrentDirectoryA("with blank");
    std::string folder;
    EXPECT_EQ(CheckFolderToken("logs", folder), TokenFault::kBlankInPath);
    ::SetCurrentDirectoryA(work.Path().c_str());
}

TEST(TokenCheck, NoTokensGiveNoLimitNoFoldersAndNoRefusal) {
    CheckedTokens checked = Check("-noGUI case#=1 unknown=3");
    EXPECT_TRUE(checked.refusals.empty());
    EXPECT_EQ(checked.timeoutSeconds, 0u);
    EXPECT_EQ(checked.destinationFolder, "");
    EXPECT_EQ(checked.shareRoot, "");
    EXPECT_FALSE(checked.noShare);
}

TEST(TokenCheck, GoodTokensGiveTheirValues) {
    ScopedWorkFolder work;
    ::CreateDirectoryA("d", nullptr);
    ::CreateDirectoryA("s", nullptr);
    CheckedTokens checked = Check("TIMEOUT=86400 Dest=" + work.Path() + "\\d share=s");
    EXPECT_TRUE(checked.refusals.empty());
    EXPECT_EQ(checked.timeoutSeconds, 86400u);
    EXPECT_EQ(checked.destinationFolder, work.Path() + "\\d\\");
    EXPECT_EQ(checked.shareRoot, work.Path() + "\\s\\");
    EXPECT_TRUE(Check("noshare dest=d").noShare);
}

TEST(TokenCheck, AShareOutOfReachIsLeftForTheRunToTryButAnEmptyOneIsRefused) {
    CheckedTokens checked = Check("share=\\\\offline\\logs");
    EXPECT_TRUE(checked.refusals.empty());
    EXPECT_EQ(checked.shareRoot, "\\\\offline\\logs\\");
    ASSERT_EQ(Check("share=").refusals.size(), 1u);
    EXPECT_EQ(Check("share=").refusals[0].fault, TokenFault::kEmptyPath);
}

TEST(TokenCheck, OnlyTheLastOfARepeatedTokenIsChecked) {
    ScopedWorkFolder work;
    ::CreateDirectoryA("d", nullptr);
    CheckedTokens checked = Check("timeout=0 timeout=3 dest=missing dest=d");
    EXPECT_TRUE(checked.refusals.empty());
    EXPECT_EQ(checked.timeoutSeconds, 3u);
    EXPECT_EQ(Check("timeout=3 timeout=0").refusals.size(), 1u);
}

TEST(TokenCheck, EveryFaultyTokenIsRefusedOnceNamedAsTyped) {
    ScopedWorkFolder work;
    ::CreateDirectoryA("s", nullptr);
    CheckedTokens checked = Check("Timeout=0 DEST=missing share=s NOSHARE");
    ASSERT_EQ(checked.refusals.size(), 3u);
    EXPECT_EQ(checked.refusals[0].fault, TokenFault::kTimeoutNotInRange);
    EXPECT_EQ(checked.refusals[0].token, "Timeout=0");
    EXPECT_EQ(checked.refusals[1].fault, TokenFault::kNoSuchFolder);
    EXPECT_EQ(checked.refusals[1].token, "DEST=missing");
    EXPECT_EQ(checked.refusals[2].fault, TokenFault::kShareWithNoShare);
    EXPECT_EQ(checked.refusals[2].token, "share=s");
    EXPECT_EQ(checked.refusals[2].otherToken, "NOSHARE");
    EXPECT_EQ(checked.destinationFolder, "");
}

TEST(TokenCheck, RefusalMessageHasOneLinePerRefusedToken) {
    const std::vector<TokenRefusal> refusals = {
        {TokenFault::kTimeoutNotInRange, "timeout=0", ""},
        {TokenFault::kEmptyPath, "dest=", ""},
        {TokenFault::kBlankInPath, "dest=C:\\a b", ""},
        {TokenFault::kNoSuchFolder, "Share=C:\\none", ""},
        {TokenFault::kShareWithNoShare, "share=C:\\s", "NoShare"},
    };
    EXPECT_EQ(RefusalMessage(refusals),
              "\"timeout=0\" was refused: the time limit must be a whole number of seconds from 1 to 86400.\n"
              "\"dest=\" was refused: it names no folder.\n"
              "\"dest=C:\\a b\" was refused: the folder's path must not contain a blank.\n"
              "\"Share=C:\\none\" was refused: there is no folder of that name.\n"
              "\"share=C:\\s\" was refused: it cannot be given together with \"NoShare\".");
    EXPECT_EQ(RefusalMessage({refusals[1]}), "\"dest=\" was refused: it names no folder.");
}
