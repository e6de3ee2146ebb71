#pragma once
// The file inventory: one walk of a folder writing either a version listing (a block per file
// with size, times and version strings) or a cabinet list (a quoted line per file for the
// packer). Built for one walk and destroyed at once; the entry number runs on across walks.
#include <windows.h>

#include <atomic>
#include <string>
#include <string_view>

#include "common/disk/CheckedWriter.h"
#include "common/win32/UniqueHandle.h"

class CFileInfo {
public:
    enum class Mode { VersionListing, CabinetList };

    // Opens the output file for writing, each line feed written as carriage return and line
    // feed, every block asked of the floor for the room of `room`.
    CFileInfo(std::string baseFolder, std::string outputPath, bool recursive, FreeSpaceFloor& floor,
              disk::CheckedWriter::Room room = disk::CheckedWriter::Room::kCollected);
    virtual ~CFileInfo();
    CFileInfo(const CFileInfo&) = delete;
    CFileInfo& operator=(const CFileInfo&) = delete;

    static constexpr size_t kMaxVersionValue = 4095;  // each version string's buffer, terminator aside

    bool IsOpen() const noexcept { return output_.IsOpen(); }
    // Closes the output and gives what it achieved: whole, cut short, or not written.
    const disk::WriteOutcome& Close() { return output_.Close(); }

    // Walks a full path, possibly ending in a wildcard pattern; the pattern is set by the
    // top call and reused by the inner ones.
    void ListFolder(std::string path, std::string& pattern, Mode mode);
    // One version-listing block; nothing when the path is not found.
    void ListFile(std::string path);
    // True when the version strings of the file are in the table.
    bool ReadVersionResource(std::string path);
    // Fills the table from a loaded version resource.
    bool ReadVersionStrings(const void* block, DWORD size);

    // Blocks written by this program so far: the last block's number.
    static int EntryNumber() noexcept { return entryNumber_; }
    // Set outside a walk; the first recursion clears it, destroying a CFileInfo sets it.
    static bool IsTopCall() noexcept { return topCall_; }
    // How often this walk left a path out because it would not fit the walk's path buffers
    // (a folder can count once in each pass). The limit also bounds the depth of a walk
    // that a folder link leads back into itself.
    int SkippedPaths() const noexcept { return skippedPaths_; }

private:
    struct VersionString {
        const char* name;
        std::string value;
    };

    const std::string& VersionValue(std::string_view name) const;
    void Write(std::string_view text);
    void WriteEntry(const std::string& fullPath, Mode mode);

    unsigned char recursive_ = 0;
    std::string baseFolder_;
    disk::CheckedWriter output_;
    int skippedPaths_ = 0;

    // Per thread: listings made side by side each walk on their own. The entry number runs on
    // across the walks of the whole program, as the listings are numbered.
    inline static thread_local bool topCall_ = true;
    inline static std::atomic<int> entryNumber_{0};
    VersionString versionTable_[12] = {
        {"Comments", {}},       {"CompanyName", {}},      {"FileDescription", {}},  {"FileVersion", {}},
        {"InternalName", {}},   {"LegalCopyright", {}},   {"LegalTrademarks", {}},  {"OriginalFilename", {}},
        {"ProductName", {}},    {"ProductVersion", {}},   {"PrivateBuild", {}},     {"SpecialBuild", {}},
    };
    DWORD currentTranslation_ = 0;  // language in the low word, code page in the high word
};
