#include "inventory/CFileInfo.h"

#include "inventory/ListingFormat.h"

CFileInfo::CFileInfo(std::string baseFolder, std::string outputPath, bool recursive)
    : recursive_(recursive ? 1 : 0), baseFolder_(std::move(baseFolder)) {
    outputFile_.reset(std::fopen(outputPath.c_str(), "w"));
}

CFileInfo::~CFileInfo() { topCall_ = true; }

void CFileInfo::Write(std::string_view text) {
    if (outputFile_) std::fwrite(text.data(), 1, text.size(), outputFile_.get());
}

void CFileInfo::WriteEntry(const std::string& fullPath, Mode mode) {
    if (mode == Mode::VersionListing) {
        ListFile(fullPath);
        return;
    }
    std::string relative;
    if (inventory::RelativeToBase(fullPath, baseFolder_, relative)) Write(inventory::FormatCabinetLine(relative));
}
