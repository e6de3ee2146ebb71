#include "InventoryFixture.h"

#include <gtest/gtest.h>

#include <regex>

namespace inventory_testing {

FolderTree::FolderTree() : root(work.Path() + "\\R") {
    EXPECT_TRUE(::CreateDirectoryA(root.c_str(), nullptr));
    EXPECT_TRUE(::CreateDirectoryA((root + "\\SUB").c_str(), nullptr));
    testing_support::WriteWholeFile(root + "\\A.TXT", "alpha");
    testing_support::WriteWholeFile(root + "\\SUB\\B.LOG", "beta log");
}

bool CopyFixture(const std::string& library, const std::string& destination) {
    return ::CopyFileA((testing_support::ProgramFolder() + "\\" + library).c_str(), destination.c_str(), FALSE);
}

namespace {

FILETIME FromLocal(const SYSTEMTIME& local) {
    SYSTEMTIME universal{};
    FILETIME file{};
    ::TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal);
    ::SystemTimeToFileTime(&universal, &file);
    return file;
}

}  // namespace

bool SetLocalTimes(const std::string& path, const SYSTEMTIME& created, const SYSTEMTIME& modified,
                   const SYSTEMTIME& accessed) {
    win32::UniqueFile file(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    FILETIME c = FromLocal(created);
    FILETIME m = FromLocal(modified);
    FILETIME a = FromLocal(accessed);
    return ::SetFileTime(file.get(), &c, &a, &m);
}

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

std::vector<Block> Blocks(const std::string& listing) {
    static const std::regex header("\\[(\\d+)\\]\\t\\[([^\\]]*)\\] +-?\\d+ Bytes\\r\\n");
    std::vector<Block> blocks;
    for (auto match = std::sregex_iterator(listing.begin(), listing.end(), header); match != std::sregex_iterator();
         ++match)
        blocks.push_back({std::stoi((*match)[1].str()), (*match)[2].str()});
    return blocks;
}

}  // namespace inventory_testing
