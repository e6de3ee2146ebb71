// Writing entries to the report log.
#include <cstdarg>
#include <cstdio>

#include "common/profile/SectionTimer.h"
#include "console/ConsoleWriter.h"
#include "engine/Collection.h"
#include "engine/StepProblems.h"
#include "framework/MessageBoxes.h"
#include "report/TimeText.h"
#include "report/WriteLossLine.h"

namespace {
constexpr int kMaxReportEntry = 511;  // the report's fixed entry buffer, terminator not counted
}

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
    char text[kMaxReportEntry + 1];
    int length = std::vsnprintf(text, sizeof text, format, arguments);
    if (length < 0 || length > kMaxReportEntry) {
        framework::ShowMessageBox(View().BoxOwner(), "Could not pack the string", kMessageCaption,
                                  MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    report.lineBuffer = FormatLocalNow("%I:%M:%S%p\t");
    report.lineBuffer.append(text, static_cast<size_t>(length));
    report.lineBuffer += "<BR>";
    ZELTRIN_PROFILE_SECTION("LogReport: write and flush");
    report.file.Write(report.lineBuffer);
    report.file.Flush();

    if (failure && report.countFailures) {
        std::string line = console::ConsoleWriter::OneLine(std::string_view(text, length));
        if (console != nullptr) console->WriteLine(line);
        record.AddFailure(std::move(line));
    }
}

void Collection::ItemDone() { record.ItemDone(); }

void Collection::ItemLost(StepProblem problem) { record.AddProblem(std::move(problem)); }

void Collection::ReportWrite(const disk::WriteOutcome& outcome, bool creationFailureSaid) {
    std::optional<StepProblem> problem = WriteProblem(outcome);
    if (!problem) {
        record.ItemDone();
        return;
    }
    // Bounded by the entry's buffer: a long path with a long error text is still said.
    if (outcome.opened || !creationFailureSaid) LogFailure("%.*s", kMaxReportEntry, WriteLossLine(outcome).c_str());
    const std::string relative = RunRelativePath(run.runFolder, outcome.path);
    record.AddShortFile({relative.empty() ? outcome.path : relative, outcome.bytes});
    record.AddProblem(std::move(*problem));
}
