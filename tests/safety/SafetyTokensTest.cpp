// The tokens "reserve=", "maxfile=" and "days=": what each takes and how a faulty one is refused.
#include <gtest/gtest.h>

#include "MessageBoxAnswerer.h"
#include "TestFiles.h"
#include "app/CULVIXApp.h"
#include "app/TokenCheck.h"
#include "engine/ExitStatus.h"

using namespace testing_support;

namespace {
CheckedTokens Check(const std::string& line) { return CheckTokens(ParseCommandLine(std::wstring(line.begin(), line.end()))); }
bool AnAdministrator() { return true; }
}  // namespace

TEST(SafetyTokens, TheEdgesOfEachRangeAreTaken) {
    CheckedTokens low = Check("RESERVE=0 maxfile=1 Days=1");
    CheckedTokens high = Check("reserve=1048576 MAXFILE=1048576 days=3650");
    EXPECT_TRUE(low.refusals.empty() && high.refusals.empty());
    EXPECT_EQ(low.reserveMiB, 0u);
    EXPECT_EQ(low.maxFileMiB, 1u);
    EXPECT_EQ(low.days, 1u);
    EXPECT_EQ(high.reserveMiB, 1048576u);
    EXPECT_EQ(high.maxFileMiB, 1048576u);
    EXPECT_EQ(high.days, 3650u);
    EXPECT_FALSE(Check("-noGUI").reserveMiB.has_value());
}

TEST(SafetyTokens, EachFaultyValueIsRefusedWithItsLine) {
    const std::string reserve = "was refused: the free space to keep must be a whole number of MiB from 0 to 1048576.";
    const std::string maxFile =
        "was refused: the largest part of a file to copy must be a whole number of MiB from 1 to 1048576.";
    const std::string days = "was refused: the days of event log records to export must be a whole number from 1 to 3650.";
    const struct {
        const char* token;
        const std::string& text;
    } cases[] = {
        {"reserve=", reserve}, {"reserve=1048577", reserve}, {"reserve=-1", reserve}, {"reserve=1G", reserve},
        {"reserve=18446744073709551616", reserve}, {"maxfile=0", maxFile}, {"maxfile=1048577", maxFile},
        {"maxfile=0.5", maxFile}, {"days=0", days}, {"days=3651", days}, {"days=+7", days}, {"days=", days},
    };
    for (const auto& c : cases) {
        CheckedTokens checked = Check(std::string("-noGUI ") + c.token);
        ASSERT_EQ(checked.refusals.size(), 1u) << c.token;
        const std::string expected = std::string("\"") + c.token + "\" " + c.text;
        EXPECT_EQ(RefusalMessage(checked.refusals), std::wstring(expected.begin(), expected.end()));
    }
}

TEST(SafetyTokens, FaultyTokensEndTheProgramWithStatusFiveBeforeAnythingIsMade) {
    ScopedWorkFolder work;
    CULVIXApp app(AnAdministrator);
    app.SetCommandLine(L"-noGUI case#=safety reserve=x maxfile=0 days=0 -list");
    MessageBoxAnswerer answerer("Zeltrin");
    EXPECT_FALSE(app.InitInstance());
    ASSERT_TRUE(answerer.Wait());
    const std::string text = answerer.Text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
    EXPECT_EQ(app.ExitStatus(), kExitMalformedToken);
    EXPECT_FALSE(PathExists(OwnReportName()));
}
