#pragma once
#include <windows.h>

#include <string>

#include "common/win32/UniqueHandle.h"

// The report's file object: created in the current directory, shared with nobody, written
// and flushed entry by entry so the file on disk is complete at every moment.
class ReportFile {
public:
    // Creates (or truncates) the file; false with the system's error code left for the caller.
    bool Create(const std::string& name);
    bool IsOpen() const noexcept { return static_cast<bool>(handle_); }
    bool Write(const std::string& bytes);
    void Flush();
    void Close() noexcept { handle_.reset(); }
    const std::string& GetFileName() const noexcept { return name_; }
    // What the report holds so far: its move into the run folder needs that room.
    ULONGLONG Bytes() const noexcept { return bytes_; }

private:
    win32::UniqueFile handle_;
    std::string name_;
    ULONGLONG bytes_ = 0;
};
