#pragma once
#include <windows.h>

#include <array>

class ReportSink;

// The fixed buffer the probes read a registry value into: a path and its terminator.
using RegistryValueBuffer = std::array<BYTE, 261>;

// Asks an open key for a value's size, then reads the value into a cleared buffer, writing the
// failure line of each step as the probes report them. Returns the result of the read.
LONG ReadProbedValue(ReportSink& report, HKEY key, const char* valueName, RegistryValueBuffer& value, DWORD& type);
