// How the command line is split into tokens and which tokens count.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

void ExpectOptions(const std::string& arguments, bool showDialog, const std::string& incident) {
    CommandLineOptions options = ParseCommandLine(arguments);
    EXPECT_EQ(options.showDialog, showDialog) << "[" << arguments << "]";
    EXPECT_EQ(options.incidentNumber, incident) << "[" << arguments << "]";
}

}  // namespace

TEST(CommandLine, NothingGivenMeansTheDialogWithoutAnIncident) { ExpectOptions("", true, ""); }

TEST(CommandLine, SilentSwitchAndIncidentInEitherOrder) {
    ExpectOptions("-noGUI case#=123456", false, "123456");
    ExpectOptions("case#=123456 -noGUI", false, "123456");
}

TEST(CommandLine, TokensAreComparedWithoutRegardToCase) {
    ExpectOptions("-NOGUI CASE#=77", false, "77");
    ExpectOptions("-nogui Case#=ab", false, "ab");
}

TEST(CommandLine, BlanksCommasTabsAndLineFeedsSplitAndRunsCountAsOne) {
    ExpectOptions("-noGUI,case#=1", false, "1");
    ExpectOptions("\t-noGUI\n\ncase#=2\t", false, "2");
    ExpectOptions(" ,, \t-noGUI , ,case#=3,", false, "3");
}

TEST(CommandLine, IncidentIsEverythingAfterTheFirstEqualsSign) {
    ExpectOptions("case#=12=34 -noGUI", false, "12=34");
    ExpectOptions("case#=", true, "");
    ExpectOptions("case#=a\"b'c", true, "a\"b'c");
}

TEST(CommandLine, LaterIncidentOverwritesEarlier) { ExpectOptions("case#=1 case#=2", true, "2"); }

TEST(CommandLine, TokensThatOnlyResembleTheSwitchesAreIgnored) {
    ExpectOptions("-noguiX", true, "");
    ExpectOptions("/noGUI", true, "");
    ExpectOptions("noGUI", true, "");
    ExpectOptions("case#123", true, "");
    ExpectOptions("case=123", true, "");
    ExpectOptions("xcase#=123", true, "");
}

TEST(CommandLine, DelimitersCannotBePartOfAnIncident) {
    ExpectOptions("case#=12 34", true, "12");
    ExpectOptions("case#=12,34", true, "12");
}

namespace {

struct ValueTokenCase {
    const char* arguments;
    ValueToken CommandLineOptions::*field;
    const char* token;  // as typed, the last one given
    const char* value;
};

}  // namespace

TEST(CommandLine, ValueTokensAreReadInAnyCaseAndTheLastOneCounts) {
    const ValueTokenCase cases[] = {
        {"timeout=5", &CommandLineOptions::timeout, "timeout=5", "5"},
        {"TIMEOUT=5", &CommandLineOptions::timeout, "TIMEOUT=5", "5"},
        {"timeout=1,TimeOut=2", &CommandLineOptions::timeout, "TimeOut=2", "2"},
        {"timeout=", &CommandLineOptions::timeout, "timeout=", ""},
        {"timeout=a=b", &CommandLineOptions::timeout, "timeout=a=b", "a=b"},
        {"Dest=C:\\x", &CommandLineOptions::destination, "Dest=C:\\x", "C:\\x"},
        {"dest=C:\\a\tDEST=C:\\b\\", &CommandLineOptions::destination, "DEST=C:\\b\\", "C:\\b\\"},
        {"share=\\\\host\\logs", &CommandLineOptions::share, "share=\\\\host\\logs", "\\\\host\\logs"},
        {"SHARE=D:\\s\nshare=", &CommandLineOptions::share, "share=", ""},
    };
    for (const ValueTokenCase& c : cases) {
        CommandLineOptions options = ParseCommandLine(c.arguments);
        const ValueToken& token = options.*c.field;
        EXPECT_TRUE(token.given) << "[" << c.arguments << "]";
        EXPECT_EQ(token.token, c.token) << "[" << c.arguments << "]";
        EXPECT_EQ(token.value, c.value) << "[" << c.arguments << "]";
    }
}

TEST(CommandLine, ABlankEndsAValueTokenLikeAnyOther) {
    CommandLineOptions options = ParseCommandLine("timeout= 5 dest=C:\\my folder");
    EXPECT_EQ(options.timeout.token, "timeout=");
    EXPECT_EQ(options.timeout.value, "");
    EXPECT_EQ(options.destination.value, "C:\\my");
}

TEST(CommandLine, NoShareIsAWholeTokenInAnyCase) {
    EXPECT_TRUE(ParseCommandLine("noshare").noShare);
    CommandLineOptions options = ParseCommandLine("-noGUI,NoShare case#=1");
    EXPECT_TRUE(options.noShare);
    EXPECT_EQ(options.noShareToken, "NoShare");
    EXPECT_FALSE(options.showDialog);
    EXPECT_EQ(options.incidentNumber, "1");
    EXPECT_FALSE(ParseCommandLine("noshareX -noshare noshare=1").noShare);
}

TEST(CommandLine, TokensThatOnlyResembleTheValueTokensAreIgnored) {
    for (const char* arguments : {"timeout5", "xtimeout=5", "time-out=5", "-timeout=5", "dest", "destination=C:\\",
                                  "/dest=C:\\", "shares=C:\\", "share:C:\\"}) {
        CommandLineOptions options = ParseCommandLine(arguments);
        EXPECT_FALSE(options.timeout.given) << arguments;
        EXPECT_FALSE(options.destination.given) << arguments;
        EXPECT_FALSE(options.share.given) << arguments;
        EXPECT_FALSE(options.noShare) << arguments;
    }
}

TEST(CommandLine, ValueTokensLeaveModeAndIncidentAlone) {
    ExpectOptions("timeout=5 dest=C:\\x share=C:\\y noshare case#=42 -noGUI", false, "42");
    ExpectOptions("dest=case#=1", true, "");
    EXPECT_FALSE(ParseCommandLine("case#=timeout=5").timeout.given);
}
