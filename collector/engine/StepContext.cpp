#include "engine/StepContext.h"

#include <algorithm>

#include "engine/ProducedFiles.h"
#include "engine/ReportEntry.h"
#include "engine/RunFolderFiles.h"
#include "engine/StepProblems.h"
#include "engine/WriteLossLine.h"
#include "framework/MessageBoxes.h"

StepContext::StepContext(const RunFacts& facts, StepServices& shared, int row, const char* name, bool carriedOut)
    : RunFacts(facts),
      services(shared),
      floor(shared.floor),
      plan(shared.plan),
      startTick_(::GetTickCount64()) {
    record_.row = row;
    record_.name = name;
    record_.carriedOut = carriedOut;
    ::GetLocalTime(&record_.start);
}

void StepContext::LogReport(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    WriteEntry(false, format, arguments);
    va_end(arguments);
}

void StepContext::LogFailure(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    WriteEntry(true, format, arguments);
    va_end(arguments);
}

void StepContext::WriteEntry(bool failure, const char* format, va_list arguments) {
    std::optional<std::string> text = FormatReportEntry(format, arguments);
    if (!text) {
        framework::ShowMessageBox(services.boxOwner, kEntryTooLongText, kReportBoxCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    services.output.Entry(Row(), ReportLine(*text));
    if (failure) services.output.Failure(Row(), std::move(*text));
}

void StepContext::ReportWrite(const disk::WriteOutcome& outcome, bool creationFailureSaid) {
    if (outcome.opened && (outcome.bytes > 0 || outcome.error == 0)) Produced(outcome.path);
    std::optional<StepProblem> problem = WriteProblem(outcome);
    if (!problem) {
        ItemDone();
        return;
    }
    if (outcome.opened || !creationFailureSaid) LogFailure("%.*s", kMaxReportEntry, WriteLossLine(outcome).c_str());
    const std::string relative = RunRelativePath(run.runFolder, outcome.path);
    record_.shortFiles.push_back({relative.empty() ? outcome.path : relative, outcome.bytes});
    ItemLost(std::move(*problem));
}

void StepContext::KeepChild(ChildRecord child) {
    if (std::optional<StepProblem> problem = ChildProblem(child))
        ItemLost(std::move(*problem));
    else
        ItemDone();
    record_.children.push_back(std::move(child));
}

void StepContext::SetStatusText(const char* text) { services.output.Status(Row(), text); }

void StepContext::Produced(const std::string& path) {
    std::string relative = RunRelativePath(run.runFolder, path);
    if (!relative.empty()) produced_.insert(std::move(relative));
}

void StepContext::ProducedIn(const std::string& folder, const std::vector<RunFolderFile>& before) {
    for (const std::string& relative : FilesProduced(before, ListRunFolderFiles(folder)))
        Produced(RunFolderFilePath(folder, relative));
}

StepRecord StepContext::Finish() {
    record_.durationMilliseconds = ::GetTickCount64() - startTick_;
    // A file the step made and then took away again (packed and deleted) is not its product.
    for (const std::string& relative : produced_)
        if (::GetFileAttributesA(RunFolderFilePath(run.runFolder, relative).c_str()) != INVALID_FILE_ATTRIBUTES)
            record_.filesProduced.push_back(relative);
    return std::move(record_);
}
