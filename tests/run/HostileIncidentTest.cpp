// Incident numbers built to break out of the bug folder's path or of a command line: each is
// refused with box 104 before a folder is made, a tool is started or a report entry is
// written, and the run does not end, so the dialog stays open for the next try.
#include <windows.h>

#include <string>
#include <vector>

#include "FolderSnapshot.h"
#include "HostileIncidentNumbers.h"
#include "RunFixture.h"

using testing_support::FolderSnapshot;
using testing_support::SnapshotDifferences;
using testing_support::TakeFolderSnapshot;

TEST_F(CollectionRun, HostileIncidentNumbersAreRefusedBeforeAnythingIsMadeOrStarted) {
    // Both destination roots exist, so a number that got through would make its folders there;
    // the first and the tool rows are on, with stand-ins that would record their start.
    collection.run.networkShareRoot = folder.Path() + "\\share\\";
    ASSERT_TRUE(::CreateDirectoryA(collection.run.networkShareRoot.c_str(), nullptr));
    WriteRecorder("stop_wpp_ssn.cmd");
    CopyStub("qzflxinfo.EXE");
    collection.options.bootLog = 1;
    collection.options.flxAslDsm = 1;
    collection.options.compress = 1;
    CheckBoxesAsOptions(collection);
    const FolderSnapshot before = TakeFolderSnapshot(folder.Path());

    std::vector<std::string> numbers = testing_support::HostileIncidentNumbers();
    for (const std::string& more : testing_support::MoreHostileIncidentNumbers()) numbers.push_back(more);
    for (const std::string& number : numbers) {
        SCOPED_TRACE(testing_support::Printable(number));
        ExpectRefusedIncident(number);
        // The report's size is in the snapshot: not one entry was written.
        EXPECT_EQ(SnapshotDifferences(before, TakeFolderSnapshot(folder.Path())), std::vector<std::string>{});
        EXPECT_EQ(Calls(), std::vector<std::string>{});
    }

    // The run still collects once a valid number is given.
    collection.entries.incidentNumber = "123456";
    collection.options.compress = 0;
    CheckBoxesAsOptions(collection);
    collection.RunCollection();
    EXPECT_TRUE(view.ended);
    EXPECT_TRUE(testing_support::PathExists(collection.run.networkShareRoot + "123456"));
}
