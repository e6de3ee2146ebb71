#pragma once
// A small tree for the walks and the test libraries copied into it.
#include <windows.h>

#include <string>
#include <vector>

#include "TestFiles.h"

namespace inventory_testing {

// The work folder holds R\A.TXT and R\SUB\B.LOG.
struct FolderTree {
    FolderTree();
    testing_support::ScopedWorkFolder work;
    std::string root;  // the full path of R
};

// Copies a library built beside the test program to a full path.
bool CopyFixture(const std::string& library, const std::string& destination);

// Sets the three times of a file, given as local times.
bool SetLocalTimes(const std::string& path, const SYSTEMTIME& created, const SYSTEMTIME& modified,
                   const SYSTEMTIME& accessed);

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);

// The number and path of each block of a version listing, in the order written.
struct Block {
    int number;
    std::string path;
};
std::vector<Block> Blocks(const std::string& listing);

}  // namespace inventory_testing
