#include "console/SummaryLines.h"

#include "common/text/Format.h"

namespace console {

std::vector<std::string> SummaryLines(const RunSummary& summary) {
    std::vector<std::string> lines;
    lines.push_back("Run folder: " + summary.runFolder);
    lines.push_back(text::Format("Files collected: %zu files, %llu bytes", summary.files, summary.bytes));
    lines.push_back(text::Format("Failures: %u", summary.failures));
    lines.push_back(text::Format("Steps skipped: %u of %zu", summary.stepsSkipped, summary.steps));
    lines.push_back(text::Format("Steps: %u ok, %u partial, %u failed, %u skipped", summary.stepsOk, summary.stepsPartial,
                                 summary.stepsFailed, summary.stepsSkipped));
    lines.push_back(text::Format("Time taken: %.1f s", static_cast<double>(summary.elapsedMilliseconds) / 1000.0));
    lines.push_back(text::Format("Cabinet files: %zu", summary.cabinets.size()));
    for (const CabinetFile& cabinet : summary.cabinets)
        lines.push_back(text::Format("  %s (%llu bytes)", cabinet.path.c_str(), cabinet.bytes));
    return lines;
}

}  // namespace console
