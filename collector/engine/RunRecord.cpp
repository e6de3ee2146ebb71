#include "engine/RunRecord.h"

#include <algorithm>
#include <string_view>

#include "engine/StepProblems.h"

void RunRecord::StartRun() {
    ::GetLocalTime(&runStart_);
    runStartTick_ = ::GetTickCount64();
    steps_.clear();
    childrenOutsideSteps_.clear();
    problemsOutsideSteps_.clear();
    originalSizes_.clear();
    failureLines_.clear();
    childOutsideAJob_ = false;
}

void RunRecord::AddStep(StepRecord step, const std::map<std::string, ULONGLONG>& cutFiles) {
    steps_.push_back(std::move(step));
    // A later row that cut a copy of the same name wrote the file that is there.
    for (const auto& [path, size] : cutFiles) originalSizes_[path] = size;
}

void RunRecord::AddChild(ChildRecord child) {
    if (std::optional<StepProblem> problem = ChildProblem(child)) AddProblem(std::move(*problem));
    childrenOutsideSteps_.push_back(std::move(child));
}

ULONGLONG RunRecord::ElapsedMilliseconds() const { return ::GetTickCount64() - runStartTick_; }

unsigned RunRecord::StepsSkipped() const noexcept {
    return static_cast<unsigned>(
        std::count_if(steps_.begin(), steps_.end(), [](const StepRecord& step) { return !step.carriedOut; }));
}

bool RunRecord::LostData() const noexcept {
    auto lost = [](const std::vector<StepProblem>& problems) {
        return std::any_of(problems.begin(), problems.end(), [](const StepProblem& p) { return p.lostData; });
    };
    return lost(problemsOutsideSteps_) ||
           std::any_of(steps_.begin(), steps_.end(), [&lost](const StepRecord& step) { return lost(step.problems); });
}

const char* StepOutcome(const StepRecord& step) noexcept {
    if (!step.carriedOut) return "skipped";
    if (step.problems.empty()) return "ok";
    return step.itemsDone == 0 ? "failed" : "partial";
}

OutcomeCounts RunRecord::Outcomes() const noexcept {
    OutcomeCounts counts;
    for (const StepRecord& step : steps_) {
        const std::string_view outcome = StepOutcome(step);
        counts.ok += outcome == "ok";
        counts.partial += outcome == "partial";
        counts.failed += outcome == "failed";
        counts.skipped += outcome == "skipped";
    }
    return counts;
}
