#include "verify/FileDigest.h"

#include <algorithm>

#include "console/ConsoleWriter.h"
#include "engine/ErrorText.h"

namespace {

// The records list one line per file of a run: a record larger than this is no record of ours.
constexpr size_t kMaxRecordBytes = 64 << 20;

}  // namespace

FileDigest::FileDigest(std::string path, HashThread* thread)
    : path_(std::move(path)), thread_(thread), keep_(path_ == kSumsName || path_ == kManifestName) {
    block_ = thread_ != nullptr ? thread_->FreeBlock() : std::string();
    block_.reserve(kHashBlockSize);
}

void FileDigest::Add(const char* data, size_t size) {
    if (error_) return;
    if (keep_ && !tooLarge_) {
        if (kept_.size() + size > kMaxRecordBytes) {
            tooLarge_ = true;
            kept_.clear();
            kept_.shrink_to_fit();
        } else {
            kept_.append(data, size);
        }
    }
    // A whole block needs no copy, unless it goes to the thread.
    if (thread_ == nullptr && block_.empty() && size >= kHashBlockSize) {
        hash_.Add(data, size);
        return;
    }
    while (size > 0) {
        const size_t taken = std::min(size, kHashBlockSize - block_.size());
        block_.append(data, taken);
        data += taken;
        size -= taken;
        if (block_.size() == kHashBlockSize) Flush();
    }
}

void FileDigest::Flush(bool more) {
    if (block_.empty()) return;
    if (thread_ == nullptr) {
        hash_.Add(block_.data(), block_.size());
        block_.clear();
        return;
    }
    thread_->Hash(hash_, std::move(block_));
    block_ = more ? thread_->FreeBlock() : std::string();
}

void FileDigest::Fail(DWORD error) {
    if (!error_) error_ = error;
}

void FileDigest::Finish(BundleContents& contents) {
    if (!error_) Flush();
    Complete(contents);
}

void FileDigest::FinishOn(std::unique_ptr<FileDigest> digest, BundleContents& contents) {
    if (!digest->error_) digest->Flush(false);
    HashThread& thread = *digest->thread_;
    thread.Then([digest = std::shared_ptr<FileDigest>(std::move(digest)), &contents] { digest->Complete(contents); });
}

void FileDigest::DropOn(std::unique_ptr<FileDigest> digest) {
    HashThread& thread = *digest->thread_;
    thread.Then([digest = std::shared_ptr<FileDigest>(std::move(digest))] {});
}

void FileDigest::Complete(BundleContents& contents) {
    if (error_) hash_.Fail(error_);
    const Sha256Result hash = hash_.Finish();
    BundleFile file;
    file.path = path_;
    file.size = hash.bytes;
    file.sha256 = hash.hex;
    if (hash.error) file.unreadable = console::ConsoleWriter::OneLine(GetErrorText(hash.error));
    if (keep_) {
        BundleRecord& record = path_ == kSumsName ? contents.sums : contents.manifest;
        record.found = true;
        if (!file.unreadable.empty())
            record.unreadable = file.unreadable;
        else if (tooLarge_)
            record.unreadable = "larger than " + std::to_string(kMaxRecordBytes >> 20) + " MiB";
        else
            record.text = std::move(kept_);
    }
    contents.files.push_back(std::move(file));
}
