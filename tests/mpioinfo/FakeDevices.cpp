#include "FakeDevices.h"

#include <cctype>

namespace {

class FakeDisk final : public OpenedDisk {
public:
    FakeDisk(const FakeInterface& entry, int& openDisks) : entry_(entry), openDisks_(openDisks) { ++openDisks_; }
    ~FakeDisk() override { --openDisks_; }
    bool GetDeviceNumber(DeviceNumber& number) override {
        if (!entry_.number) return false;
        number = *entry_.number;
        return true;
    }

private:
    const FakeInterface& entry_;
    int& openDisks_;
};

class FakeSet final : public DiskInterfaceSet {
public:
    explicit FakeSet(FakeDevices& devices) : devices_(devices) { ++devices_.openSets; }
    ~FakeSet() override { --devices_.openSets; }

    bool EnumInterface(DWORD index) override { return index < devices_.interfaces.size(); }
    bool InterfacePath(DWORD index, std::string& path) override {
        const FakeInterface& entry = devices_.interfaces.at(index);
        if (entry.detailFails) return false;
        path = entry.path;
        return true;
    }
    std::unique_ptr<OpenedDisk> Open(const std::string& path, DWORD& error) override {
        devices_.opened.push_back(path);
        for (const FakeInterface& entry : devices_.interfaces) {
            if (entry.path != path) continue;
            if (entry.openError != 0) {
                error = entry.openError;
                return nullptr;
            }
            return std::make_unique<FakeDisk>(entry, devices_.openDisks);
        }
        error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    bool EnumDevice(DWORD index) override { return index < devices_.devices.size(); }
    bool InstanceId(DWORD index, std::string& id) override {
        const FakeDevice& device = devices_.devices.at(index);
        if (device.idFails) return false;
        id = device.instanceId;
        return true;
    }
    bool RegistryProperty(DWORD index, DWORD property, std::string& value) override {
        const FakeDevice& device = devices_.devices.at(index);
        const std::optional<std::string>* source = nullptr;
        if (property == SPDRP_DEVICEDESC) source = &device.description;
        if (property == SPDRP_PHYSICAL_DEVICE_OBJECT_NAME) source = &device.objectName;
        if (source == nullptr || !*source) return false;
        value = **source;
        return true;
    }

private:
    FakeDevices& devices_;
};

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::unique_ptr<DiskInterfaceSet> FakeDevices::OpenDiskInterfaces() {
    if (setFails) return nullptr;
    return std::make_unique<FakeSet>(*this);
}

std::string MpioPath(const std::string& model, const std::string& instance) {
    std::string path = "\\\\?\\mpio#disk&";
    path += model;
    path += "#";
    path += instance;
    path += "#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}";
    return path;
}

std::string MpioInstanceId(const std::string& model, const std::string& instance) {
    std::string id = "MPIO\\DISK&";
    id += Upper(model);
    id += "\\";
    id += Upper(instance);
    return id;
}

DeviceNumber DiskNumber(LONG number) {
    DeviceNumber answer;
    answer.deviceType = FILE_DEVICE_DISK;
    answer.deviceNumber = number;
    answer.partitionNumber = 0;
    return answer;
}
