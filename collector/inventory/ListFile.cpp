#include "inventory/CFileInfo.h"
#include "inventory/ListingFormat.h"

namespace {

// Local time by the current time zone's rules for that date, daylight saving included.
SYSTEMTIME LocalTimeOf(const FILETIME& utc) {
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    ::FileTimeToSystemTime(&utc, &universal);
    if (!::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) local = universal;
    return local;
}

}  // namespace

void CFileInfo::ListFile(std::string path) {
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA(path.c_str(), &found));
    if (!search) return;
    const int entryNumber = ++entryNumber_;
    Write(inventory::FormatFileBlock(entryNumber, path, found.nFileSizeLow, LocalTimeOf(found.ftCreationTime),
                                     LocalTimeOf(found.ftLastWriteTime), LocalTimeOf(found.ftLastAccessTime)));
    if (ReadVersionResource(path)) {
        for (const char* name : {"CompanyName", "FileDescription", "FileVersion", "ProductVersion"})
            Write(inventory::FormatVersionLine(name, VersionValue(name)));
    }
    Write("\n");
}
