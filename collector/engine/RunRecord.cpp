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
    stepOpen_ = false;
    failureLines_.clear();
    childOutsideAJob_ = false;
}

void RunRecord::BeginStep(int row, const char* name, bool carriedOut) {
    StepRecord step;
    step.row = row;
    step.name = name;
    step.carriedOut = carriedOut;
    ::GetLocalTime(&step.start);
    steps_.push_back(std::move(step));
    stepStartTick_ = ::GetTickCount64();
    stepOpen_ = true;
}

void RunRecord::EndStep() {
    if (!stepOpen_) return;
    steps_.back().durationMilliseconds = ::GetTickCount64() - stepStartTick_;
    stepOpen_ = false;
}

void RunRecord::AddChild(ChildRecord child) {
    if (std::optional<StepProblem> problem = ChildProblem(child))
        AddProblem(std::move(*problem));
    else
        ItemDone();
    if (stepOpen_)
        steps_.back().children.push_back(std::move(child));
    else
        childrenOutsideSteps_.push_back(std::move(child));
}

void RunRecord::AddNotCopied(NotCopiedFile file) {
    if (stepOpen_) steps_.back().notCopied.push_back(std::move(file));
}

ULONGLONG RunRecord::ElapsedMilliseconds() const { return ::GetTickCount64() - runStartTick_; }

unsigned RunRecord::StepsSkipped() const noexcept {
    return static_cast<unsigned>(
        std::count_if(steps_.begin(), steps_.end(), [](const StepRecord& step) { return !step.carriedOut; }));
}

void RunRecord::ItemDone() noexcept {
    if (stepOpen_) ++steps_.back().itemsDone;
}

void RunRecord::AddProblem(StepProblem problem) {
    (stepOpen_ ? steps_.back().problems : problemsOutsideSteps_).push_back(std::move(problem));
}

void RunRecord::AddShortFile(ShortFile file) {
    if (stepOpen_) steps_.back().shortFiles.push_back(std::move(file));
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
