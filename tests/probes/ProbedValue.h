// Registry values of every type and of lengths at and past the probes' 261-byte buffer, and
// what the registry-path probe must make of them: its result, the text it hands back and its
// report lines, worked out from the value alone.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "SeededCases.h"

namespace probe_values {

constexpr size_t kProbeBuffer = 261;  // the probes' value buffer: a path and its terminator

struct Value {
    std::string name;
    DWORD type = REG_SZ;
    std::string bytes;  // as handed to RegSetValueExA
};

// Sets the value in a key below the local machine that the caller has made.
void Plant(const std::string& subKey, const Value& value);

// The bytes an ANSI reader gets back: string types travel through UTF-16 and back.
std::string ReadBack(const Value& value);

bool IsStringType(DWORD type);

struct ProbeOutcome {
    int result = 0;
    std::string text;  // what the probe hands back when the result is 1
    std::vector<std::string> lines;
};

// What IsPathExistsInRegistry does with an existing key and this value (none: no such value).
ProbeOutcome ExpectedProbe(const std::string& subKey, const std::string& valueName, const std::optional<Value>& value);

// Text of characters 1..255 of the given length, with a terminator or without, or with a NUL
// somewhere inside.
std::string RandomStringBytes(testing_support::SeededRandom& random, size_t length);

// A value of any type, its length drawn around the limits that matter.
Value RandomValue(testing_support::SeededRandom& random, std::string name);

}  // namespace probe_values
