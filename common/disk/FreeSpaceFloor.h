#pragma once
// The free space a run leaves on the volume it writes to. A server whose system drive fills
// up stops logging, stops services and sometimes stops booting: before each copy, each write
// of its own, each child start and the packing, the run makes sure what it writes leaves the
// floor free.
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

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

// The folder a target file goes into: everything up to its last backslash.
std::string FolderOf(const std::string& path);

// The one floor of a run, asked by every copy and every write of the run's own, from any
// thread. It also holds back the room of the run's closing records (the report's move, the
// manifest, the sums, the cabinet lists): what the run collects may use the volume down to the
// floor plus that room, the closing records down to the floor itself, so a run that fills its
// volume still ends with its records written and the floor free.
class FreeSpaceFloor {
public:
    // `reserveMiB` is read at every question: "reserve=" may be set after the floor is made.
    explicit FreeSpaceFloor(const std::optional<unsigned>& reserveMiB) noexcept : reserveMiB_(reserveMiB) {}
    FreeSpaceFloor(const FreeSpaceFloor&) = delete;
    FreeSpaceFloor& operator=(const FreeSpaceFloor&) = delete;

    // The volume when writing `bytes` more into `folder` would leave less than the floor and
    // the closing room free; nothing when it may be written, and then it is counted as written.
    // Asking the system costs far more than a small copy under some systems, so the last answer
    // stands in for it while it is younger than kFreshMilliseconds, is for the same volume and
    // leaves more than kSlackMiB above the floor after this write: in that time nobody else
    // writes that much. Near the floor every write asks. The volume of each folder is asked once,
    // so steps that write into different folders of one volume share the answer.
    // `startsFile`: the first bytes of a file, which the closing records will name.
    std::optional<VolumeSpace> Shortfall(const std::string& folder, ULONGLONG bytes, bool startsFile = true);
    // As Shortfall, for the closing records themselves: the room held back is theirs.
    std::optional<VolumeSpace> ClosingShortfall(const std::string& folder, ULONGLONG bytes);
    // Someone else wrote (a child ran): the next question asks the system afresh.
    void Forget();
    // The room the closing records will take for the files let through so far, asked at every
    // question: it grows with the run.
    using ClosingRoom = std::function<ULONGLONG(unsigned filesLetThrough)>;
    void HoldBackForClosing(ClosingRoom closingRoom);
    std::optional<unsigned> ReserveMiB() const noexcept { return reserveMiB_; }

    static constexpr ULONGLONG kFreshMilliseconds = 100;
    // A file takes whole allocation units: a 600-byte file takes 4 KiB of the volume, so a write
    // is asked for in whole units of the common size.
    static constexpr ULONGLONG kAllocationUnit = 4096;
    static constexpr unsigned kSlackMiB = 256;

private:
    std::optional<VolumeSpace> Ask(const std::string& folder, ULONGLONG bytes, ULONGLONG heldBack);
    // The root of the volume that holds the folder; the folder itself when the system cannot tell.
    std::string VolumeOf(const std::string& folder);

    const std::optional<unsigned>& reserveMiB_;
    ClosingRoom closingRoom_;
    std::atomic<unsigned> filesLetThrough_{0};
    std::mutex mutex_;
    std::string volume_;  // "": nothing asked yet, or someone else has written since
    std::map<std::string, std::string> volumes_;  // by folder
    ULONGLONG freeBytes_ = 0;
    ULONGLONG volumeBytes_ = 0;
    ULONGLONG askedAtTick_ = 0;  // GetTickCount64
};
