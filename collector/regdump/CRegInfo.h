#pragma once
// The registry dump: every key named in "QzRegList.txt" (current directory), with its values
// and all its subkeys, written as text to one file. Built for one dump and destroyed at once.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/disk/CheckedWriter.h"
#include "common/win32/UniqueHandle.h"

class CRegInfo {
public:
    // Opens the key list for reading and the dump file for writing (each line feed written as
    // carriage return and line feed), every block of it asked of the floor. A dump path longer
    // than kMaxDumpPath characters is not opened.
    CRegInfo(std::string dumpPath, FreeSpaceFloor& floor);
    virtual ~CRegInfo();
    CRegInfo(const CRegInfo&) = delete;
    CRegInfo& operator=(const CRegInfo&) = delete;

    static constexpr size_t kMaxDumpPath = 259;  // the path buffer of the run, terminator aside

    // Both files are open; when not, DumpFromList dumps no key.
    bool IsOpen() const noexcept { return static_cast<bool>(listFile_) && output_ && output_->IsOpen(); }
    // Closes the dump and gives what it achieved: whole, cut short, or not written.
    const disk::WriteOutcome& Close();

    void DumpFromList();
    // One key block, if the key opens; nothing otherwise, nor for a subkey that is a link back
    // to a key whose block is being written.
    void DumpKey(HKEY parent, std::string subKey, REGSAM access, int depth);
    // The value lines of an open key, indented by width blanks.
    void DumpValues(HKEY key, int width);
    // The hex dump lines of a binary value.
    void DumpBinary(const BYTE* data, DWORD length);

private:
    void Write(std::string_view text);

    win32::UniqueCStream listFile_;
    std::optional<disk::CheckedWriter> output_;
    disk::WriteOutcome notOpened_;  // the outcome of a dump path too long to open
    HKEY currentHive_ = nullptr;
    std::vector<std::wstring> keysInProgress_;  // real names of the keys from the listed one down
};
