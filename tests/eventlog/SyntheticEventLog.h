#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "eventlog/EventLogSource.h"

namespace testing_support {

struct SyntheticRecord {
    DWORD timeWritten = 0;
    DWORD eventId = 0;
    WORD eventType = EVENTLOG_INFORMATION_TYPE;
    std::string source;
    std::string computer = "ZELTRIN-NODE";
    std::vector<std::string> strings;
};

// The record's bytes in the system's EVENTLOGRECORD layout, closing length included.
std::string EventRecordBytes(const SyntheticRecord& record);
void PatchDword(std::string& bytes, size_t offset, DWORD value);
DWORD SecondsAgo(long long secondsAgo);

// A log read backwards as the system does: as many whole records as fit, ERROR_INSUFFICIENT_BUFFER
// for a record larger than the buffer, ERROR_HANDLE_EOF past the last.
struct SyntheticLogContent {
    std::vector<std::string> records;  // newest first, each laid out by EventRecordBytes
    std::function<std::string(size_t index)> generate;  // else records made as read: a huge log held nowhere
    size_t generatedCount = 0;
    std::vector<std::string> rawReads;  // when not empty, the bytes of each read as given
    std::vector<DWORD> rawClaims;       // when not empty, what each raw read claims to have read
    DWORD count = 0;                    // what CountRecords answers
    DWORD countError = 0;               // when set, CountRecords fails with it
    std::function<void()> onRead;       // called before each read
};

// An opener that gives a fresh reader over `content` for every log name.
EventLogOpener OpenSynthetic(SyntheticLogContent content);

}  // namespace testing_support
