#include "inventory/CFileInfo.h"

#include "common/win32/WholeFileTransfer.h"
#include "inventory/ListingFormat.h"

CFileInfo::CFileInfo(std::string baseFolder, std::string outputPath, bool recursive, FreeSpaceFloor& floor,
                     disk::CheckedWriter::Room room)
    : recursive_(recursive ? 1 : 0),
      baseFolder_(std::move(baseFolder)),
      output_(std::move(outputPath), floor, disk::CheckedWriter::LineEnds::kCrLf, room) {}

CFileInfo::~CFileInfo() { topCall_ = true; }

void CFileInfo::Write(std::string_view text) {
    output_.Write(text);
}

void CFileInfo::WriteEntry(const std::string& fullPath, Mode mode) {
    if (mode == Mode::VersionListing) {
        ListFile(fullPath);
        return;
    }
    // A copy a killed run left half-made is no file of the run's to pack.
    if (win32::IsPartialFile(fullPath)) return;
    std::string relative;
    if (inventory::RelativeToBase(fullPath, baseFolder_, relative)) Write(inventory::FormatCabinetLine(relative));
}
