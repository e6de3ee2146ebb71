#include "engine/StepProblems.h"

#include "common/text/Format.h"

namespace {
// The severity bits of an NTSTATUS error: a process that ends with such a code ended on an
// exception (0xC0000005 for an access violation), not by its own choice.
constexpr DWORD kExceptionSeverity = 0xC0000000;
}  // namespace

StepProblem ProblemOf(DWORD error, std::string item) {
    StepProblem problem;
    problem.item = std::move(item);
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_NO_MORE_FILES:
        problem.reason = "not found on this machine";
        break;
    case ERROR_ACCESS_DENIED:
        problem.reason = "access denied";
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        problem.reason = "in use";
        break;
    case kBelowFloorError:
        problem.reason = "refused by the floor";
        problem.lostData = true;
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        problem.reason = "too long";
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_WRITE_FAULT:
    case ERROR_WRITE_PROTECT:
        problem.reason = "write error";
        problem.lostData = true;
        break;
    default:
        problem.reason = text::Format("error %lu", static_cast<unsigned long>(error));
        break;
    }
    return problem;
}

std::optional<StepProblem> ChildProblem(const ChildRecord& child) {
    if (!child.started) return ProblemOf(child.error, child.commandLine);
    StepProblem problem;
    problem.item = child.commandLine;
    if (child.timedOut) {
        problem.reason = "time limit";
        problem.lostData = true;
    } else if (child.error != 0) {
        problem.reason = text::Format("error %lu", static_cast<unsigned long>(child.error));
    } else if ((child.exitCode & kExceptionSeverity) == kExceptionSeverity) {
        problem.reason = "tool crashed";
    } else if (child.exitCode != 0) {
        problem.reason = text::Format("tool exit code %lu", static_cast<unsigned long>(child.exitCode));
    } else {
        return std::nullopt;
    }
    return problem;
}

std::optional<StepProblem> WriteProblem(const disk::WriteOutcome& outcome) {
    if (outcome.Whole()) return std::nullopt;
    if (outcome.bytes == 0) {
        StepProblem problem = ProblemOf(outcome.error, outcome.path);
        // Whatever stopped it, a file of the run's own that could not be written is lost.
        if (!problem.lostData) problem.reason = "write error";
        problem.lostData = true;
        return problem;
    }
    return StepProblem{"cut short", outcome.path, true};
}

std::string ProblemText(const StepProblem& problem) { return problem.reason + ": " + problem.item; }
