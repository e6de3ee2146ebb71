// Writing entries to the report log.
#include <cstdarg>
#include <cstdio>

#include "common/profile/SectionTimer.h"
#include "console/ConsoleWriter.h"
#include "engine/Collection.h"
#include "framework/MessageBoxes.h"
#include "report/TimeText.h"

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
        record.CountFailure();
        if (console != nullptr) console->WriteLine(console::ConsoleWriter::OneLine(std::string_view(text, length)));
    }
}
