#pragma once
// What the packaging tests of tests/run share with the inventory's: the test libraries and the
// blocks of a version listing.
#include <string>
#include <vector>

#include "TestFiles.h"

namespace inventory_testing {

// Copies a library built beside the test program to a full path.
bool CopyFixture(const std::string& library, const std::string& destination);

// The number and path of each block of a version listing, in the order written.
struct Block {
    int number;
    std::string path;
};
std::vector<Block> Blocks(const std::string& listing);

}  // namespace inventory_testing
