#pragma once
// The machine's disk interfaces as the Setup API and the storage driver see them: the one place
// where the disk list touches devices, so that a test can present disks of its own.
#include <windows.h>
#include <setupapi.h>

#include <memory>
#include <string>

struct DeviceNumber {
    DWORD deviceType = 0;
    LONG deviceNumber = -1;
    LONG partitionNumber = -1;
};

// One opened disk device; closed when the object goes.
class OpenedDisk {
public:
    virtual ~OpenedDisk() = default;
    // IOCTL_STORAGE_GET_DEVICE_NUMBER; false when the request fails.
    virtual bool GetDeviceNumber(DeviceNumber& number) = 0;
};

// One device information set of the present disk interfaces; destroyed when the object goes.
class DiskInterfaceSet {
public:
    virtual ~DiskInterfaceSet() = default;
    // Interface pass: whether an interface with this index exists, and its device path.
    virtual bool EnumInterface(DWORD index) = 0;
    virtual bool InterfacePath(DWORD index, std::string& path) = 0;
    // Opens a device path for reading and writing, unshared; nullptr and the error on failure.
    virtual std::unique_ptr<OpenedDisk> Open(const std::string& path, DWORD& error) = 0;
    // Device pass: whether a device with this index exists, its instance identifier and its
    // registry properties (SPDRP_*), each read into a buffer of kDeviceTextBuffer characters.
    virtual bool EnumDevice(DWORD index) = 0;
    virtual bool InstanceId(DWORD index, std::string& id) = 0;
    virtual bool RegistryProperty(DWORD index, DWORD property, std::string& value) = 0;
};

constexpr DWORD kDeviceTextBuffer = 260;  // the listing's buffers for identifiers and names (MAX_PATH)

class DeviceSource {
public:
    virtual ~DeviceSource() = default;
    // The present disk interfaces, or nullptr when the set cannot be had.
    virtual std::unique_ptr<DiskInterfaceSet> OpenDiskInterfaces() = 0;
};

// The machine's own devices.
std::unique_ptr<DeviceSource> MakeSystemDeviceSource();
