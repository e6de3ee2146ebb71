#pragma once
#include <windows.h>

#include <ctime>
#include <string>

// Formats a calendar time with the C runtime's strftime codes ("%I:%M:%S%p", "%m-%d-%Y");
// a time with a field out of range gives the empty text.
std::string FormatTime(const SYSTEMTIME& time, const char* format);

// The current local time, formatted.
std::string FormatLocalNow(const char* format);

// The run folder's last component: "%m%d%Y__%H-%M-%S" of a time (now when not given) in the
// C runtime's local time.
std::string RunFolderTimeStamp(std::time_t at);
std::string RunFolderTimeStamp();
