// The block of the user's entries and of every option box's state.
#include "engine/Collection.h"
#include "framework/WaitCursor.h"
#include "engine/OptionTable.h"
#include "engine/TimeText.h"
#include "probes/CollectionProbes.h"

namespace {

constexpr const char* kStars86 =
    "**************************************************************************************";

}  // namespace

void ReportDlgState(Collection& collection) {
    framework::WaitCursor wait;
    collection.LogReport("Start - ReportDlgState");
    collection.LogReport("%s", kStars86);
    collection.LogReport("Incident #: %s", collection.entries.incidentNumber.c_str());
    collection.LogReport("Bug Folder #: %s", collection.run.bugFolderNumber.c_str());
    collection.report.problemDateText = FormatTime(collection.entries.problemDate, "%m-%d-%Y");
    collection.report.problemTimeText = FormatTime(collection.entries.problemTime, "%I-%M-%S%p");
    collection.LogReport("Problem occurred on: %s at %s", collection.report.problemDateText.c_str(), collection.report.problemTimeText.c_str());
    collection.LogReport("Name: %s", collection.entries.name.c_str());
    collection.LogReport("Comments: %s", collection.entries.comments.c_str());
    collection.LogReport("%s", kStars86);
    // In the order support engineers are used to reading them.
    const auto table = OptionTable();
    for (int place = 1; place <= static_cast<int>(table.size()); ++place)
        for (const OptionRow& row : table)
            if (row.reportPlace == place) ReportCheckBoxState(collection, row.controlId);
    collection.LogReport("Finish - ReportDlgState <BR>");
}

void ReportCheckBoxState(Collection& collection, int controlId) {
    const char* caption = FindOption(controlId)->caption;
    const BoxState& box = Box(collection, controlId);
    if (!box.enabled) {
        collection.LogReport("%s = Disabled", caption);
        return;
    }
    collection.LogReport(box.check == BST_UNCHECKED ? "%s = Unchecked" : "%s = Checked", caption);
}
