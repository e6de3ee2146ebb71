#include "eventlog/MessageModuleCache.h"

HMODULE MessageModuleCache::Load(const std::string& path) {
    auto found = modules_.find(path);
    if (found != modules_.end()) return found->second.get();
    ++loadsMade_;
    // Loaded as data only: nothing of a message file is ever run.
    win32::UniqueModule module(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HMODULE handle = module.get();
    modules_.emplace(path, std::move(module));
    return handle;
}

void MessageModuleCache::EndRecord() {
    if (!keepAcrossRecords) Clear();
}
