#include "engine/ReportEntry.h"

#include <windows.h>

#include <cstdio>

std::optional<std::string> FormatReportEntry(const char* format, va_list arguments) {
    char text[kMaxReportEntry + 1];
    const int length = std::vsnprintf(text, sizeof text, format, arguments);
    if (length < 0 || length > kMaxReportEntry) return std::nullopt;
    return std::string(text, static_cast<size_t>(length));
}

std::string ReportLine(const std::string& text) {
    // "%I:%M:%S%p" of the local time: the clock is the system's, never out of range.
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const int hour = now.wHour % 12 == 0 ? 12 : now.wHour % 12;
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d%s\t", hour, now.wMinute, now.wSecond, now.wHour < 12 ? "AM" : "PM");
    return time + text + "<BR>";
}
