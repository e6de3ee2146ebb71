#pragma once
// The free space a run leaves on the volume it writes to. A server whose system drive fills
// up stops logging, stops services and sometimes stops booting: before each copy, each child
// start and the packing, the run makes sure what it writes leaves the floor free.
#include <windows.h>

#include <optional>
#include <string>

#include "engine/CollectionState.h"

constexpr unsigned kMinimumFloorMiB = 1024;  // 1 GiB: what Windows and its services need to go on
constexpr unsigned kFloorPercent = 5;       // of the volume, for volumes too large for 1 GiB to matter
constexpr unsigned kMaxReserveMiB = 1048576;  // "reserve=N": up to 1 TiB, more than any system drive

// What a write that would go below the floor is refused with, in the report's finish lines and
// the manifest: the floor works as the run's own quota on the volume. 112 would say the disk
// was full, which is what the floor keeps from happening.
constexpr DWORD kBelowFloorError = 1295;  // ERROR_DISK_QUOTA_EXCEEDED, which MinGW-w64 does not name

// The floor of a volume of `volumeBytes`: "reserve=N" when given, else 1 GiB or 5 % of the
// volume, whichever is larger.
unsigned FloorMiB(ULONGLONG volumeBytes, std::optional<unsigned> reserveMiB);

struct VolumeSpace {
    std::string volume;  // the volume's root as the system names it ("C:\")
    ULONGLONG freeBytes = 0;
    unsigned floorMiB = 0;
};

// The free space and floor of the volume that holds `folder`; nothing when the system cannot
// tell (a folder that does not exist: the write then fails on its own).
std::optional<VolumeSpace> SpaceOf(const std::string& folder, std::optional<unsigned> reserveMiB);

// The volume when writing `bytes` more into `folder` would leave less than its floor free;
// nothing when there is room, when the system cannot tell, or with "reserve=0".
std::optional<VolumeSpace> FloorShortfall(const std::string& folder, ULONGLONG bytes,
                                          std::optional<unsigned> reserveMiB);

// As FloorShortfall, for the run's own copies, one after another. Asking the system costs far
// more than a small copy under some systems, so `last` stands in for it while it is younger
// than kFreshMilliseconds, names the same folder and leaves more than kSlackMiB above the floor
// after this copy: in that time nobody else writes that much. Near the floor every copy asks.
// A copy let through is counted off `last`.
std::optional<VolumeSpace> CopyShortfall(const std::string& folder, ULONGLONG bytes,
                                         std::optional<unsigned> reserveMiB, FreeSpaceReading& last);
constexpr ULONGLONG kFreshMilliseconds = 100;
constexpr unsigned kSlackMiB = 256;

// The folder a target file goes into: everything before its last backslash.
std::string FolderOf(const std::string& path);
