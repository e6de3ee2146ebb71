#pragma once
// One entry of the report log, as the collection and every step write it.
#include <cstdarg>
#include <optional>
#include <string>

constexpr int kMaxReportEntry = 511;  // the report's fixed entry buffer, terminator not counted

// The entry's text, or nothing when it is longer than the entry buffer (the caller says so).
std::optional<std::string> FormatReportEntry(const char* format, va_list arguments)
    __attribute__((format(gnu_printf, 1, 0)));

// The entry as the report holds it: the local time, a tab, the text, "<BR>".
std::string ReportLine(const std::string& text);

// What a too-long entry is met with: a box, and no entry.
constexpr const char* kEntryTooLongText = "Could not pack the string";
constexpr const char* kReportBoxCaption = "Zeltrin - Marlowisp";
