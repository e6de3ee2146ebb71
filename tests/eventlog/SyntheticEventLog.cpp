#include "SyntheticEventLog.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <ctime>

#include "common/win32/UniqueHandle.h"

namespace testing_support {

namespace {

constexpr DWORD kLogSignature = 0x654c664c;  // "LfLe", the Reserved field of every record

void PadToDword(std::string& bytes) {
    while (bytes.size() % sizeof(DWORD) != 0) bytes.push_back('\0');
}

}  // namespace

std::string EventRecordBytes(const SyntheticRecord& record) {
    std::string bytes(sizeof(EVENTLOGRECORD), '\0');
    bytes += record.source;
    bytes.push_back('\0');
    bytes += record.computer;
    bytes.push_back('\0');
    PadToDword(bytes);
    DWORD sidOffset = static_cast<DWORD>(bytes.size());
    DWORD stringOffset = sidOffset;
    for (const std::string& text : record.strings) {
        bytes += text;
        bytes.push_back('\0');
    }
    DWORD dataOffset = static_cast<DWORD>(bytes.size());
    PadToDword(bytes);
    bytes.append(sizeof(DWORD), '\0');

    EVENTLOGRECORD header{};
    header.Length = static_cast<DWORD>(bytes.size());
    header.Reserved = kLogSignature;
    header.RecordNumber = 1;
    header.TimeGenerated = record.timeWritten;
    header.TimeWritten = record.timeWritten;
    header.EventID = record.eventId;
    header.EventType = record.eventType;
    header.NumStrings = static_cast<WORD>(record.strings.size());
    header.StringOffset = stringOffset;
    header.UserSidOffset = sidOffset;
    header.DataOffset = dataOffset;
    std::memcpy(bytes.data(), &header, sizeof header);
    PatchDword(bytes, bytes.size() - sizeof(DWORD), header.Length);
    return bytes;
}

void PatchDword(std::string& bytes, size_t offset, DWORD value) { std::memcpy(bytes.data() + offset, &value, sizeof value); }

void PatchWord(std::string& bytes, size_t offset, WORD value) { std::memcpy(bytes.data() + offset, &value, sizeof value); }

DWORD SecondsAgo(long long secondsAgo) {
    return static_cast<DWORD>(static_cast<long long>(std::time(nullptr)) - secondsAgo);
}

bool SyntheticEventLog::Backup(const std::string& path) {
    win32::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    if (!file) {
        if (::GetLastError() == ERROR_FILE_EXISTS) ::SetLastError(ERROR_ALREADY_EXISTS);  // as the system answers
        return false;
    }
    DWORD written = 0;
    return ::WriteFile(file.get(), "synthetic backup", 16, &written, nullptr) != FALSE;
}

bool SyntheticEventLog::CountRecords(DWORD& count) {
    ::SetLastError(content_->countError);
    count = content_->count;
    return content_->countError == 0;
}

bool SyntheticEventLog::ReadBackwards(BYTE* buffer, DWORD size, DWORD& bytesRead, DWORD& bytesNeeded) {
    ++reads_;
    if (content_->onRead) content_->onRead(reads_);
    bytesRead = 0;
    bytesNeeded = 0;
    if (!content_->rawReads.empty()) {
        if (next_ == content_->rawReads.size()) {
            ::SetLastError(ERROR_HANDLE_EOF);
            return false;
        }
        const std::string& read = content_->rawReads[next_];
        std::memcpy(buffer, read.data(), std::min<size_t>(read.size(), size));
        bytesRead = static_cast<DWORD>(std::min<size_t>(read.size(), size));
        if (next_ < content_->rawClaims.size()) bytesRead = content_->rawClaims[next_];
        ++next_;
        return true;
    }
    if (!Peek()) {
        ::SetLastError(ERROR_HANDLE_EOF);
        return false;
    }
    if (pending_.size() > size) {
        bytesNeeded = static_cast<DWORD>(pending_.size());
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    while (Peek() && bytesRead + pending_.size() <= size) {
        std::memcpy(buffer + bytesRead, pending_.data(), pending_.size());
        bytesRead += static_cast<DWORD>(pending_.size());
        hasPending_ = false;
        ++next_;
    }
    return true;
}

bool SyntheticEventLog::Peek() {
    if (hasPending_) return true;
    size_t total = content_->generate ? content_->generatedCount : content_->records.size();
    if (next_ == total) return false;
    pending_ = content_->generate ? content_->generate(next_) : content_->records[next_];
    hasPending_ = true;
    return true;
}

EventLogOpener OpenSynthetic(SyntheticLogContent content) {
    auto shared = std::make_shared<const SyntheticLogContent>(std::move(content));
    return [shared](const std::string&) -> std::unique_ptr<EventLogSource> {
        return std::make_unique<SyntheticEventLog>(shared);
    };
}

EventLogOpener FailToOpen(DWORD error) {
    return [error](const std::string&) -> std::unique_ptr<EventLogSource> {
        ::SetLastError(error);
        return nullptr;
    };
}

}  // namespace testing_support
