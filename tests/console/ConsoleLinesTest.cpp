// The progress line and the end summary as the console shows them.
#include <gtest/gtest.h>

#include "console/ProgressLine.h"
#include "console/SummaryLines.h"

using console::ProgressLine;

TEST(ProgressLine, NamesTheStepBeingWorkedOnOfTwentyFive) {
    EXPECT_EQ(ProgressLine(0, 4, "Skipping VM logs ..."), "[ 1/25] Skipping VM logs ...");
    EXPECT_EQ(ProgressLine(24, 4, "Capturing QzOKAPO* ..."), "[ 7/25] Capturing QzOKAPO* ...");
    EXPECT_EQ(ProgressLine(27, 4, "Capturing QzOKAPO* ..."), "[ 7/25] Capturing QzOKAPO* ...");
    EXPECT_EQ(ProgressLine(96, 4, "Package HA logs files ..."), "[25/25] Package HA logs files ...");
}

TEST(ProgressLine, AFullBarStaysAtTheLastStep) {
    EXPECT_EQ(ProgressLine(100, 4, "Packaging all the logs files ..."), "[25/25] Packaging all the logs files ...");
    EXPECT_EQ(ProgressLine(1000, 4, "x"), "[25/25] x");
}

TEST(ProgressLine, ABarWithoutAStepCountsAsItsFirstStep) {
    EXPECT_EQ(ProgressLine(50, 0, "Skipping MISC logs ..."), "[ 1/25] Skipping MISC logs ...");
    EXPECT_EQ(ProgressLine(-8, 4, "x"), "[ 1/25] x");
}

TEST(SummaryLines, NamesFolderFilesFailuresSkippedStepsTimeAndEachCabinet) {
    console::RunSummary summary;
    summary.runFolder = "C:\\123456\\NODE\\12072026__03-00-00";
    summary.files = 17;
    summary.bytes = 5368709120ULL;  // beyond 32 bits, without separators
    summary.failures = 3;
    summary.stepsSkipped = 30;
    summary.steps = 38;
    summary.elapsedMilliseconds = 12345;
    summary.cabinets = {{"C:\\123456\\NODE\\123456_NODE_12072026__03-00-00.cab", 4096},
                        {"C:\\123456\\NODE\\123456_NODE_12072026__03-00-00_2.cab", 512}};
    const std::vector<std::string> expected = {
        "Run folder: C:\\123456\\NODE\\12072026__03-00-00",
        "Files collected: 17 files, 5368709120 bytes",
        "Failures: 3",
        "Steps skipped: 30 of 38",
        "Time taken: 12.3 s",
        "Cabinet files: 2",
        "  C:\\123456\\NODE\\123456_NODE_12072026__03-00-00.cab (4096 bytes)",
        "  C:\\123456\\NODE\\123456_NODE_12072026__03-00-00_2.cab (512 bytes)",
    };
    EXPECT_EQ(console::SummaryLines(summary), expected);
}

TEST(SummaryLines, WithoutCabinetsTheListIsEmptyAndTimeRoundsToATenth) {
    console::RunSummary summary;
    summary.runFolder = "D:\\dest\\1\\N\\s";
    summary.steps = 38;
    summary.elapsedMilliseconds = 99;
    const std::vector<std::string> lines = console::SummaryLines(summary);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], "Files collected: 0 files, 0 bytes");
    EXPECT_EQ(lines[4], "Time taken: 0.1 s");
    EXPECT_EQ(lines[5], "Cabinet files: 0");
}
