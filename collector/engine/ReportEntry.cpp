#include "engine/ReportEntry.h"

#include <cstdio>

#include "engine/TimeText.h"

std::optional<std::string> FormatReportEntry(const char* format, va_list arguments) {
    char text[kMaxReportEntry + 1];
    const int length = std::vsnprintf(text, sizeof text, format, arguments);
    if (length < 0 || length > kMaxReportEntry) return std::nullopt;
    return std::string(text, static_cast<size_t>(length));
}

std::string ReportLine(const std::string& text) { return FormatLocalNow("%I:%M:%S%p\t") + text + "<BR>"; }
