#pragma once
// The lines of the capture steps reach the report, the console and the view in the table's
// order, however many steps run at once. The earliest row not yet appended writes straight
// through; a later row's lines wait until every row before it has been appended. While they
// wait, its report entries are also kept in a file of their own in the run folder, so a run
// that is killed leaves them there, whole; the file goes once nothing waits.
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "common/win32/UniqueHandle.h"
#include "engine/StepOutput.h"
#include "run/CaptureStep.h"

class Collection;

// The file in the run folder that holds the entries still waiting: "<row><TAB><entry>" lines.
constexpr const char* kWaitingEntriesName = "REPORT_ENTRIES_WAITING.TXT";

class OrderedStepOutput final : public StepOutput {
public:
    OrderedStepOutput(Collection& collection, std::span<const CaptureStep> steps);
    OrderedStepOutput(const OrderedStepOutput&) = delete;
    OrderedStepOutput& operator=(const OrderedStepOutput&) = delete;

    void Entry(int row, std::string line) override;
    void Failure(int row, std::string line) override;
    void Status(int row, std::string text) override;
    // The row's step has ended: its record is kept, and the row and every later one whose step
    // has ended too are appended, each followed by its progress mark.
    void Finish(int row, StepRecord record, const std::map<std::string, ULONGLONG>& cutFiles);

private:
    enum class Kind { kEntry, kFailure, kStatus };
    struct Line {
        Kind kind;
        std::string text;
    };
    struct RowState {
        std::vector<Line> waiting;
        bool finished = false;
        StepRecord record;
        std::map<std::string, ULONGLONG> cutFiles;
    };

    void Add(int row, Kind kind, std::string text);
    void Emit(const Line& line);
    void KeepWaiting(int row, const std::string& entry);
    void WriteWaiting(const std::string& lines);
    void RewriteWaiting();

    std::mutex mutex_;
    Collection& collection_;
    std::span<const CaptureStep> steps_;
    std::vector<RowState> rows_;  // by index in the table
    size_t head_ = 0;             // the earliest row not yet appended
    std::string waitingPath_;
    win32::UniqueFile waitingFile_;
    bool waitingFailed_ = false;
};
