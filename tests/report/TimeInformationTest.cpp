// The time block: bias arithmetic, zone names, and the whole block's entries.
#include <gtest/gtest.h>

#include <regex>

#include "StartedCollection.h"
#include "TestFiles.h"
#include "report/TimeInformation.h"
#include "report/TimeText.h"

using namespace testing_support;

namespace {

TIME_ZONE_INFORMATION Zone(LONG bias, LONG standardBias, LONG daylightBias) {
    TIME_ZONE_INFORMATION zone{};
    zone.Bias = bias;
    zone.StandardBias = standardBias;
    zone.DaylightBias = daylightBias;
    wcscpy(zone.StandardName, L"Test Standard Time");
    wcscpy(zone.DaylightName, L"Test Daylight Time");
    return zone;
}

}  // namespace

TEST(TimeInformation, BiasKeepsTheSignInHoursAndMinutes) {
    EXPECT_EQ(FormatBias(-330), "-5 hours, -30 minutes");
    EXPECT_EQ(FormatBias(60), "1 hours, 0 minutes");
    EXPECT_EQ(FormatBias(345), "5 hours, 45 minutes");
    EXPECT_EQ(FormatBias(0), "0 hours, 0 minutes");
}

TEST(TimeInformation, ZoneWithoutDaylightSavingAtMinus330) {
    std::vector<std::string> expected = {
        "Current Time Zone: The system cannot determine the current time zone",
        "Current GMT: 12-06-2026 08:00:00PM",
        "Current time zone Bias: -5 hours, -30 minutes",
        "Standard Bias for Local: -5 hours, -30 minutes",
        "Daylight Bias for Local: -5 hours, -30 minutes",
    };
    EXPECT_EQ(TimeZoneEntries(TIME_ZONE_ID_UNKNOWN, Zone(-330, 0, 0), "12-06-2026 08:00:00PM"), expected);
}

TEST(TimeInformation, StandardTimeAtPlus60) {
    std::vector<std::string> expected = {
        "Current Time Zone: Test Standard Time",
        "Current GMT: x",
        "Current time zone Bias: 1 hours, 0 minutes",
        "Standard Bias for Local: 1 hours, 0 minutes",
        "Daylight Bias for Local: 0 hours, 0 minutes",
    };
    EXPECT_EQ(TimeZoneEntries(TIME_ZONE_ID_STANDARD, Zone(60, 0, -60), "x"), expected);
}

TEST(TimeInformation, DaylightTimeAddsTheDaylightBias) {
    std::vector<std::string> entries = TimeZoneEntries(TIME_ZONE_ID_DAYLIGHT, Zone(-60, 0, -60), "x");
    EXPECT_EQ(entries[0], "Current Time Zone: Test Daylight Time");
    EXPECT_EQ(entries[2], "Current time zone Bias: -2 hours, 0 minutes");
    EXPECT_EQ(entries[3], "Standard Bias for Local: -1 hours, 0 minutes");
    EXPECT_EQ(entries[4], "Daylight Bias for Local: -2 hours, 0 minutes");
}

TEST(TimeInformation, FailedZoneQueryGivesAnEmptyName) {
    EXPECT_EQ(TimeZoneEntries(TIME_ZONE_ID_INVALID, Zone(0, 0, 0), "x")[0], "Current Time Zone: ");
}

TEST(TimeInformation, TimeTextsUseTwelveHourClockWithLeadingZeros) {
    SYSTEMTIME evening{2026, 12, 0, 6, 21, 5, 7, 0};
    EXPECT_EQ(FormatTime(evening, "%I:%M:%S%p"), "09:05:07PM");
    EXPECT_EQ(FormatTime(evening, "%m-%d-%Y %I-%M-%S%p"), "12-06-2026 09-05-07PM");
    SYSTEMTIME midnight{2026, 1, 4, 1, 0, 0, 0, 0};
    EXPECT_EQ(FormatTime(midnight, "%I:%M:%S%p"), "12:00:00AM");
}

TEST(TimeInformation, TimeNeverSetGivesNoText) { EXPECT_EQ(FormatTime(SYSTEMTIME{}, "%m-%d-%Y"), ""); }

TEST(TimeInformation, BlockUsesTheProblemTextsAndTheSystemZone) {
    ScopedWorkFolder folder;
    TIME_ZONE_INFORMATION zone{};
    DWORD answer = ::GetTimeZoneInformation(&zone);
    {
        StartedCollection collection;
        collection.report.problemDateText = "12-05-2026";
        collection.report.problemTimeText = "09-05-07PM";
        collection.ReportTimeInformation();
    }
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(OwnReportName()));
    ASSERT_GE(entries.size(), 9u);
    std::vector<std::string> block(entries.end() - 9, entries.end());
    EXPECT_EQ(block[0], "*********************** Time Information **************************");
    EXPECT_EQ(block[1], "Problem occurred on: 12-05-2026 at 09-05-07PM");
    const std::regex clock("\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d[AP]M");
    ASSERT_TRUE(std::regex_match(block[2].substr(14), clock)) << block[2];
    EXPECT_EQ(block[2].substr(0, 14), "Current Time: ");
    std::string gmt = block[4].substr(13);
    EXPECT_TRUE(std::regex_match(gmt, clock)) << block[4];
    std::vector<std::string> zoneEntries = TimeZoneEntries(answer, zone, gmt);
    EXPECT_EQ(std::vector<std::string>(block.begin() + 3, block.begin() + 8), zoneEntries);
    EXPECT_EQ(block[8], std::string(64, '*'));
}
