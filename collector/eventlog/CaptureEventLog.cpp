// Backs an event log up, or exports its records of the last days (45 unless "days=") as text.
#include <algorithm>
#include <ctime>
#include <vector>

#include "common/win32/UniqueHandle.h"
#include "engine/ReportSink.h"
#include "engine/StepProblems.h"
#include "eventlog/EventLogExport.h"
#include "eventlog/EventText.h"
#include "framework/WaitCursor.h"
#include "engine/ErrorText.h"

namespace {

constexpr int kBackupMode = 2;
constexpr long long kSecondsPerDay = 86400;
constexpr DWORD kReadBufferSize = 0x20000;                       // one 128 KiB block, reused for every read

enum class WalkEnd { BufferUsed, DaysLimit, Damaged };

class TextExport {
public:
    TextExport(EventLogExport& exporter, ReportSink& report, disk::CheckedWriter& file, std::string sourcesKey,
               long long limit)
        : exporter_(exporter), report_(report), file_(file), sourcesKey_(std::move(sourcesKey)), limit_(limit) {}

    // Reads until the log is used up, a read fails, the days limit or a damaged record.
    void Run(EventLogSource& log) {
        std::vector<BYTE> buffer(kReadBufferSize);
        for (;;) {
            DWORD bytesRead = 0;
            DWORD bytesNeeded = 0;
            if (!log.ReadBackwards(buffer.data(), kReadBufferSize, bytesRead, bytesNeeded)) break;
            // A read that gives nothing would be asked again for ever.
            if (bytesRead == 0) break;
            // Never walk more than the buffer holds, whatever the read claims.
            WalkEnd end = Walk(std::span<const BYTE>(buffer.data(), std::min(bytesRead, kReadBufferSize)));
            if (end == WalkEnd::DaysLimit) return;
            if (end == WalkEnd::Damaged) break;
        }
        report_.LogReport("# of records read: %d", counter_);
    }

private:
    WalkEnd Walk(std::span<const BYTE> rest) {
        while (!rest.empty()) {
            RecordStep step = ReadEventRecord(rest);
            if (step.fault != RecordFault::None) {
                report_.LogFailure("Damaged event record #%d: %s; the export stops here", counter_ + 1,
                                  DescribeRecordFault(step, rest.size()).c_str());
                return WalkEnd::Damaged;
            }
            if (static_cast<long long>(step.record.timeWritten) <= limit_) {
                report_.LogReport("Days limit reached");
                return WalkEnd::DaysLimit;
            }
            if (counter_ > 0) file_.Write("\n");
            file_.Write(FormatEventRecordLine(step.record));
            exporter_.WriteEventDescription(file_, step.record, sourcesKey_);
            ++counter_;
            rest = rest.subspan(step.length);
        }
        return WalkEnd::BufferUsed;
    }

    EventLogExport& exporter_;
    ReportSink& report_;
    disk::CheckedWriter& file_;
    std::string sourcesKey_;
    long long limit_;
    int counter_ = 0;
};

}  // namespace

// The system writes the backup, as much as the log holds: the volume must be above the floor
// before, and a backup that took it below is not kept.
void EventLogExport::Backup(EventLogSource& log, const std::string& outputPath) {
    const std::string folder = FolderOf(outputPath);
    disk::WriteOutcome outcome{outputPath, true, 0, 0, floor_.Shortfall(folder, 0)};
    if (!outcome.floor) {
        if (!log.Backup(outputPath)) {
            DWORD error = ::GetLastError();
            report_.LogFailure("BackupEventLog() failed to backup %s!!! REASON: %s", outputPath.c_str(),
                               GetErrorText(error).c_str());
            report_.ItemLost(ProblemOf(error, outputPath));
            return;
        }
        floor_.Forget();
        outcome.floor = floor_.ClosingShortfall(folder, 0);
        if (outcome.floor) ::DeleteFileA(outputPath.c_str());
    }
    if (outcome.floor) outcome.error = kBelowFloorError;
    report_.ReportWrite(outcome);
}

int EventLogExport::CaptureEventLog(std::string logName, std::string outputPath, int mode, std::string sourcesKey) {
    framework::WaitCursor wait;
    long long limit = static_cast<long long>(std::time(nullptr)) - daysLimit * kSecondsPerDay;
    report_.LogReport("Start - Capture %s Event Log", logName.c_str());

    std::unique_ptr<EventLogSource> log = openLog(logName);
    if (!log) {
        DWORD error = ::GetLastError();
        report_.LogFailure("OpenEventLog() failed to open %s!!! REASON: %s", logName.c_str(), GetErrorText(error).c_str());
        report_.ItemLost(ProblemOf(error, logName));
    } else if (mode == kBackupMode) {
        Backup(*log, outputPath);
    } else {
        disk::CheckedWriter file(outputPath, floor_, disk::CheckedWriter::LineEnds::kCrLf);
        if (!file.IsOpen()) {
            // Without a file there is nothing to export into; the log is still closed below.
            report_.LogFailure("fopen() failed to create %s!!! REASON: %s", outputPath.c_str(),
                               GetErrorText(file.Outcome().error).c_str());
            report_.ReportWrite(file.Outcome(), true);
        } else {
            DWORD total = 0;
            if (log->CountRecords(total)) {
                report_.LogReport("Total # of records: %d", static_cast<int>(total));
            } else {
                // A count that failed is no count of 0; the records are read all the same.
                DWORD error = ::GetLastError();
                report_.LogFailure("Failed to get the number of records of %s!!! REASON: %s", logName.c_str(),
                                   GetErrorText(error).c_str());
            }
            report_.LogReport("Number of days limit: %d", daysLimit);
            ExportScope kept(*this);
            TextExport(*this, report_, file, sourcesKey, limit).Run(*log);
            report_.ReportWrite(file.Close());
        }
    }
    log.reset();

    report_.LogReport("Finish - Captured %s Event Log into %s", logName.c_str(), outputPath.c_str());
    return 0;
}
