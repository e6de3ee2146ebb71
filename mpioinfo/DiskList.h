#pragma once
// The disks that MPIO presents, as the device listing found them.
#include <memory>
#include <string>
#include <vector>

#include "DeviceSource.h"

constexpr size_t kMaxDiskKey = 259;  // the key field of a record holds a Windows path and its terminator

struct MpioDiskRecord {
    std::string key;          // at most kMaxDiskKey characters
    int hardDiskNumber = 0;   // the N of HarddiskN, -1 when not found
    int mpioDiskNumber = 0;   // the N of MPIODiskN, -1 when not found
};

struct MpioDiskList {
    std::vector<MpioDiskRecord> records;
    int Count() const noexcept { return static_cast<int>(records.size()); }
};

// Stores a text as a record's key, cut to the key field.
void SetDiskKey(MpioDiskRecord& record, const std::string& key);

// The key of a device interface path: up to its "{", "#" as a backslash (or dropped before
// one), every other character upper-cased.
std::string DiskKeyFromPath(const std::string& devicePath);

// Lists the MPIO disks on standard output and returns them; nothing when no MPIO disk was
// found or the listing failed.
std::unique_ptr<MpioDiskList> PrintDeviceInfo(DeviceSource& devices);
