#pragma once
#include <windows.h>

#include <fdi.h>

#include <string>

#include "common/win32/UniqueHandle.h"
#include "verify/BundleContents.h"
#include "verify/HashThread.h"

// Cabinets read through the system's cabinet library (cabinet.dll, taken from the system
// folder), never unpacked to disk: each file's bytes go straight from the decompressor into its
// hash, which a thread of its own makes meanwhile. One reader serves any number of cabinets, one
// after the other.
class CabinetReader {
public:
    CabinetReader();
    ~CabinetReader();
    CabinetReader(const CabinetReader&) = delete;
    CabinetReader& operator=(const CabinetReader&) = delete;

    // Every file of the cabinet into the contents. A cabinet that cannot be read, or only in
    // part, adds the line "Not readable: <cabinet>: <reason>"; a file it stopped in is left out.
    void Read(const std::wstring& cabinet, BundleContents& contents);

private:
    win32::UniqueModule library_;
    decltype(&::FDICopy) copy_ = nullptr;
    decltype(&::FDIDestroy) destroy_ = nullptr;
    ERF error_{};  // where the library puts the error of each call
    HFDI context_ = nullptr;
    std::string unusable_;  // why the library cannot read any cabinet
    HashThread hashing_;
};
