#pragma once
#include <windows.h>

#include <string>

// The WMI SDK's name of a status, or "0x" and its lower-case hexadecimal digits.
std::wstring WbemStatusName(HRESULT status);
