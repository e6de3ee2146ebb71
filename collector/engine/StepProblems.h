#pragma once
// Why an item of a step did not make it, in the words the manifest gives each step's reasons.
#include <windows.h>

#include <optional>
#include <string>

#include "common/disk/CheckedWriter.h"
#include "engine/RunRecord.h"

// A copy, move, search or write that failed with `error`.
StepProblem ProblemOf(DWORD error, std::string item);
// A child that did not start, did not end well or was ended; nothing for one that ended with 0.
std::optional<StepProblem> ChildProblem(const ChildRecord& child);
// A write of the run's own that is not whole; nothing for a whole one.
std::optional<StepProblem> WriteProblem(const disk::WriteOutcome& outcome);
// "<reason>: <item>", as the manifest and the summary page name it.
std::string ProblemText(const StepProblem& problem);
