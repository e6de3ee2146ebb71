#pragma once
#include <windows.h>

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// One record of the read buffer, checked and read in place: the texts point into the buffer.
struct EventRecord {
    DWORD timeWritten = 0;  // seconds since 1970, UTC
    DWORD eventId = 0;
    WORD eventType = 0;
    const char* sourceName = "";
    const char* computerName = "";
    std::vector<const char*> strings;  // the insertion strings, in order
};

// Why a record cannot be trusted. Log files on disk can be damaged, and the walk over a read
// buffer goes by the lengths the records give.
enum class RecordFault {
    None,
    ZeroLength,
    ShorterThanHeader,
    BeyondBytesRead,
    Misaligned,     // the system pads every record to a DWORD
    NamesOutside,
    StringsOutside,
    ClosingLength,  // the record's last DWORD repeats its length
};

struct RecordStep {
    RecordFault fault = RecordFault::None;
    DWORD length = 0;         // the record's own length: where the next one starts
    DWORD closingLength = 0;  // the copy of it at the record's end
    EventRecord record;
};

// Reads the record at the start of `rest` (the bytes of the buffer not yet walked). A record
// whose length, names or insertion strings do not lie wholly inside `rest` is refused, and so
// is one whose length is not that of a record in the system's layout: walking on by it would
// read the next record from the wrong place and export whatever bytes stand there.
RecordStep ReadEventRecord(std::span<const BYTE> rest);

// What a report line says about a refused record.
std::string DescribeRecordFault(const RecordStep& step, size_t bytesLeft);
