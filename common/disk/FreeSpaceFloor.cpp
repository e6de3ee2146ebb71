#include "common/disk/FreeSpaceFloor.h"

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

std::string FolderOf(const std::string& path) {
    const size_t last = path.find_last_of('\\');
    return last == std::string::npos ? std::string(".") : path.substr(0, last + 1);
}

std::optional<VolumeSpace> FreeSpaceFloor::Shortfall(const std::string& folder, ULONGLONG bytes, bool startsFile) {
    std::optional<VolumeSpace> low = Ask(folder, bytes, closingRoom_ ? closingRoom_(filesLetThrough_) : 0);
    if (!low && startsFile) ++filesLetThrough_;
    return low;
}

std::optional<VolumeSpace> FreeSpaceFloor::ClosingShortfall(const std::string& folder, ULONGLONG bytes) {
    return Ask(folder, bytes, 0);
}

void FreeSpaceFloor::Forget() {
    std::lock_guard<std::mutex> lock(mutex_);
    volume_.clear();
}

void FreeSpaceFloor::HoldBackForClosing(ClosingRoom closingRoom) {
    std::lock_guard<std::mutex> lock(mutex_);
    closingRoom_ = std::move(closingRoom);
}

std::string FreeSpaceFloor::VolumeOf(const std::string& folder) {
    auto known = volumes_.find(folder);
    if (known != volumes_.end()) return known->second;
    char root[MAX_PATH + 1] = {};
    const std::string volume = ::GetVolumePathNameA(folder.c_str(), root, sizeof root) ? root : folder;
    // A folder not made yet may be made on another volume later: it is asked again next time.
    if (::GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return volume;
    volumes_.emplace(folder, volume);
    return volume;
}

std::optional<VolumeSpace> FreeSpaceFloor::Ask(const std::string& folder, ULONGLONG bytes, ULONGLONG heldBack) {
    const std::optional<unsigned> reserveMiB = reserveMiB_;
    if (reserveMiB == 0u) return std::nullopt;
    bytes = (bytes + kAllocationUnit - 1) / kAllocationUnit * kAllocationUnit;
    std::lock_guard<std::mutex> lock(mutex_);
    const ULONGLONG now = ::GetTickCount64();
    ULONGLONG floorBytes = static_cast<ULONGLONG>(FloorMiB(volumeBytes_, reserveMiB)) * kMiB;
    const std::string volume = VolumeOf(folder);
    const bool stands = !volume_.empty() && volume_ == volume && now - askedAtTick_ < kFreshMilliseconds &&
                        freeBytes_ >= floorBytes + heldBack + kSlackMiB * kMiB + bytes;
    if (!stands) {
        ULARGE_INTEGER freeToCaller{};
        ULARGE_INTEGER total{};
        if (!::GetDiskFreeSpaceExA(folder.c_str(), &freeToCaller, &total, nullptr)) {
            volume_.clear();
            return std::nullopt;
        }
        volume_ = volume;
        freeBytes_ = freeToCaller.QuadPart;
        volumeBytes_ = total.QuadPart;
        floorBytes = static_cast<ULONGLONG>(FloorMiB(volumeBytes_, reserveMiB)) * kMiB;
        askedAtTick_ = now;
    }
    const ULONGLONG keep = floorBytes + heldBack;
    if (freeBytes_ < keep || freeBytes_ - keep < bytes) {
        if (std::optional<VolumeSpace> space = SpaceOf(folder, reserveMiB)) return space;
        return VolumeSpace{folder, freeBytes_, static_cast<unsigned>(floorBytes / kMiB)};
    }
    freeBytes_ -= bytes;
    return std::nullopt;
}
