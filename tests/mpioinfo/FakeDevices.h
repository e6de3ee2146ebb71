#pragma once
// In-memory disk interfaces and devices for the disk listing.
#include <optional>
#include <string>
#include <vector>

#include "DeviceSource.h"

struct FakeInterface {
    std::string path;
    bool detailFails = false;
    DWORD openError = 0;                  // non-zero: the device cannot be opened
    std::optional<DeviceNumber> number;   // nothing: the device-number request fails
};

struct FakeDevice {
    std::string instanceId;
    bool idFails = false;
    std::optional<std::string> description = std::string("Multi-Path Disk Device");
    std::optional<std::string> objectName;
};

class FakeDevices final : public DeviceSource {
public:
    bool setFails = false;
    std::vector<FakeInterface> interfaces;
    std::vector<FakeDevice> devices;
    // What the listing did: the paths it opened and how many sets are still open.
    std::vector<std::string> opened;
    int openSets = 0;
    int openDisks = 0;

    std::unique_ptr<DiskInterfaceSet> OpenDiskInterfaces() override;
};

// A disk of MPIO: its interface path and device instance identifier, in the usual forms.
std::string MpioPath(const std::string& model, const std::string& instance);
std::string MpioInstanceId(const std::string& model, const std::string& instance);
DeviceNumber DiskNumber(LONG number);
