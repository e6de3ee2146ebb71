// The device listing on the Setup API and the storage driver of this machine.
#include <windows.h>
#include <setupapi.h>
#include <winioctl.h>

#include <initguid.h>
#include <ntddstor.h>

#include <cstddef>
#include <vector>

#include "DeviceSource.h"
#include "common/win32/UniqueHandle.h"

namespace {

// An interface detail is a path; anything above this is no disk interface's.
constexpr DWORD kMaxInterfaceDetail = 64 * 1024;

class SystemDisk final : public OpenedDisk {
public:
    explicit SystemDisk(win32::UniqueFile file) : file_(std::move(file)) {}

    bool GetDeviceNumber(DeviceNumber& number) override {
        STORAGE_DEVICE_NUMBER answer{};
        DWORD returned = 0;
        if (!::DeviceIoControl(file_.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &answer, sizeof answer,
                               &returned, nullptr))
            return false;
        number.deviceType = answer.DeviceType;
        number.deviceNumber = static_cast<LONG>(answer.DeviceNumber);
        number.partitionNumber = static_cast<LONG>(answer.PartitionNumber);
        return true;
    }

private:
    win32::UniqueFile file_;
};

class SystemInterfaceSet final : public DiskInterfaceSet {
public:
    explicit SystemInterfaceSet(win32::UniqueDeviceInfoList set) : set_(std::move(set)) {}

    bool EnumInterface(DWORD index) override {
        interface_ = SP_DEVICE_INTERFACE_DATA{};
        interface_.cbSize = sizeof interface_;
        return ::SetupDiEnumDeviceInterfaces(set_.get(), nullptr, &GUID_DEVINTERFACE_DISK, index, &interface_);
    }

    bool InterfacePath(DWORD, std::string& path) override {
        DWORD needed = 0;
        ::SetupDiGetDeviceInterfaceDetailA(set_.get(), &interface_, nullptr, 0, &needed, nullptr);
        constexpr DWORD fixedPart = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
        if (needed <= fixedPart || needed > kMaxInterfaceDetail) return false;
        std::vector<BYTE> buffer;
        try {
            buffer.resize(needed);
        } catch (const std::bad_alloc&) {
            return false;
        }
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        if (!::SetupDiGetDeviceInterfaceDetailA(set_.get(), &interface_, detail, needed, nullptr, nullptr)) return false;
        buffer.back() = 0;
        path = detail->DevicePath;
        return true;
    }

    std::unique_ptr<OpenedDisk> Open(const std::string& path, DWORD& error) override {
        win32::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                             nullptr));
        if (!file) {
            error = ::GetLastError();
            return nullptr;
        }
        return std::make_unique<SystemDisk>(std::move(file));
    }

    bool EnumDevice(DWORD index) override {
        device_ = SP_DEVINFO_DATA{};
        device_.cbSize = sizeof device_;
        return ::SetupDiEnumDeviceInfo(set_.get(), index, &device_);
    }

    bool InstanceId(DWORD, std::string& id) override {
        char buffer[kDeviceTextBuffer] = {};
        if (!::SetupDiGetDeviceInstanceIdA(set_.get(), &device_, buffer, kDeviceTextBuffer, nullptr)) return false;
        id = buffer;
        return true;
    }

    bool RegistryProperty(DWORD, DWORD property, std::string& value) override {
        BYTE buffer[kDeviceTextBuffer + 1] = {};  // one zero beyond the read keeps the text terminated
        if (!::SetupDiGetDeviceRegistryPropertyA(set_.get(), &device_, property, nullptr, buffer, kDeviceTextBuffer,
                                                 nullptr))
            return false;
        value = reinterpret_cast<const char*>(buffer);
        return true;
    }

private:
    win32::UniqueDeviceInfoList set_;
    SP_DEVICE_INTERFACE_DATA interface_{};
    SP_DEVINFO_DATA device_{};
};

class SystemDeviceSource final : public DeviceSource {
public:
    std::unique_ptr<DiskInterfaceSet> OpenDiskInterfaces() override {
        win32::UniqueDeviceInfoList set(
            ::SetupDiGetClassDevsA(&GUID_DEVINTERFACE_DISK, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
        if (!set) return nullptr;
        return std::make_unique<SystemInterfaceSet>(std::move(set));
    }
};

}  // namespace

std::unique_ptr<DeviceSource> MakeSystemDeviceSource() { return std::make_unique<SystemDeviceSource>(); }
