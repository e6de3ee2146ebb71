// The opening line of one record in the text export.
#include <cstdio>

#include "eventlog/EventText.h"
#include "engine/TimeText.h"

namespace {

constexpr ULONGLONG kUnixEpochInFileTime = 116444736000000000ULL;  // 1970-01-01 in 100 ns since 1601
constexpr ULONGLONG kFileTimeTicksPerSecond = 10000000ULL;

// The record's time in the local time of that date, daylight saving included.
std::string LocalTimeText(DWORD secondsSince1970) {
    ULONGLONG ticks = kUnixEpochInFileTime + secondsSince1970 * kFileTimeTicksPerSecond;
    FILETIME utcFile{};
    utcFile.dwLowDateTime = static_cast<DWORD>(ticks);
    utcFile.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    if (!::FileTimeToSystemTime(&utcFile, &utc) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return {};
    return FormatTime(local, "%m/%d/%Y\t%I:%M:%S %p");
}

}  // namespace

std::string FormatEventRecordLine(const EventRecord& record) {
    std::string time = LocalTimeText(record.timeWritten);
    const char* format = "%s\t%s\t%8d(0x%08x)\t%s\t%s\t";
    int low = static_cast<int>(record.eventId & 0xFFFF);
    unsigned full = record.eventId;
    int length = std::snprintf(nullptr, 0, format, time.c_str(), EventTypeName(record.eventType), low, full,
                               record.sourceName, record.computerName);
    if (length < 0) return {};
    std::string line(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(line.data(), line.size(), format, time.c_str(), EventTypeName(record.eventType), low, full,
                  record.sourceName, record.computerName);
    line.resize(static_cast<size_t>(length));
    return line;
}
