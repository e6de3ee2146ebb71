#pragma once
#include <windows.h>

#include <string>

namespace testing_support {

// The product's key below HKEY_LOCAL_MACHINE, planted by a test and removed again when the
// object goes (tests that use it hold the "product_registry" lock).
class PlantedKey {
public:
    explicit PlantedKey(std::string subKey);
    ~PlantedKey();
    PlantedKey(const PlantedKey&) = delete;
    PlantedKey& operator=(const PlantedKey&) = delete;

    void SetString(const std::string& name, const std::string& value, DWORD type = REG_SZ);
    void SetBytes(const std::string& name, DWORD type, const std::string& bytes);

private:
    std::string subKey_;
};

// Removes a key below HKEY_LOCAL_MACHINE with everything under it; nothing if it is absent.
void RemoveMachineKey(const std::string& subKey);

// Creates a key below HKEY_LOCAL_MACHINE (and its parents) that stays until a test removes it.
void CreateMachineKey(const std::string& subKey);
// Creates the key if needed and sets a string value in it.
void SetMachineString(const std::string& subKey, const std::string& name, const std::string& value,
                      DWORD type = REG_SZ);

constexpr const char* kProductRoot = "SOFTWARE\\BRENNOCK";

}  // namespace testing_support
