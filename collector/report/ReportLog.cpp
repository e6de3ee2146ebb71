// Writing entries to the report log.
#include <cstdarg>
#include <cstdio>

#include "common/profile/SectionTimer.h"
#include "console/ConsoleWriter.h"
#include "engine/Collection.h"
#include "framework/MessageBoxes.h"
#include "report/FailureLines.h"
#include "report/TimeText.h"

namespace {
constexpr int kMaxReportEntry = 511;  // the report's fixed entry buffer, terminator not counted
}

void Collection::LogReport(const char* format, ...) {
    char text[kMaxReportEntry + 1];
    va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
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

    const std::string_view entry(text, static_cast<size_t>(length));
    if (report.countFailures && RecordsFailure(entry)) {
        record.CountFailure();
        if (console != nullptr) console->WriteLine(console::ConsoleWriter::OneLine(entry));
    }
}
