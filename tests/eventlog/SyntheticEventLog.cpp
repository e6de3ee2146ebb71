#include "SyntheticEventLog.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace testing_support {

namespace {

void PadToDword(std::string& bytes) { bytes.resize((bytes.size() + 3) / 4 * 4, '\0'); }

class SyntheticEventLog final : public EventLogSource {
public:
    explicit SyntheticEventLog(std::shared_ptr<const SyntheticLogContent> content) : content_(std::move(content)) {}

    bool Backup(const std::string&) override { return false; }  // only the system's own backup is tested

    bool CountRecords(DWORD& count) override {
        ::SetLastError(content_->countError);
        count = content_->count;
        return content_->countError == 0;
    }

    bool ReadBackwards(BYTE* buffer, DWORD size, DWORD& bytesRead, DWORD& bytesNeeded) override {
        if (content_->onRead) content_->onRead();
        bytesRead = bytesNeeded = 0;
        const auto& raw = content_->rawReads;
        if (!raw.empty() && next_ < raw.size()) {
            bytesRead = static_cast<DWORD>(std::min<size_t>(raw[next_].size(), size));
            std::memcpy(buffer, raw[next_].data(), bytesRead);
            if (next_ < content_->rawClaims.size()) bytesRead = content_->rawClaims[next_];
            ++next_;
            return true;
        }
        if (!raw.empty() || !Peek()) {
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

private:
    // The next record not yet served, made once and kept until it fits into a read.
    bool Peek() {
        if (hasPending_) return true;
        if (next_ == (content_->generate ? content_->generatedCount : content_->records.size())) return false;
        pending_ = content_->generate ? content_->generate(next_) : content_->records[next_];
        return hasPending_ = true;
    }

    std::shared_ptr<const SyntheticLogContent> content_;
    size_t next_ = 0;
    std::string pending_;
    bool hasPending_ = false;
};

}  // namespace

std::string EventRecordBytes(const SyntheticRecord& record) {
    std::string bytes(sizeof(EVENTLOGRECORD), '\0');
    bytes += record.source + '\0' + record.computer + '\0';
    PadToDword(bytes);
    EVENTLOGRECORD header{};
    header.StringOffset = header.UserSidOffset = static_cast<DWORD>(bytes.size());
    for (const std::string& text : record.strings) bytes += text + '\0';
    header.DataOffset = static_cast<DWORD>(bytes.size());
    PadToDword(bytes);
    bytes.append(sizeof(DWORD), '\0');
    header.Length = static_cast<DWORD>(bytes.size());
    header.TimeGenerated = header.TimeWritten = record.timeWritten;
    header.EventID = record.eventId;
    header.EventType = record.eventType;
    header.NumStrings = static_cast<WORD>(record.strings.size());
    std::memcpy(bytes.data(), &header, sizeof header);
    PatchDword(bytes, bytes.size() - sizeof(DWORD), header.Length);
    return bytes;
}

void PatchDword(std::string& bytes, size_t offset, DWORD value) { std::memcpy(bytes.data() + offset, &value, sizeof value); }

DWORD SecondsAgo(long long secondsAgo) { return static_cast<DWORD>(std::time(nullptr) - secondsAgo); }

EventLogOpener OpenSynthetic(SyntheticLogContent content) {
    auto shared = std::make_shared<const SyntheticLogContent>(std::move(content));
    return [shared](const std::string&) -> std::unique_ptr<EventLogSource> {
        return std::make_unique<SyntheticEventLog>(shared);
    };
}

}  // namespace testing_support
