#pragma once
#include <windows.h>

// Reports a failed WMI call on standard output: the message, the status by name and number, and
// the extended status that the provider left behind, if any.
void ReportWbemError(const char* message, HRESULT status);

// Reports, uninitialises OLE and ends the process with status 1.
[[noreturn]] void FatalWbemError(const char* message, HRESULT status);

// How the process ends after a fatal error; the default is the C runtime's exit. A test may
// install its own, which must not return.
using ProcessEnd = void (*)(int status);
ProcessEnd SetProcessEnd(ProcessEnd end);
