// Writing the run's own entries to the report log: the header, the run's start and end, and
// what happens outside the capture steps.
#include <cstdarg>

#include "common/profile/SectionTimer.h"
#include "console/ConsoleWriter.h"
#include "engine/Collection.h"
#include "engine/StepProblems.h"
#include "engine/WriteLossLine.h"
#include "framework/MessageBoxes.h"

void Collection::LogReport(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    WriteEntry(false, format, arguments);
    va_end(arguments);
}

void Collection::LogFailure(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    WriteEntry(true, format, arguments);
    va_end(arguments);
}

void Collection::WriteEntry(bool failure, const char* format, va_list arguments) {
    std::optional<std::string> text = FormatReportEntry(format, arguments);
    if (!text) {
        framework::ShowMessageBox(View().BoxOwner(), kEntryTooLongText, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(report.guard);
        report.lineBuffer = ReportLine(*text);
        ZELTRIN_PROFILE_SECTION("LogReport: write and flush");
        report.file.Write(report.lineBuffer);
        report.file.Flush();
    }
    if (failure && report.countFailures) KeepFailureLine(console::ConsoleWriter::OneLine(*text));
}

void Collection::KeepFailureLine(const std::string& line) {
    if (console != nullptr) console->WriteLine(line);
    std::lock_guard<std::mutex> lock(report.guard);
    record.AddFailure(line);
}

void Collection::ItemDone() {}

void Collection::ItemLost(StepProblem problem) { record.AddProblem(std::move(problem)); }

void Collection::ReportWrite(const disk::WriteOutcome& outcome, bool creationFailureSaid) {
    std::optional<StepProblem> problem = WriteProblem(outcome);
    if (!problem) return;
    // Bounded by the entry's buffer: a long path with a long error text is still said.
    if (outcome.opened || !creationFailureSaid) LogFailure("%.*s", kMaxReportEntry, WriteLossLine(outcome).c_str());
    record.AddProblem(std::move(*problem));
}
