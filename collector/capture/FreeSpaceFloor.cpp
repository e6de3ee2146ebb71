#include "capture/FreeSpaceFloor.h"

namespace {
constexpr ULONGLONG kMiB = 1024 * 1024;
}

unsigned FloorMiB(ULONGLONG volumeBytes, std::optional<unsigned> reserveMiB) {
    if (reserveMiB) return *reserveMiB;
    // Rounded up, so the floor named in a line is never less than the one applied.
    const ULONGLONG share = (volumeBytes / 100 * kFloorPercent + kMiB - 1) / kMiB;
    return share > kMinimumFloorMiB ? static_cast<unsigned>(share) : kMinimumFloorMiB;
}

std::optional<VolumeSpace> SpaceOf(const std::string& folder, std::optional<unsigned> reserveMiB) {
    ULARGE_INTEGER freeToCaller{};
    ULARGE_INTEGER total{};
    // Free to this user: a quota is as final as a full disk.
    if (!::GetDiskFreeSpaceExA(folder.c_str(), &freeToCaller, &total, nullptr)) return std::nullopt;
    VolumeSpace space;
    space.freeBytes = freeToCaller.QuadPart;
    space.floorMiB = FloorMiB(total.QuadPart, reserveMiB);
    char root[MAX_PATH + 1] = {};
    space.volume = ::GetVolumePathNameA(folder.c_str(), root, sizeof root) ? root : folder;
    return space;
}

std::optional<VolumeSpace> FloorShortfall(const std::string& folder, ULONGLONG bytes,
                                          std::optional<unsigned> reserveMiB) {
    FreeSpaceReading none;  // no earlier answer: the system is asked
    return CopyShortfall(folder, bytes, reserveMiB, none);
}

std::optional<VolumeSpace> CopyShortfall(const std::string& folder, ULONGLONG bytes,
                                         std::optional<unsigned> reserveMiB, FreeSpaceReading& last) {
    if (reserveMiB == 0u) return std::nullopt;
    const ULONGLONG now = ::GetTickCount64();
    const bool stands = !last.folder.empty() && last.folder == folder && now - last.askedAtTick < kFreshMilliseconds &&
                        last.freeBytes >= last.floorBytes + kSlackMiB * kMiB + bytes;
    if (!stands) {
        ULARGE_INTEGER freeToCaller{};
        ULARGE_INTEGER total{};
        if (!::GetDiskFreeSpaceExA(folder.c_str(), &freeToCaller, &total, nullptr)) {
            last = {};
            return std::nullopt;
        }
        last = {folder, freeToCaller.QuadPart, static_cast<ULONGLONG>(FloorMiB(total.QuadPart, reserveMiB)) * kMiB, now};
    }
    if (last.freeBytes < last.floorBytes || last.freeBytes - last.floorBytes < bytes) return SpaceOf(folder, reserveMiB);
    last.freeBytes -= bytes;
    return std::nullopt;
}

std::string FolderOf(const std::string& path) {
    const size_t last = path.find_last_of('\\');
    return last == std::string::npos ? std::string(".") : path.substr(0, last + 1);
}
