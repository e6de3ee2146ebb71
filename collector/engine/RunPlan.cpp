#include "engine/RunPlan.h"

#include <utility>

void RunPlan::Starts(const std::string& command) { details_.push_back("    starts: " + command); }

void RunPlan::Copies(const std::string& source, bool sized, ULONGLONG bytes, bool move) {
    std::string line = move ? "    moves: " : "    copies: ";
    line += source;
    if (sized) {
        line += " (" + std::to_string(bytes) + " bytes)";
        bytes_ += bytes;
        ++files_;
    } else {
        line += " (not there now)";
    }
    details_.push_back(std::move(line));
}

void RunPlan::Searches(const std::string& search) { details_.push_back("    searches: " + search); }

void RunPlan::Writes(const std::string& path) { details_.push_back("    writes: " + path); }

std::vector<std::string> RunPlan::TakeDetails() { return std::exchange(details_, {}); }
