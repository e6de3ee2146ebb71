#include "engine/RunRecord.h"

#include <algorithm>

void RunRecord::StartRun() {
    ::GetLocalTime(&runStart_);
    runStartTick_ = ::GetTickCount64();
    steps_.clear();
    childrenOutsideSteps_.clear();
    originalSizes_.clear();
    stepOpen_ = false;
    failures_ = 0;
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
