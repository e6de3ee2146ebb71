#pragma once
#include <string>
#include <vector>

#include "common/disk/CheckedWriter.h"
#include "eventlog/EventLogSource.h"
#include "eventlog/EventRecord.h"
#include "eventlog/MessageFileValues.h"
#include "eventlog/MessageModuleCache.h"

class ReportSink;

constexpr int kDefaultDaysLimit = 45;

// The export of an event log: as the system's backup, or as text with each record's
// description, writing its progress and failures to the report.
class EventLogExport {
public:
    // Every write asks `floor`; what each export achieved goes to the report's step record.
    EventLogExport(ReportSink& report, FreeSpaceFloor& floor) noexcept : report_(report), floor_(floor) {}

    // Mode 2 saves the system's backup; any other writes the text export of the last
    // `daysLimit` days.
    int CaptureEventLog(std::string logName, std::string outputPath, int mode, std::string sourcesKey);
    bool WriteEventDescription(disk::CheckedWriter& file, const EventRecord& record, std::string sourcesKey);
    bool FormatEventMessage(disk::CheckedWriter& file, const EventRecord& record, HMODULE module);
    void WriteUnresolvedDescription(disk::CheckedWriter& file, const EventRecord& record);
    void SplitMessageFiles(std::string text);

    EventLogOpener openLog = OpenSystemEventLog;  // tests put synthetic logs here
    int daysLimit = kDefaultDaysLimit;            // older records are left to the backup
    std::vector<std::string> messageFiles;        // the work list of one record's message files
    MessageFileValues messageFileValues;
    MessageModuleCache messageModules;

    // What one export keeps is forgotten on every way out of it: the next export sees the
    // registry and the message files as they are then.
    class ExportScope {
    public:
        explicit ExportScope(EventLogExport& owner) noexcept : owner_(owner) {}
        ~ExportScope() {
            owner_.messageFileValues.Clear();
            owner_.messageModules.Clear();
        }
        ExportScope(const ExportScope&) = delete;
        ExportScope& operator=(const ExportScope&) = delete;

    private:
        EventLogExport& owner_;
    };

private:
    void Backup(EventLogSource& log, const std::string& outputPath);

    ReportSink& report_;
    FreeSpaceFloor& floor_;
};
