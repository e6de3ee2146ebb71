#include "run/StepCoordinator.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/profile/SectionTimer.h"
#include "console/ConsoleWriter.h"
#include "engine/Collection.h"
#include "run/OrderedStepOutput.h"
#include "run/StepOrder.h"

namespace {

constexpr unsigned kDefaultStepThreads = 4;

enum class RowState { kWaiting, kRunning, kDone };

class Coordinator {
public:
    Coordinator(Collection& collection, std::span<const CaptureStep> steps)
        : collection_(collection),
          steps_(steps),
          facts_(collection.Facts()),
          output_(collection, steps),
          services_(collection.floor, output_, nullptr, collection.View().BoxOwner(), collection.run.osFolderMade,
                    collection.run.vmFolderMade, collection.record.ChildOutsideAJobMark()),
          states_(steps.size(), RowState::kWaiting) {
        for (const CaptureStep& step : steps) carriedOut_.push_back(StepRuns(step, facts_));
        waits_ = RowsToWaitFor(steps, carriedOut_);
    }

    void Run(unsigned threads) {
        threads_ = threads;
        std::vector<std::thread> helpers;
        for (unsigned n = 1; n < threads; ++n) helpers.emplace_back([this] { Work(); });
        Work();
        for (std::thread& helper : helpers) helper.join();
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    bool Ready(size_t index) const {
        if (states_[index] != RowState::kWaiting) return false;
        return std::all_of(waits_[index].begin(), waits_[index].end(),
                           [this](size_t earlier) { return states_[earlier] == RowState::kDone; });
    }

    // The earliest row that may start, or none; `rest` tells whether any row is still to start.
    std::optional<size_t> NextRow(bool& rest) const {
        rest = false;
        for (size_t index = 0; index < states_.size(); ++index) {
            if (states_[index] != RowState::kWaiting) continue;
            rest = true;
            if (Ready(index)) return index;
        }
        return std::nullopt;
    }

    void Work() {
        for (;;) {
            size_t index = 0;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                std::optional<size_t> next;
                changed_.wait(lock, [&] {
                    bool rest = false;
                    next = failure_ ? std::nullopt : NextRow(rest);
                    return failure_ || next || !rest;
                });
                if (!next) return;
                index = *next;
                states_[index] = RowState::kRunning;
                SayRunning();
            }
            try {
                RunRow(index);
            } catch (...) {
                std::lock_guard<std::mutex> lock(mutex_);
                if (!failure_) failure_ = std::current_exception();
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                states_[index] = RowState::kDone;
            }
            changed_.notify_all();
        }
    }

    // Whoever watches a run of several threads learns which rows work at once.
    void SayRunning() const {
        if (threads_ < 2 || collection_.console == nullptr) return;
        std::string rows;
        unsigned running = 0;
        for (size_t index = 0; index < states_.size(); ++index) {
            if (states_[index] != RowState::kRunning || !carriedOut_[index]) continue;
            rows += (rows.empty() ? "" : ", ") + std::to_string(steps_[index].row);
            ++running;
        }
        if (running > 1) collection_.console->WriteLine("Rows running: " + rows);
    }

    void RunRow(size_t index) {
        const CaptureStep& step = steps_[index];
        ZELTRIN_PROFILE_SECTION("row " + std::to_string(step.row));
        StepContext context(facts_, services_, step.row, step.name, carriedOut_[index]);
        if (carriedOut_[index])
            CarryOutStep(step, context);
        else if (step.skippingText)
            context.SetStatusText(step.skippingText);
        StepRecord record = context.Finish();
        if (!carriedOut_[index]) record.skipReason = StepSkipReason(step, facts_);
        output_.Finish(step.row, std::move(record), context.CutFiles());
    }

    Collection& collection_;
    std::span<const CaptureStep> steps_;
    const RunFacts facts_;
    OrderedStepOutput output_;
    StepServices services_;
    std::vector<bool> carriedOut_;
    std::vector<std::vector<size_t>> waits_;
    unsigned threads_ = 1;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<RowState> states_;
    std::exception_ptr failure_;
};

}  // namespace

unsigned StepThreads(unsigned asked) {
    if (asked != 0) return asked;
    SYSTEM_INFO system{};
    ::GetSystemInfo(&system);
    return std::clamp<unsigned>(system.dwNumberOfProcessors, 1, kDefaultStepThreads);
}

void RunCaptureSteps(Collection& collection) {
    Coordinator(collection, CaptureStepTable()).Run(StepThreads(collection.unattended.stepThreads));
}
