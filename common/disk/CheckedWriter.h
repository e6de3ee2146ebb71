#pragma once
// Every file the run writes itself goes through a CheckedWriter: it asks the free-space floor
// before each block, checks every write and the close, and stops at the first refusal or
// error, keeping what it wrote (a partial registry dump is still worth reading). What it
// achieved is its outcome, which the code that made it reports: nothing it loses goes unsaid.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/disk/FreeSpaceFloor.h"
#include "common/win32/UniqueHandle.h"

namespace disk {

// What a writer achieved.
struct WriteOutcome {
    std::string path;
    bool opened = false;
    ULONGLONG bytes = 0;  // in the file
    DWORD error = 0;      // 0: whole; kBelowFloorError: refused by the floor; else the system's error
    std::optional<VolumeSpace> floor;  // the volume and floor of a refusal

    bool Whole() const noexcept { return opened && error == 0; }
};

class CheckedWriter {
public:
    enum class LineEnds { kAsGiven, kCrLf };  // kCrLf: each line feed written as CR LF, as a text-mode stream does
    // Whose room the writes take: the run's collected files, or the closing records' own.
    enum class Room { kCollected, kClosingRecord };

    // Creates (or empties) the file; a file that cannot be created is the outcome's error.
    CheckedWriter(std::string path, FreeSpaceFloor& floor, LineEnds lineEnds = LineEnds::kAsGiven,
                  Room room = Room::kCollected);
    // A writer not closed is closed here, its outcome unread: call Close to learn it.
    ~CheckedWriter();
    CheckedWriter(const CheckedWriter&) = delete;
    CheckedWriter& operator=(const CheckedWriter&) = delete;

    bool IsOpen() const noexcept { return static_cast<bool>(file_); }
    // Ignored once the writer has stopped.
    void Write(std::string_view text);
    // Writes what is held, closes, and gives what was achieved. A file that holds nothing for
    // a stop is removed: it would pass for an empty result. With `wholeOrNothing` a file cut
    // short is removed too (a record that is not whole must not travel as the record).
    const WriteOutcome& Close(bool wholeOrNothing = false);
    const WriteOutcome& Outcome() const noexcept { return outcome_; }
    bool Stopped() const noexcept { return outcome_.error != 0; }

    static constexpr size_t kBlockBytes = 64 * 1024;  // asked of the floor at a time

private:
    void Append(std::string_view text);
    void Flush();
    // Asks the floor for one block and writes it; false once stopped.
    bool WriteBlock(std::string_view block);
    void Stop(DWORD error);

    FreeSpaceFloor& floor_;
    Room room_;
    LineEnds lineEnds_;
    std::string folder_;
    win32::UniqueFile file_;
    std::string held_;
    bool closed_ = false;
    WriteOutcome outcome_;
};

}  // namespace disk
