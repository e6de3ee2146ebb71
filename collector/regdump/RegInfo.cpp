#include "regdump/CRegInfo.h"

#include "regdump/DumpFormat.h"
#include "regdump/KeyList.h"

namespace {
constexpr const char* kKeyListName = "QzRegList.txt";
}

CRegInfo::CRegInfo(std::string dumpPath) {
    listFile_.reset(std::fopen(kKeyListName, "r"));
    if (dumpPath.size() <= kMaxDumpPath) outputFile_.reset(std::fopen(dumpPath.c_str(), "w"));
}

CRegInfo::~CRegInfo() = default;

void CRegInfo::Write(std::string_view text) {
    if (outputFile_) std::fwrite(text.data(), 1, text.size(), outputFile_.get());
}

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
