#pragma once
#include <string>

namespace testing_support {

// The storage product as an installation leaves it: its registry keys, trace and log files,
// plug-in XML folder, solutions log, snapshot schedules, volume daemon options, licence files,
// snapshot tools (through PQH_HOME and WLT_HOME) and an MPS report tool in the program folder.
// Everything is removed again when the object goes. Tests that use it hold the
// "product_registry" lock: the keys and the licence folder are the machine's.
class SimulatedProduct {
public:
    explicit SimulatedProduct(const std::string& programFolder);
    ~SimulatedProduct();
    SimulatedProduct(const SimulatedProduct&) = delete;
    SimulatedProduct& operator=(const SimulatedProduct&) = delete;

    std::string root;  // the install folder, without a trailing backslash
    std::string okapoTrace;
    std::string yebTrace;
    std::string xmlFolder;
    std::string solutionsFolder;
    std::string kerdFolder;
    std::string licenceFolder;
    std::string clusterSnapshotTool;
    std::string wltSnapshotTool;
    std::string mpsTool;

private:
    std::string licenceRoot_;
};

}  // namespace testing_support
