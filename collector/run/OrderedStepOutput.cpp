#include "run/OrderedStepOutput.h"

#include "console/ConsoleWriter.h"
#include "engine/Collection.h"
#include "engine/ErrorText.h"

namespace {

// "<row><TAB><entry as the report holds it>" and a line end.
std::string WaitingRecord(int row, const std::string& entry) { return std::to_string(row) + "\t" + entry + "\r\n"; }

}  // namespace

OrderedStepOutput::OrderedStepOutput(Collection& collection, std::span<const CaptureStep> steps)
    : collection_(collection),
      steps_(steps),
      rows_(steps.size()),
      waitingPath_(collection.run.runFolder + "\\" + kWaitingEntriesName) {}

void OrderedStepOutput::Entry(int row, std::string line) { Add(row, Kind::kEntry, std::move(line)); }

void OrderedStepOutput::Failure(int row, std::string line) { Add(row, Kind::kFailure, std::move(line)); }

void OrderedStepOutput::Status(int row, std::string text) { Add(row, Kind::kStatus, std::move(text)); }

void OrderedStepOutput::Add(int row, Kind kind, std::string text) {
    std::lock_guard<std::mutex> lock(mutex_);
    const size_t index = static_cast<size_t>(row - steps_.front().row);
    Line line{kind, std::move(text)};
    if (index == head_) {
        Emit(line);
        return;
    }
    if (kind == Kind::kEntry) KeepWaiting(row, line.text);
    rows_[index].waiting.push_back(std::move(line));
}

void OrderedStepOutput::Emit(const Line& line) {
    switch (line.kind) {
        case Kind::kEntry: {
            std::lock_guard<std::mutex> lock(collection_.report.guard);
            collection_.report.file.Write(line.text);
            collection_.report.file.Flush();
            break;
        }
        case Kind::kFailure:
            if (collection_.report.countFailures)
                collection_.KeepFailureLine(console::ConsoleWriter::OneLine(line.text));
            break;
        case Kind::kStatus: collection_.SetStatusText(line.text.c_str()); break;
    }
}

void OrderedStepOutput::Finish(int row, StepRecord record, const std::map<std::string, ULONGLONG>& cutFiles) {
    std::lock_guard<std::mutex> lock(mutex_);
    RowState& finished = rows_[static_cast<size_t>(row - steps_.front().row)];
    finished.finished = true;
    finished.record = std::move(record);
    finished.cutFiles = cutFiles;
    bool appended = false;
    while (head_ < rows_.size() && rows_[head_].finished) {
        RowState& done = rows_[head_];
        collection_.record.AddStep(std::move(done.record), done.cutFiles);
        if (steps_[head_].advancesProgress) collection_.StepProgress();
        ++head_;
        if (head_ == rows_.size()) break;
        // The next row writes straight through from now on; what it wrote meanwhile goes first.
        for (const Line& line : rows_[head_].waiting) Emit(line);
        appended = appended || !rows_[head_].waiting.empty();
        rows_[head_].waiting.clear();
    }
    if (appended) RewriteWaiting();
}

void OrderedStepOutput::KeepWaiting(int row, const std::string& entry) { WriteWaiting(WaitingRecord(row, entry)); }

// What is written is the system's once WriteFile returns: a run that is killed leaves it whole.
void OrderedStepOutput::WriteWaiting(const std::string& lines) {
    if (waitingFailed_) return;
    if (!waitingFile_) {
        waitingFile_.reset(::CreateFileA(waitingPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    DWORD written = 0;
    if (waitingFile_ && ::WriteFile(waitingFile_.get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr) &&
        written == lines.size())
        return;
    // The entries still reach the report when the run goes on; only a run killed meanwhile
    // loses them, and the report says so now.
    const DWORD error = ::GetLastError();
    waitingFailed_ = true;
    waitingFile_.reset();
    Emit({Kind::kEntry, ReportLine("Entries waiting for the report could not be kept in " + waitingPath_ + ": " +
                                   GetErrorText(error))});
}

void OrderedStepOutput::RewriteWaiting() {
    if (waitingFailed_) return;
    waitingFile_.reset();
    std::string lines;
    for (size_t index = head_ + 1; index < rows_.size(); ++index)
        for (const Line& line : rows_[index].waiting)
            if (line.kind == Kind::kEntry) lines += WaitingRecord(steps_[index].row, line.text);
    if (lines.empty())
        ::DeleteFileA(waitingPath_.c_str());
    else
        WriteWaiting(lines);
}
