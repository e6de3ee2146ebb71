#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "StartedCollection.h"
#include "TestFiles.h"
#include "capture/Captures.h"
#include "probes/Probes.h"
#include "engine/ErrorText.h"
#include "run/Packaging.h"

// A started collection whose report the test reads after calling probes on it.
class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override { collection.LogReport("%s", kMarker); }

    // The report entries written since the test began; closes the report, so call it once.
    std::vector<std::string> NewEntries() {
        collection.report.file.Close();
        std::vector<std::string> all =
            testing_support::ReportEntries(testing_support::ReadWholeFile(testing_support::OwnReportName()));
        auto marker = std::find(all.begin(), all.end(), kMarker);
        return marker == all.end() ? all : std::vector<std::string>(marker + 1, all.end());
    }

    static std::string FindFailed(DWORD code) { return "FindFirstFile() FAILED-> " + GetErrorText(code); }

    static constexpr const char* kMarker = "-- the test starts here --";
    testing_support::ScopedWorkFolder folder;
    testing_support::StartedCollection collection;
    testing_support::StepOf step{collection};
};
