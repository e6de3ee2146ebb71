#include "manifest/SummaryOfRun.h"

#include <map>

#include "common/text/Format.h"
#include "engine/Collection.h"
#include "engine/OptionTable.h"
#include "engine/StepProblems.h"
#include "manifest/JsonWriter.h"
#include "manifest/ManifestFields.h"
#include "manifest/ManifestJson.h"

namespace {

SummaryProgram ProgramOf(const ChildRecord& child, const RedactionState& redaction) {
    SummaryProgram program;
    program.commandLine = AnsiToUtf8(redaction.Redacted(child.commandLine));
    program.started = child.started;
    program.exitCode = child.exitCode;
    program.error = child.error;
    program.timedOut = child.timedOut;
    if (child.started) program.milliseconds = child.milliseconds;
    return program;
}

}  // namespace

SummaryFacts SummaryOfRun(const Collection& collection, const std::vector<HashedFile>& files, int exitStatus) {
    const RedactionState& redaction = collection.redaction;
    auto text = [&redaction](const std::string& ansi) { return AnsiToUtf8(redaction.Redacted(ansi)); };
    SummaryFacts facts;
    facts.version = text(collection.programVersion);
    facts.incident = text(collection.run.bugFolderNumber);
    facts.machine = text(redaction.done ? redaction.cabinetNode : collection.folders.nodeName);
    facts.runFolder = text(collection.run.runFolder);
    facts.start = ManifestTime(collection.record.RunStart());
    facts.milliseconds = collection.record.ElapsedMilliseconds();
    facts.exitStatus = exitStatus;
    for (const std::string& line : collection.record.FailureLines()) facts.failureLines.push_back(text(line));
    for (const StepProblem& problem : collection.record.ProblemsOutsideSteps())
        facts.reasonsOutsideSteps.push_back(text(ProblemText(problem)));

    std::map<std::string, const HashedFile*> byPath;
    for (const HashedFile& file : files) byPath[file.relativePath] = &file;
    std::map<std::string, bool> cut;
    for (const StepRecord& record : collection.record.Steps()) {
        SummaryStep step;
        step.row = record.row;
        step.name = record.name;
        step.outcome = StepOutcome(record);
        if (!record.carriedOut) step.reasons.push_back(text(record.skipReason));
        for (const StepProblem& problem : record.problems) step.reasons.push_back(text(ProblemText(problem)));
        step.milliseconds = record.durationMilliseconds;
        for (const ChildRecord& child : record.children) step.programs.push_back(ProgramOf(child, redaction));
        for (const std::string& path : record.filesProduced) {
            auto found = byPath.find(redaction.PackedPath(path));
            if (found == byPath.end()) continue;
            ++step.files;
            step.bytes += found->second->size;
        }
        for (const ShortFile& file : record.shortFiles) {
            const std::string& packed = redaction.PackedPath(file.path);
            cut[packed] = true;
            facts.losses.push_back({text(packed), file.bytes == 0 ? "not written"
                                                                  : text::Format("cut short after %llu bytes", file.bytes)});
        }
        for (const NotCopiedFile& file : record.notCopied)
            facts.losses.push_back({text(file.source), text::Format("not copied (%llu bytes)", file.bytes)});
        facts.steps.push_back(std::move(step));
    }
    for (const WithheldFile& file : redaction.withheld)
        facts.losses.push_back({text(file.relativePath), "withheld: " + text(file.reason)});

    facts.files.reserve(files.size());
    for (const HashedFile& file : files)
        facts.files.push_back({text(file.relativePath), file.size, file.sha256, cut.count(file.relativePath) != 0});
    for (const OptionRow& row : OptionTable())
        facts.options.emplace_back(row.manifestName, collection.options.*row.flag ? "on" : "off");
    for (const DetectionField& field : DetectionFields()) {
        if (field.flag)
            facts.detection.emplace_back(field.name, collection.detection.*field.flag ? "yes" : "no");
        else
            facts.detection.emplace_back(field.name, text(collection.detection.*field.text));
    }
    return facts;
}
