#pragma once
#include <windows.h>

#include <map>
#include <string>

#include "common/win32/UniqueHandle.h"

// The message modules of one export, each loaded once as a data file and kept until the
// export ends: loading a module for every record is what makes an export slow. A path that
// does not load is remembered too and not tried again during the export.
class MessageModuleCache {
public:
    // The module of `path`, or null when it does not load.
    HMODULE Load(const std::string& path);
    // Ends one record: without `keepAcrossRecords` every module is freed again.
    void EndRecord();
    void Clear() noexcept { modules_.clear(); }

    // How often a module has been asked of the system (successful or not).
    size_t LoadsMade() const noexcept { return loadsMade_; }

    // Off only to measure what the cache saves; the output is the same either way.
    bool keepAcrossRecords = true;

private:
    std::map<std::string, win32::UniqueModule> modules_;
    size_t loadsMade_ = 0;
};
