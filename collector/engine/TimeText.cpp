#include "engine/TimeText.h"

#include <ctime>

std::string FormatTime(const SYSTEMTIME& time, const char* format) {
    // The runtime's strftime may abort the program on fields out of range; a time that was
    // never set gives no text instead.
    if (time.wMonth < 1 || time.wMonth > 12 || time.wDay < 1 || time.wDay > 31 || time.wHour > 23 ||
        time.wMinute > 59 || time.wSecond > 59 || time.wDayOfWeek > 6)
        return {};
    std::tm parts{};
    parts.tm_year = time.wYear - 1900;
    parts.tm_mon = time.wMonth - 1;
    parts.tm_mday = time.wDay;
    parts.tm_hour = time.wHour;
    parts.tm_min = time.wMinute;
    parts.tm_sec = time.wSecond;
    parts.tm_wday = time.wDayOfWeek;
    parts.tm_isdst = -1;
    char text[128] = {};
    size_t length = std::strftime(text, sizeof text, format, &parts);
    return std::string(text, length);
}

std::string FormatLocalNow(const char* format) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return FormatTime(now, format);
}

std::string RunFolderTimeStamp() { return RunFolderTimeStamp(std::time(nullptr)); }

std::string RunFolderTimeStamp(std::time_t at) {
    std::tm local{};
    localtime_s(&local, &at);
    char text[32] = {};
    std::strftime(text, sizeof text, "%m%d%Y__%H-%M-%S", &local);
    return text;
}
