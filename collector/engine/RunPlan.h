#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What a run would do, gathered for "-list" while the capture steps' own actions run in a mode
// in which they copy, write, make and start nothing: each tells the plan what it would do, so
// the plan names the very commands and files a run would.
class RunPlan {
public:
    void Starts(const std::string& command);
    // The starts that follow in this step are a fallback: they run only if the last one fails.
    void IfThatFails() noexcept { fallback_ = true; }
    // A file a copy or move would take; its size when it is there already.
    void Copies(const std::string& source, bool sized, ULONGLONG bytes, bool move);
    // The output file a tool would write, taken into the run folder after it ends.
    void TakesOutput(const std::string& source, bool move);
    // A folder searched for files to copy, with the name or pattern.
    void Searches(const std::string& search);
    // A file the step would write itself (a registry dump, an event log export, a listing).
    void Writes(const std::string& path);

    // The detail lines of the step being planned; the next step starts with none.
    std::vector<std::string> TakeDetails();
    ULONGLONG BytesToCopy() const noexcept { return bytes_; }
    unsigned FilesToCopy() const noexcept { return files_; }

private:
    std::vector<std::string> details_;
    bool fallback_ = false;
    ULONGLONG bytes_ = 0;
    unsigned files_ = 0;
};
