// A failure is counted where the code that fails writes it, never by the wording of an entry.
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "StartedCollection.h"
#include "TestFiles.h"
#include "console/ConsoleWriter.h"

TEST(FailureLines, OnlyEntriesWrittenAsFailuresAreCountedAndShown) {
    testing_support::ScopedWorkFolder folder;
    ConsoleCapture capture(folder.Path() + "\\console.txt");
    console::ConsoleWriter writer(capture.Handle());
    testing_support::StartedCollection collection;
    collection.console = &writer;
    // Collected names and data that merely look like failures.
    collection.LogReport("Source File: C:\\logs\\FATAL.log");
    collection.LogReport("Target File: C:\\run\\Failed copies!!!.txt");
    collection.LogFailure("Failed to copy!!! %s", "Access denied.");
    collection.report.countFailures = false;  // the share the run falls back from
    collection.LogFailure("CreateDirectory() failed to create %s", "\\\\share\\123456\\");
    EXPECT_EQ(collection.record.Failures(), 1u);
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{"Failed to copy!!! Access denied."});
}
