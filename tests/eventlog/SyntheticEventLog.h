#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "eventlog/EventLogSource.h"

namespace testing_support {

// The fields of one event record that the export reads.
struct SyntheticRecord {
    DWORD timeWritten = 0;
    DWORD eventId = 0;
    WORD eventType = EVENTLOG_INFORMATION_TYPE;
    std::string source;
    std::string computer = "ZELTRIN-NODE";
    std::vector<std::string> strings;
};

// The record's bytes in the system's EVENTLOGRECORD layout: fixed header, source and computer
// names, padding to a DWORD, insertion strings, padding, and the closing length.
std::string EventRecordBytes(const SyntheticRecord& record);

// Overwrites the DWORD (or WORD) at `offset` of a record's bytes, to damage it.
void PatchDword(std::string& bytes, size_t offset, DWORD value);
void PatchWord(std::string& bytes, size_t offset, WORD value);

// The seconds since 1970 of `secondsAgo` before now.
DWORD SecondsAgo(long long secondsAgo);

// A log served from memory, read the way the system reads one backwards: each read gives as
// many whole records as fit, a record larger than the buffer fails with
// ERROR_INSUFFICIENT_BUFFER, and past the last record a read fails with ERROR_HANDLE_EOF.
struct SyntheticLogContent {
    std::vector<std::string> records;  // newest first, each laid out by EventRecordBytes
    // When set, serves `generatedCount` records made as they are read (index 0 the newest)
    // instead of `records`, so a log of a million records is never held in memory.
    std::function<std::string(size_t index)> generate;
    size_t generatedCount = 0;
    // When not empty, served instead of `records`: each entry is the bytes of one read, as
    // given, however damaged.
    std::vector<std::string> rawReads;
    // When not empty, what each raw read claims to have read (however much it copied), so a
    // read can answer with more bytes than the buffer holds.
    std::vector<DWORD> rawClaims;
    DWORD count = 0;                            // what CountRecords answers
    DWORD countError = 0;                       // when set, CountRecords fails with it
    std::function<void(int readNumber)> onRead;  // called before each read, counted from 1
};

class SyntheticEventLog final : public EventLogSource {
public:
    explicit SyntheticEventLog(std::shared_ptr<const SyntheticLogContent> content) : content_(std::move(content)) {}

    // Writes a small file in place of the system's backup; fails as the system does when the
    // file is there already.
    bool Backup(const std::string& path) override;
    bool CountRecords(DWORD& count) override;
    bool ReadBackwards(BYTE* buffer, DWORD size, DWORD& bytesRead, DWORD& bytesNeeded) override;

private:
    // The next record not yet served, made once and kept until it fits into a read; false
    // past the last record.
    bool Peek();

    std::shared_ptr<const SyntheticLogContent> content_;
    size_t next_ = 0;
    std::string pending_;
    bool hasPending_ = false;
    int reads_ = 0;
};

// An opener that gives a fresh reader over `content` for every log name.
EventLogOpener OpenSynthetic(SyntheticLogContent content);

// An opener that fails with `error` as the system's last error.
EventLogOpener FailToOpen(DWORD error);

}  // namespace testing_support
