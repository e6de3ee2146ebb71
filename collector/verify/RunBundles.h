#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the paths given to -verify name: run folders, and runs' cabinets taken together.

// A run's cabinets are named "<incident>_<node>_<MMDDYYYY__HH-MM-SS>.cab", and a list too long
// for one cabinet goes on in "..._2.cab", "..._3.cab", ...
struct CabinetName {
    std::wstring stem;  // up to and with the time stamp
    unsigned part = 1;  // 1 for the first, which has no number
};
std::optional<CabinetName> SplitCabinetName(std::wstring_view name);

struct Bundle {
    std::wstring folder;                      // a run folder; empty for cabinets
    std::vector<std::wstring> cabinets;       // a run's cabinets beside each other, in order
    std::vector<std::wstring> absentCabinets;  // names of the run's cabinets before the last that are not there
    // How the bundle is named on the console: the folder or the first cabinet, full paths.
    std::wstring Label() const;
};

struct RunBundles {
    std::vector<Bundle> bundles;  // each run once, in the order first named
    std::vector<std::wstring> refusals;  // one line per path that names no bundle
};

// A cabinet is a file that ends in ".cab" or begins as a cabinet does; whatever its name, the
// cabinets of its run beside it are taken with it. A folder is taken as a run folder.
RunBundles FindRunBundles(const std::vector<std::wstring>& paths);
