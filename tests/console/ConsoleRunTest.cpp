// A silent run in process with its console over a file: progress lines in order, failure
// lines counted, and the summary checked against the run folder.
#include <regex>

#include "ConsoleCapture.h"
#include "RunFixture.h"
#include "console/ConsoleWriter.h"

using testing_support::WriteWholeFile;

namespace {

struct FolderTally {
    size_t files = 0;
    ULONGLONG bytes = 0;
};

// Counted here with a walk of its own, so the summary is not checked against itself.
void Tally(const std::string& folder, FolderTally& tally) {
    WIN32_FIND_DATAA entry{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!search) return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Tally(folder + "\\" + name, tally);
        } else {
            ++tally.files;
            tally.bytes += (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        }
    } while (::FindNextFileA(search.get(), &entry));
}

const std::regex kProgressLine(R"(\[([ 12][0-9])/25\] .+)");

}  // namespace

class ConsoleRun : public CollectionRun {
protected:
    void SetUp() override {
        CollectionRun::SetUp();
        collection.console = &writer;
    }
    // The lines after the progress and failure lines: the summary.
    std::vector<std::string> SummaryOf(const std::vector<std::string>& lines) {
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind("Run folder: ", 0) == 0) return {lines.begin() + static_cast<long>(i), lines.end()};
        return {};
    }

    ConsoleCapture capture{folder.Path() + "\\console.txt"};
    console::ConsoleWriter writer{capture.Handle()};
};

TEST_F(ConsoleRun, ProgressLinesFollowTheBarFromTheFirstStepToTheLast) {
    collection.RunCollection();
    const auto lines = capture.Lines();
    std::vector<std::pair<int, std::string>> progress;
    for (const std::string& line : lines) {
        std::smatch match;
        if (std::regex_match(line, match, kProgressLine)) progress.emplace_back(std::stoi(match[1]), line);
    }
    ASSERT_GE(progress.size(), 38u);
    // The sub-folders not asked for come before the first step; packaging after the last.
    EXPECT_EQ(progress.front().second, "[ 1/25] Skipping VM logs ...");
    EXPECT_EQ(progress.back().second, "[25/25] Skip packaging the logs files ...");
    for (size_t i = 1; i < progress.size(); ++i)
        EXPECT_LE(progress[i - 1].first, progress[i].first) << progress[i - 1].second << " | " << progress[i].second;
    // Progress marks do not depend on the options: the alert log row is always the ninth step.
    EXPECT_TRUE(HasLine(lines, "[ 9/25] Capturing YEB Alert LOG ...")) << capture.Bytes();
}

TEST_F(ConsoleRun, TheSummaryMatchesTheRunFolderAndTheFailureLines) {
    collection.RunCollection();
    const auto lines = capture.Lines();
    const auto summary = SummaryOf(lines);
    ASSERT_EQ(summary.size(), 6u) << capture.Bytes();

    FolderTally tally;
    Tally(collection.run.runFolder, tally);
    EXPECT_EQ(summary[0], "Run folder: " + collection.run.runFolder);
    EXPECT_EQ(summary[1], "Files collected: " + std::to_string(tally.files) + " files, " +
                              std::to_string(tally.bytes) + " bytes");
    EXPECT_GE(tally.files, 1u);  // the report at least

    size_t failureLines = 0;
    for (const std::string& line : lines) {
        if (line.rfind("Run folder: ", 0) == 0) break;
        if (!std::regex_match(line, kProgressLine) && line.rfind("Run root: ", 0) != 0) ++failureLines;
    }
    EXPECT_EQ(summary[2], "Failures: " + std::to_string(failureLines));
    EXPECT_EQ(failureLines, collection.record.Failures());
    EXPECT_EQ(summary[3], "Steps skipped: " + std::to_string(collection.record.StepsSkipped()) + " of 38");
    EXPECT_TRUE(std::regex_match(summary[4], std::regex(R"(Time taken: [0-9]+\.[0-9] s)"))) << summary[4];
    EXPECT_EQ(summary[5], "Cabinet files: 0");
}

TEST_F(ConsoleRun, TheShareTheRunFallsBackFromIsNoFailure) {
    // The share root is out of reach under Wine; the run goes on below the local root.
    collection.RunCollection();
    EXPECT_NE(collection.run.runFolder.rfind(destination, 0), std::string::npos);
    for (const std::string& line : capture.Lines())
        EXPECT_EQ(line.find(collection.run.networkShareRoot), std::string::npos) << line;
    EXPECT_TRUE(HasLine(capture.Lines(), "Run root: " + destination + " (local: the support share could not be used)"));
    const auto entries = ReportEntries();
    EXPECT_TRUE(
        Contains(entries, "CreateDirectory() failed to create " + collection.run.networkShareRoot + "123456\\"));
}

TEST_F(ConsoleRun, CabinetsOfThisRunAreListedWithTheirSizes) {
    // Stands in for qzcab.cmd: a cabinet beside the run folder, split in two, and one of an
    // earlier run that must not be listed.
    WriteWholeFile("qzcab.cmd",
                   "@echo off\r\n"
                   "for %%F in (\"%~1\\..\") do set \"MACHINE=%%~fF\"\r\n"
                   "for %%F in (\"%MACHINE%\") do set \"NODE=%%~nxF\"\r\n"
                   "echo 12345678> \"%MACHINE%\\%~3_%NODE%_%~5.cab\"\r\n"
                   "echo 1234> \"%MACHINE%\\%~3_%NODE%_%~5_2.cab\"\r\n"
                   "echo old> \"%MACHINE%\\%~3_%NODE%_01012020__00-00-00.cab\"\r\n");
    collection.options.compress = 1;
    CheckBoxesAsOptions(collection);
    collection.RunCollection();
    const auto summary = SummaryOf(capture.Lines());
    ASSERT_EQ(summary.size(), 8u) << capture.Bytes();
    const std::string machine = collection.run.runFolder.substr(0, collection.run.runFolder.find_last_of('\\'));
    const std::string stem =
        machine + "\\123456_" + machine.substr(machine.find_last_of('\\') + 1) + "_" + collection.run.timeStamp;
    EXPECT_EQ(summary[5], "Cabinet files: 2");
    EXPECT_EQ(summary[6], "  " + stem + ".cab (10 bytes)");
    EXPECT_EQ(summary[7], "  " + stem + "_2.cab (6 bytes)");
    // Counted before packaging: the cabinet list written for it is not among them.
    FolderTally tally;
    Tally(collection.run.runFolder, tally);
    EXPECT_EQ(summary[1].rfind("Files collected: " + std::to_string(tally.files - 1) + " files, ", 0), 0u)
        << summary[1];
}
