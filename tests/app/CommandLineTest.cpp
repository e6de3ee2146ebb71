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
