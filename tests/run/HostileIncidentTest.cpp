// Incident numbers built to break out of the bug folder's path or of a command line, typed
// into the shown dialog: each is refused with box 104 before a folder is made, a tool is
// started or a report entry is written, and the dialog stays open for the next try.
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
    dialog.run.networkShareRoot = folder.Path() + "\\share\\";
    ASSERT_TRUE(::CreateDirectoryA(dialog.run.networkShareRoot.c_str(), nullptr));
    WriteRecorder("stop_wpp_ssn.cmd");
    CopyStub("qzflxinfo.EXE");
    dialog.options.bootLog = 1;
    dialog.options.flxAslDsm = 1;
    dialog.options.compress = 1;
    ::ShowWindow(dialog.GetSafeHwnd(), SW_SHOW);
    const FolderSnapshot before = TakeFolderSnapshot(folder.Path());

    std::vector<std::string> numbers = testing_support::HostileIncidentNumbers();
    for (const std::string& more : testing_support::MoreHostileIncidentNumbers()) numbers.push_back(more);
    for (const std::string& number : numbers) {
        SCOPED_TRACE(testing_support::Printable(number));
        ExpectRefusedIncident(number);
        EXPECT_TRUE(::IsWindowVisible(dialog.GetSafeHwnd()));
        // The report's size is in the snapshot: not one entry was written.
        EXPECT_EQ(SnapshotDifferences(before, TakeFolderSnapshot(folder.Path())), std::vector<std::string>{});
        EXPECT_EQ(Calls(), std::vector<std::string>{});
    }

    // The dialog still collects once a valid number is typed.
    dialog.entries.incidentNumber = "123456";
    dialog.options.compress = 0;
    PushOptions();
    dialog.RunCollection();
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_TRUE(testing_support::PathExists(dialog.run.networkShareRoot + "123456"));
}
