#pragma once
// The machine's "InstallationType" set for a test ("Server Core" makes the run end with its
// box naming the run folder), and put back as it was when the test ends.
#include <windows.h>

#include <cstring>
#include <string>

#include "common/win32/UniqueHandle.h"

namespace testing_support {

class PlantedInstallationType {
public:
    explicit PlantedInstallationType(const char* type) {
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(),
                              nullptr) != ERROR_SUCCESS)
            return;
        char old[MAX_PATH] = {};
        DWORD size = sizeof old;
        hadValue_ = ::RegQueryValueExA(key_.get(), kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
                    ERROR_SUCCESS;
        previous_ = old;
        planted_ = Set(type);
    }
    ~PlantedInstallationType() {
        if (!key_) return;
        if (hadValue_)
            Set(previous_.c_str());
        else
            ::RegDeleteValueA(key_.get(), kValue);
    }
    PlantedInstallationType(const PlantedInstallationType&) = delete;
    PlantedInstallationType& operator=(const PlantedInstallationType&) = delete;

    bool Planted() const noexcept { return planted_; }

private:
    bool Set(const char* type) {
        return ::RegSetValueExA(key_.get(), kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(type),
                                static_cast<DWORD>(std::strlen(type) + 1)) == ERROR_SUCCESS;
    }

    static constexpr const char* kVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    static constexpr const char* kValue = "InstallationType";
    win32::UniqueRegKey key_;
    bool hadValue_ = false;
    bool planted_ = false;
    std::string previous_;
};

}  // namespace testing_support
