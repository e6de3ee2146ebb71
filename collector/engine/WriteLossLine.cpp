#include "engine/WriteLossLine.h"

#include "common/text/Format.h"
#include "console/ConsoleWriter.h"
#include "engine/ErrorText.h"

std::string WriteLossLine(const disk::WriteOutcome& outcome) {
    const std::string reason =
        outcome.floor ? text::Format("less than %u MiB free on %s", outcome.floor->floorMiB, outcome.floor->volume.c_str())
                      : console::ConsoleWriter::OneLine(GetErrorText(outcome.error));
    if (outcome.bytes == 0) return text::Format("Not written: %s: %s!!!", outcome.path.c_str(), reason.c_str());
    return text::Format("Cut short: %s after %llu bytes: %s!!!", outcome.path.c_str(), outcome.bytes, reason.c_str());
}
