#include "DiskList.h"

#include <cctype>
#include <cstdlib>
#include <new>

#include "Output.h"

namespace {

constexpr DWORD kFileDeviceDisk = FILE_DEVICE_DISK;

std::string ComputerName() {
    char name[kDeviceTextBuffer] = {};
    DWORD size = kDeviceTextBuffer;
    if (!::GetComputerNameA(name, &size)) return {};
    return name;
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The decimal number that begins at the first digit of a device object name; -1 without one.
int NumberInName(const std::string& name) {
    size_t digit = name.find_first_of("0123456789");
    if (digit == std::string::npos) return -1;
    return std::atoi(name.c_str() + digit);
}

int HardDiskNumber(OpenedDisk& disk) {
    DeviceNumber number;
    if (!disk.GetDeviceNumber(number)) return -1;
    if (number.deviceType != kFileDeviceDisk || number.deviceNumber < 0 || number.partitionNumber < 0) return -1;
    return static_cast<int>(number.deviceNumber);
}

// Adds one zeroed record; false when the memory cannot be had.
bool GrowList(std::unique_ptr<MpioDiskList>& list) {
    try {
        if (!list) list = std::make_unique<MpioDiskList>();
        list->records.emplace_back();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void MatchDevice(DiskInterfaceSet& set, DWORD index, MpioDiskList& list) {
    std::string id;
    std::string description;
    if (!set.InstanceId(index, id) || !Contains(id, "MPIO") || !set.RegistryProperty(index, SPDRP_DEVICEDESC, description))
        return;
    std::string objectName;  // stays empty when it cannot be read
    set.RegistryProperty(index, SPDRP_PHYSICAL_DEVICE_OBJECT_NAME, objectName);

    for (MpioDiskRecord& record : list.records) {
        if (!Contains(record.key, id.c_str())) continue;
        SetDiskKey(record, id);
        record.mpioDiskNumber = NumberInName(objectName);
        std::string lines = Format("Harddisk Name  : Harddisk%d\n", record.hardDiskNumber);
        lines += Format("MPIO Disk Name : MPIODisk%d\n", record.mpioDiskNumber);
        lines += "     Disk interface name: ";
        lines += id;
        lines += "\n\n";
        PrintNarrow(lines);
        return;
    }
}

}  // namespace

void SetDiskKey(MpioDiskRecord& record, const std::string& key) { record.key = key.substr(0, kMaxDiskKey); }

std::string DiskKeyFromPath(const std::string& devicePath) {
    std::string key;
    for (size_t i = 0; i < devicePath.size() && devicePath[i] != '{' && key.size() < kMaxDiskKey; ++i) {
        char c = devicePath[i];
        if (c == '#') {
            if (i + 1 < devicePath.size() && devicePath[i + 1] == '\\') continue;
            key += '\\';
        } else {
            key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return key;
}

std::unique_ptr<MpioDiskList> PrintDeviceInfo(DeviceSource& devices) {
    std::string computerName = ComputerName();
    std::unique_ptr<DiskInterfaceSet> set = devices.OpenDiskInterfaces();
    if (!set) return nullptr;

    std::unique_ptr<MpioDiskList> list;
    for (DWORD index = 0; set->EnumInterface(index); ++index) {
        std::string path;
        if (!set->InterfacePath(index, path)) {
            PrintNarrow("PrintDeviceInfo: Error in SetupDiGetInterfaceDeviceDetail\n");
            return nullptr;
        }
        if (!Contains(path, "mpio") && !Contains(path, "MPIO")) continue;
        if (!list) PrintNarrow(Format("List of MPIO disks in the system %s\n", computerName.c_str()));
        if (!GrowList(list)) {
            PrintNarrow("Error: Not enough memory to build disk information...\n");
            return nullptr;
        }
        MpioDiskRecord& record = list->records.back();

        DWORD error = 0;
        std::unique_ptr<OpenedDisk> disk = set->Open(path, error);
        if (!disk) {
            PrintNarrow(Format("PrintDeviceInfo: Failed to open %s. Error: %d\n", path.c_str(), static_cast<int>(error)));
            continue;
        }
        SetDiskKey(record, DiskKeyFromPath(path));
        record.hardDiskNumber = HardDiskNumber(*disk);
        record.mpioDiskNumber = -1;
    }

    if (list) {
        for (DWORD index = 0; set->EnumDevice(index); ++index) MatchDevice(*set, index, *list);
    }
    set.reset();
    if (list && list->Count() > 0) PrintNarrow(Format("Number of listed MPIO disk(s) %d", list->Count()));
    return list;
}
