#pragma once
#include <windows.h>

#include <string>

// The system's message text for a Windows error code, as report lines quote it: the text as
// the system gives it followed by "Error = <code>", or the not-found text.
std::string GetErrorText(DWORD code);

// A failure as the report and the manifest word it: "<what> <path>!!! REASON: <error text>".
std::string FailureLine(const std::string& what, const std::string& path, DWORD error);
