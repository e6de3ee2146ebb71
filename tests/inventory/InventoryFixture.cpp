#include "InventoryFixture.h"

#include <windows.h>

#include <regex>

#include "TestFiles.h"

namespace inventory_testing {

bool CopyFixture(const std::string& library, const std::string& destination) {
    return ::CopyFileA((testing_support::ProgramFolder() + "\\" + library).c_str(), destination.c_str(), FALSE);
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
