#include "common/disk/CheckedWriter.h"

#include <cstring>

namespace disk {

CheckedWriter::CheckedWriter(std::string path, FreeSpaceFloor& floor, LineEnds lineEnds, Room room)
    : floor_(floor), room_(room), lineEnds_(lineEnds), folder_(FolderOf(path)) {
    outcome_.path = std::move(path);
    file_.reset(::CreateFileA(outcome_.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    outcome_.opened = static_cast<bool>(file_);
    if (!file_) outcome_.error = ::GetLastError();
    held_.reserve(kBlockBytes + kBlockBytes / 2);
}

CheckedWriter::~CheckedWriter() {
    if (!closed_) Close();
}

void CheckedWriter::Write(std::string_view text) {
    if (Stopped()) return;
    if (lineEnds_ == LineEnds::kAsGiven) {
        // A whole block or more with nothing held goes to the file as it is, without a copy.
        if (held_.empty() && text.size() >= kBlockBytes)
            WriteBlock(text);
        else
            Append(text);
        return;
    }
    while (!text.empty()) {
        const void* found = std::memchr(text.data(), '\n', text.size());
        if (found == nullptr) {
            Append(text);
            return;
        }
        const size_t line = static_cast<size_t>(static_cast<const char*>(found) - text.data());
        Append(text.substr(0, line));
        Append("\r\n");
        text.remove_prefix(line + 1);
    }
}

void CheckedWriter::Append(std::string_view text) {
    held_.append(text);
    if (held_.size() >= kBlockBytes) Flush();
}

void CheckedWriter::Flush() {
    if (held_.empty() || Stopped()) return;
    if (WriteBlock(held_)) held_.clear();
}

bool CheckedWriter::WriteBlock(std::string_view block) {
    const bool startsFile = outcome_.bytes == 0;
    outcome_.floor = room_ == Room::kCollected ? floor_.Shortfall(folder_, block.size(), startsFile)
                                               : floor_.ClosingShortfall(folder_, block.size());
    if (outcome_.floor) {
        Stop(kBelowFloorError);
        return false;
    }
    DWORD written = 0;
    const BOOL wrote = ::WriteFile(file_.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    const DWORD error = wrote ? 0 : ::GetLastError();
    outcome_.bytes += written;
    if (!wrote || written != block.size()) {
        // A short write is the system's way of saying the disk is full.
        Stop(error != 0 ? error : ERROR_DISK_FULL);
        return false;
    }
    return true;
}

void CheckedWriter::Stop(DWORD error) {
    outcome_.error = error;
    held_.clear();
    held_.shrink_to_fit();
}

const WriteOutcome& CheckedWriter::Close(bool wholeOrNothing) {
    if (closed_) return outcome_;
    closed_ = true;
    if (!file_) return outcome_;
    Flush();
    if (!::CloseHandle(file_.release()) && !Stopped()) Stop(::GetLastError());
    if (Stopped() && (outcome_.bytes == 0 || wholeOrNothing)) {
        ::DeleteFileA(outcome_.path.c_str());
        outcome_.bytes = 0;
    }
    return outcome_;
}

}  // namespace disk
