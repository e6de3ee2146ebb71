#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// An open event log as the export sees it. Wine's event log service holds no records, so
// tests put a source of synthetic records in the system's layout behind this.
class EventLogSource {
public:
    virtual ~EventLogSource() = default;

    // Saves the log in the system's own backup format; false with the last error set.
    virtual bool Backup(const std::string& path) = 0;
    // False with the last error set.
    virtual bool CountRecords(DWORD& count) = 0;
    // Reads as many whole records as fit, newest first, going on from where the last read
    // ended. False with the last error set: ERROR_HANDLE_EOF past the oldest record,
    // ERROR_INSUFFICIENT_BUFFER (and `bytesNeeded`) for a record larger than the buffer.
    virtual bool ReadBackwards(BYTE* buffer, DWORD size, DWORD& bytesRead, DWORD& bytesNeeded) = 0;
};

// Opens a log of the local machine by its name; null with the last error set.
using EventLogOpener = std::function<std::unique_ptr<EventLogSource>(const std::string& logName)>;

// The system's event log service (advapi32).
std::unique_ptr<EventLogSource> OpenSystemEventLog(const std::string& logName);
