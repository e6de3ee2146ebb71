// The block of the user's entries and of every option box's state.
#include "engine/Collection.h"
#include "framework/WaitCursor.h"
#include "engine/OptionTable.h"
#include "report/TimeText.h"

namespace {

constexpr const char* kStars86 =
    "**************************************************************************************";

}  // namespace

void Collection::ReportDlgState() {
    framework::WaitCursor wait;
    LogReport("Start - ReportDlgState");
    LogReport("%s", kStars86);
    LogReport("Incident #: %s", entries.incidentNumber.c_str());
    LogReport("Bug Folder #: %s", run.bugFolderNumber.c_str());
    report.problemDateText = FormatTime(entries.problemDate, "%m-%d-%Y");
    report.problemTimeText = FormatTime(entries.problemTime, "%I-%M-%S%p");
    LogReport("Problem occurred on: %s at %s", report.problemDateText.c_str(), report.problemTimeText.c_str());
    LogReport("Name: %s", entries.name.c_str());
    LogReport("Comments: %s", entries.comments.c_str());
    LogReport("%s", kStars86);
    // In the order support engineers are used to reading them.
    const auto table = OptionTable();
    for (int place = 1; place <= static_cast<int>(table.size()); ++place)
        for (const OptionRow& row : table)
            if (row.reportPlace == place) ReportCheckBoxState(row.controlId);
    LogReport("Finish - ReportDlgState <BR>");
}

void Collection::ReportCheckBoxState(int controlId) {
    const char* caption = FindOption(controlId)->caption;
    const BoxState& box = Box(controlId);
    if (!box.enabled) {
        LogReport("%s = Disabled", caption);
        return;
    }
    LogReport(box.check == BST_UNCHECKED ? "%s = Unchecked" : "%s = Checked", caption);
}
