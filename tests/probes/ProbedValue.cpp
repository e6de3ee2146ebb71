#include "ProbedValue.h"

#include <gtest/gtest.h>

#include "common/win32/UniqueHandle.h"

namespace probe_values {

namespace {

constexpr LONG kMoreData = 234;  // ERROR_MORE_DATA: the value does not fit the buffer
constexpr size_t kDumpBuffer = 4096;  // the dump's usual data buffer

std::string AnsiRoundTrip(const std::string& bytes) {
    if (bytes.empty()) return bytes;
    int wide = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), utf16.data(), wide);
    int narrow = ::WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string back(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, back.data(), narrow, nullptr, nullptr);
    return back;
}

}  // namespace

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

void Plant(const std::string& subKey, const Value& value) {
    win32::UniqueRegKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_SET_VALUE, key.put()), ERROR_SUCCESS);
    // The system counts a string's terminator in when the caller left it out and a NUL follows
    // the data; a byte other than NUL behind it keeps an unterminated value unterminated.
    std::string held = value.bytes + 'X';
    ASSERT_EQ(::RegSetValueExA(key.get(), value.name.c_str(), 0, value.type,
                               reinterpret_cast<const BYTE*>(held.data()), static_cast<DWORD>(value.bytes.size())),
              ERROR_SUCCESS)
        << "type " << value.type << ", " << value.bytes.size() << " bytes";
}

std::string ReadBack(const Value& value) { return IsStringType(value.type) ? AnsiRoundTrip(value.bytes) : value.bytes; }

ProbeOutcome ExpectedProbe(const std::string& subKey, const std::string& valueName, const std::optional<Value>& value) {
    ProbeOutcome outcome;
    outcome.lines.push_back("Start - IsPathExistsInRegistry Sub Key:" + subKey + "; Value Name:" + valueName);
    auto finish = [&](LONG code) {
        outcome.lines.push_back("Finish - IsPathExistsInRegistry.  Error=" + std::to_string(code));
    };
    if (!value) {
        outcome.lines.push_back("RegQueryValueEx() failed to query name length for " + valueName + "; Error=2");
        outcome.lines.push_back("RegQueryValueEx() failed to read " + valueName + "; Error=2");
        finish(ERROR_FILE_NOT_FOUND);
        return outcome;
    }
    const std::string data = ReadBack(*value);
    const bool text = value->type == REG_SZ || value->type == REG_EXPAND_SZ;
    // A string needs its terminator inside the buffer too: one that fills all 261 bytes without
    // one is a path too long to be used, just like one that does not fit at all.
    const bool tooLong =
        data.size() > kProbeBuffer || (text && data.size() == kProbeBuffer && data.find('\0') == std::string::npos);
    if (tooLong) {
        outcome.lines.push_back("RegQueryValueEx() failed to read " + valueName + "; Error=" + std::to_string(kMoreData));
        finish(kMoreData);
        return outcome;
    }
    if (text) {
        outcome.result = 1;
        outcome.text = data.substr(0, data.find('\0'));
        outcome.lines.push_back("Path in Registry: " + outcome.text);
    }
    finish(ERROR_SUCCESS);
    return outcome;
}

std::string RandomStringBytes(testing_support::SeededRandom& random, size_t length) {
    std::string bytes = random.Bytes(length);
    switch (random.Int(0, 3)) {
    case 0: break;  // no terminator
    case 1:
        if (!bytes.empty()) bytes[static_cast<size_t>(random.Int(0, static_cast<int>(bytes.size()) - 1))] = '\0';
        break;
    default: bytes += '\0'; break;
    }
    return bytes;
}

Value RandomValue(testing_support::SeededRandom& random, std::string name) {
    Value value;
    value.name = std::move(name);
    value.type = random.Pick<DWORD>({REG_SZ, REG_SZ, REG_SZ, REG_EXPAND_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_BINARY,
                                     REG_DWORD, REG_QWORD, REG_NONE, REG_DWORD_BIG_ENDIAN, REG_RESOURCE_LIST,
                                     0x4d2, 0x7fffffff});
    // Around the probes' buffer mostly, now and then around the dump's.
    size_t length = random.Chance(80) ? random.EdgeLength(kProbeBuffer - 1) : random.EdgeLength(kDumpBuffer);
    if (random.Chance(30)) length = kProbeBuffer - 2 + static_cast<size_t>(random.Int(0, 3));
    if (value.type == REG_MULTI_SZ) {
        std::string strings;
        while (strings.size() < length) {
            strings += random.Text(static_cast<size_t>(random.Int(0, 40)), "abcXYZ019 \\:.%\xe9\xff");
            strings += '\0';
        }
        if (random.Chance(50)) strings += '\0';
        if (random.Chance(20)) strings.pop_back();  // unterminated
        value.bytes = strings;
    } else if (IsStringType(value.type)) {
        value.bytes = RandomStringBytes(random, length);
    } else if (value.type == REG_DWORD || value.type == REG_QWORD) {
        value.bytes = random.Bytes(random.Chance(70) ? (value.type == REG_DWORD ? 4 : 8)
                                                     : static_cast<size_t>(random.Int(0, 9)),
                                   true);
    } else {
        value.bytes = random.Bytes(length, true);
    }
    return value;
}

}  // namespace probe_values
