#include "ProductRegistry.h"

#include <gtest/gtest.h>

#include "common/win32/UniqueHandle.h"

namespace testing_support {

PlantedKey::PlantedKey(std::string subKey) : subKey_(std::move(subKey)) {
    RemoveMachineKey(subKey_);
    win32::UniqueRegKey key;
    EXPECT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS);
}

PlantedKey::~PlantedKey() { RemoveMachineKey(subKey_); }

void PlantedKey::SetString(const std::string& name, const std::string& value, DWORD type) {
    SetBytes(name, type, std::string(value.c_str(), value.size() + 1));
}

void PlantedKey::SetBytes(const std::string& name, DWORD type, const std::string& bytes) {
    win32::UniqueRegKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey_.c_str(), 0, KEY_SET_VALUE, key.put()), ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

void RemoveMachineKey(const std::string& subKey) { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, subKey.c_str()); }

void CreateMachineKey(const std::string& subKey) {
    win32::UniqueRegKey key;
    EXPECT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS)
        << subKey;
}

void SetMachineString(const std::string& subKey, const std::string& name, const std::string& value, DWORD type) {
    win32::UniqueRegKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS)
        << subKey;
    ASSERT_EQ(::RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
}

}  // namespace testing_support
