// Reading one record of the system's layout out of a read buffer without trusting it.
#include "eventlog/EventRecord.h"

#include <cstring>

namespace {

constexpr size_t kHeaderSize = sizeof(EVENTLOGRECORD);  // the fixed part; the names follow it

// The zero-terminated text at `offset`, or null when its terminator is not inside the record.
const char* TextAt(std::span<const BYTE> record, size_t offset, size_t& next) {
    if (offset >= record.size()) return nullptr;
    const void* end = std::memchr(record.data() + offset, '\0', record.size() - offset);
    if (end == nullptr) return nullptr;
    next = static_cast<const BYTE*>(end) - record.data() + 1;
    return reinterpret_cast<const char*>(record.data() + offset);
}

}  // namespace

RecordStep ReadEventRecord(std::span<const BYTE> rest) {
    RecordStep step;
    if (rest.size() < sizeof(DWORD)) {
        step.fault = RecordFault::ShorterThanHeader;
        return step;
    }
    std::memcpy(&step.length, rest.data(), sizeof(DWORD));
    if (step.length == 0) {
        step.fault = RecordFault::ZeroLength;
        return step;
    }
    if (step.length < kHeaderSize) {
        step.fault = RecordFault::ShorterThanHeader;
        return step;
    }
    if (step.length > rest.size()) {
        step.fault = RecordFault::BeyondBytesRead;
        return step;
    }
    if (step.length % sizeof(DWORD) != 0) {
        step.fault = RecordFault::Misaligned;
        return step;
    }
    std::span<const BYTE> bytes = rest.first(step.length);
    EVENTLOGRECORD header;
    std::memcpy(&header, bytes.data(), kHeaderSize);

    size_t next = kHeaderSize;
    const char* source = TextAt(bytes, next, next);
    const char* computer = source ? TextAt(bytes, next, next) : nullptr;
    if (computer == nullptr) {
        step.fault = RecordFault::NamesOutside;
        return step;
    }

    std::vector<const char*> strings;
    strings.reserve(header.NumStrings);
    next = header.StringOffset;
    for (WORD i = 0; i < header.NumStrings; ++i) {
        const char* text = header.StringOffset >= kHeaderSize ? TextAt(bytes, next, next) : nullptr;
        if (text == nullptr) {
            step.fault = RecordFault::StringsOutside;
            return step;
        }
        strings.push_back(text);
    }

    std::memcpy(&step.closingLength, bytes.data() + bytes.size() - sizeof(DWORD), sizeof(DWORD));
    if (step.closingLength != step.length) {
        step.fault = RecordFault::ClosingLength;
        return step;
    }

    step.record.timeWritten = header.TimeWritten;
    step.record.eventId = header.EventID;
    step.record.eventType = header.EventType;
    step.record.sourceName = source;
    step.record.computerName = computer;
    step.record.strings = std::move(strings);
    return step;
}

std::string DescribeRecordFault(const RecordStep& step, size_t bytesLeft) {
    std::string text;
    switch (step.fault) {
        case RecordFault::None: break;
        case RecordFault::ZeroLength: text = "its length is 0"; break;
        case RecordFault::ShorterThanHeader:
            if (bytesLeft < sizeof(DWORD)) {
                text = "only ";
                text += std::to_string(bytesLeft);
                text += " bytes are left of the read";
                break;
            }
            text = "its length ";
            text += std::to_string(step.length);
            text += " is shorter than the ";
            text += std::to_string(kHeaderSize);
            text += "-byte record header";
            break;
        case RecordFault::BeyondBytesRead:
            text = "its length ";
            text += std::to_string(step.length);
            text += " runs past the ";
            text += std::to_string(bytesLeft);
            text += " bytes left of the read";
            break;
        case RecordFault::Misaligned:
            text = "its length ";
            text += std::to_string(step.length);
            text += " is not a multiple of 4";
            break;
        case RecordFault::NamesOutside: text = "its source or computer name runs past its end"; break;
        case RecordFault::StringsOutside: text = "its insertion strings lie outside it"; break;
        case RecordFault::ClosingLength:
            text = "its closing length ";
            text += std::to_string(step.closingLength);
            text += " differs from its length ";
            text += std::to_string(step.length);
            break;
    }
    return text;
}
