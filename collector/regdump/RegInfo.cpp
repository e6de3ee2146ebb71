#include "regdump/CRegInfo.h"

#include "regdump/DumpFormat.h"
#include "regdump/KeyList.h"

namespace {
constexpr const char* kKeyListName = "QzRegList.txt";
}

CRegInfo::CRegInfo(std::string dumpPath, FreeSpaceFloor& floor) {
    listFile_.reset(std::fopen(kKeyListName, "r"));
    if (dumpPath.size() <= kMaxDumpPath)
        output_.emplace(std::move(dumpPath), floor, disk::CheckedWriter::LineEnds::kCrLf);
    else
        notOpened_ = {std::move(dumpPath), false, 0, ERROR_FILENAME_EXCED_RANGE, std::nullopt};
}

CRegInfo::~CRegInfo() = default;

void CRegInfo::Write(std::string_view text) {
    if (output_) output_->Write(text);
}

const disk::WriteOutcome& CRegInfo::Close() { return output_ ? output_->Close() : notOpened_; }

void CRegInfo::DumpFromList() {
    if (!IsOpen()) return;
    std::string line;
    while (regdump::ReadListLine(listFile_.get(), line)) {
        std::optional<regdump::ListEntry> entry = regdump::ParseListLine(line);
        if (!entry) continue;
        currentHive_ = regdump::HiveFromName(entry->hive);
        Write(regdump::FormatHeaderLine(entry->hive, entry->subKey));
        if (currentHive_ && entry->dumpable) DumpKey(currentHive_, entry->subKey, KEY_READ, 0);
    }
    currentHive_ = nullptr;
}
