#pragma once
// A collection run in process, as the silent run makes one: started and its detection run, in a
// work folder of its own with a local destination root, every option cleared.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "StartedCollection.h"
#include "TestFiles.h"

class CollectionRun : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The report of the run: in the run folder once moved, else in the current directory.
    std::vector<std::string> ReportEntries();
    // A command file in the current directory that records "<name> <its arguments>".
    void WriteRecorder(const std::string& name);

    testing_support::ScopedWorkFolder folder;
    testing_support::WatchingView view;
    testing_support::StartedCollection collection;
    std::string destination;  // the chosen local root, with a trailing backslash
    std::string callLog;
};
