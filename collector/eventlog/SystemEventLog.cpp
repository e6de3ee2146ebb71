// The event log source the product uses: the system's event log service.
#include "common/win32/UniqueHandle.h"
#include "eventlog/EventLogSource.h"

namespace {

class SystemEventLog final : public EventLogSource {
public:
    explicit SystemEventLog(win32::UniqueEventLog log) : log_(std::move(log)) {}

    bool Backup(const std::string& path) override { return ::BackupEventLogA(log_.get(), path.c_str()) != FALSE; }

    bool CountRecords(DWORD& count) override { return ::GetNumberOfEventLogRecords(log_.get(), &count) != FALSE; }

    bool ReadBackwards(BYTE* buffer, DWORD size, DWORD& bytesRead, DWORD& bytesNeeded) override {
        return ::ReadEventLogA(log_.get(), EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ, 0, buffer, size,
                               &bytesRead, &bytesNeeded) != FALSE;
    }

private:
    win32::UniqueEventLog log_;
};

}  // namespace

std::unique_ptr<EventLogSource> OpenSystemEventLog(const std::string& logName) {
    win32::UniqueEventLog log(::OpenEventLogA(nullptr, logName.c_str()));
    if (!log) return nullptr;  // the caller reads the system's last error
    return std::make_unique<SystemEventLog>(std::move(log));
}
