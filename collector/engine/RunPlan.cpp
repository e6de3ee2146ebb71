#include "engine/RunPlan.h"

#include <utility>

void RunPlan::Starts(const std::string& command) {
    details_.push_back((fallback_ ? "    starts, if that fails: " : "    starts: ") + command);
}

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

void RunPlan::TakesOutput(const std::string& source, bool move) {
    details_.push_back((move ? "    moves: " : "    copies: ") + source + " (the tool's output)");
}

void RunPlan::Searches(const std::string& search) { details_.push_back("    searches: " + search); }

void RunPlan::Writes(const std::string& path) { details_.push_back("    writes: " + path); }

std::vector<std::string> RunPlan::TakeDetails() {
    fallback_ = false;
    return std::exchange(details_, {});
}
