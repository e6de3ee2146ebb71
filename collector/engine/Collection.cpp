// The collection's life outside a run: its boxes, the problem time, and a cancelled report.
#include "engine/Collection.h"

#include "engine/OptionTable.h"

Collection::Collection() : boxes(OptionTable().size()) {}

Collection::~Collection() = default;

void Collection::SetProblemTimeToNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    entries.problemDate = now;
    entries.problemTime = now;
}

void Collection::DiscardReport() {
    std::string name = report.file.GetFileName();
    report.file.Close();
    if (!name.empty()) ::DeleteFileA(name.c_str());
    exitStatus = kExitCancelled;
}
