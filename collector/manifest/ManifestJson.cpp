#include "manifest/ManifestJson.h"

#include <map>

#include "common/text/Format.h"
#include "engine/Collection.h"
#include "engine/OptionTable.h"
#include "engine/StepProblems.h"
#include "manifest/JsonWriter.h"
#include "manifest/ManifestFields.h"
#include "manifest/Sha256.h"

namespace {

// A copy cut to its newest part ("maxfile=") names the size of the whole beside its own; a file
// of the run's own writing that was cut short says so.
struct FileMarks {
    std::map<std::string, ULONGLONG> originalSizes;
    std::map<std::string, ULONGLONG> cutShort;
};

void WriteHashedFile(JsonWriter& json, const HashedFile& file, const FileMarks& marks) {
    json.BeginObject();
    json.Member("path", file.relativePath);
    json.Member("size", file.size);
    auto original = marks.originalSizes.find(file.relativePath);
    if (original != marks.originalSizes.end()) json.Member("originalSize", original->second);
    if (marks.cutShort.count(file.relativePath) != 0) json.Member("cut", true);
    if (file.error)
        json.Member("error", file.error);
    else
        json.Member("sha256", file.sha256);
    json.EndObject();
}

void WriteOptions(JsonWriter& json, const OptionFlags& options) {
    json.Key("options");
    json.BeginObject();
    for (const OptionRow& row : OptionTable()) json.Member(row.manifestName, options.*row.flag);
    json.EndObject();
}

void WriteUnattended(JsonWriter& json, const Collection& collection) {
    json.Key("unattended");
    json.BeginObject();
    json.Member("quiet", collection.unattended.quiet);
    json.Member("timeoutSeconds", collection.unattended.timeoutSeconds);
    json.Member("noShare", collection.unattended.noShare);
    json.Member("destinationRoot", collection.entries.destinationFolder);
    json.Member("shareRoot", collection.run.networkShareRoot);
    json.EndObject();
}

void WriteDetection(JsonWriter& json, const DetectionResults& detection) {
    json.Key("detection");
    json.BeginObject();
    for (const DetectionField& field : DetectionFields()) {
        if (field.flag)
            json.Member(field.name, detection.*field.flag);
        else
            json.Member(field.name, detection.*field.text);
    }
    json.EndObject();
}

void WriteChild(JsonWriter& json, const ChildRecord& child) {
    json.BeginObject();
    json.Member("commandLine", child.commandLine);
    json.Member("started", child.started);
    if (child.started) {
        json.Member("exitCode", child.exitCode);
        json.Member("timedOut", child.timedOut);
        json.Member("milliseconds", child.milliseconds);
        // A wait or exit code read that failed: the exit code above is no result of the child.
        if (child.error != 0) json.Member("error", child.error);
    } else {
        json.Member("error", child.error);
    }
    json.EndObject();
}

// A file a step produced that is gone by the end of the run (a later step moved it) is
// named with the error of looking for it, not with a hash it no longer has.
void WriteProduced(JsonWriter& json, const std::string& path, const std::map<std::string, const HashedFile*>& byPath,
                   const FileMarks& marks) {
    auto found = byPath.find(path);
    if (found != byPath.end()) {
        WriteHashedFile(json, *found->second, marks);
        return;
    }
    json.BeginObject();
    json.Member("path", path);
    json.Member("error", static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    json.EndObject();
}

void WriteSteps(JsonWriter& json, const RunRecord& record, const std::map<std::string, const HashedFile*>& byPath,
                const RedactionState& redaction, const FileMarks& marks) {
    json.ArrayMember("steps", record.Steps(), [&](const StepRecord& step) {
        json.BeginObject();
        json.Member("row", step.row);
        json.Member("name", step.name);
        json.Member("carriedOut", step.carriedOut);
        json.Member("outcome", StepOutcome(step));
        if (step.carriedOut)
            json.ArrayMember("reasons", step.problems, [&json](const StepProblem& problem) { json.String(ProblemText(problem)); });
        else
            json.ArrayMember("reasons", std::vector<std::string>{step.skipReason}, [&json](const std::string& why) { json.String(why); });
        json.Member("start", ManifestTime(step.start));
        json.Member("durationMilliseconds", step.durationMilliseconds);
        json.ArrayMember("children", step.children, [&json](const ChildRecord& child) { WriteChild(json, child); });
        json.ArrayMember("files", step.filesProduced, [&](const std::string& path) {
            WriteProduced(json, redaction.PackedPath(path), byPath, marks);
        });
        // Files of the step's own writing that are not whole: "size" is what they hold (0: not written).
        if (!step.shortFiles.empty())
            json.ArrayMember("cut", step.shortFiles, [&](const ShortFile& file) {
                json.Object("path", redaction.PackedPath(file.path), "size", file.bytes);
            });
        // Files the free-space floor kept out: failures of the run, as the report says.
        if (!step.notCopied.empty())
            json.ArrayMember("notCopied", step.notCopied,
                             [&json](const NotCopiedFile& file) { json.Object("source", file.source, "size", file.bytes); });
        json.EndObject();
    });
    // Only a refused packaging command is known by the time the manifest is written.
    if (!record.ChildrenOutsideSteps().empty())
        json.ArrayMember("childrenOutsideSteps", record.ChildrenOutsideSteps(),
                         [&json](const ChildRecord& child) { WriteChild(json, child); });
    if (!record.ProblemsOutsideSteps().empty())
        json.ArrayMember("reasonsOutsideSteps", record.ProblemsOutsideSteps(),
                         [&json](const StepProblem& problem) { json.String(ProblemText(problem)); });
}

// What "redact" did: the manifest itself is written through the same stand-ins.
void WriteRedaction(JsonWriter& json, const RedactionState& redaction) {
    json.Key("redaction");
    json.BeginObject();
    json.Member("redacted", redaction.done);
    json.Key("replacements");
    json.BeginObject();
    for (size_t k = 0; k < kRedactionKinds; ++k)
        json.Member(RedactionKindName(static_cast<RedactionKind>(k)), redaction.replacements[k]);
    json.EndObject();
    json.ArrayMember("withheld", redaction.withheld,
                     [&json](const WithheldFile& file) { json.Object("path", file.relativePath, "reason", file.reason); });
    json.EndObject();
}

}  // namespace

std::string ManifestTime(const SYSTEMTIME& time) {
    return text::Format("%04u-%02u-%02uT%02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                        time.wMinute, time.wSecond);
}

std::string ManifestJson(const Collection& collection, const std::vector<HashedFile>& files, const SYSTEMTIME& end) {
    std::map<std::string, const HashedFile*> byPath;
    for (const HashedFile& file : files) byPath[file.relativePath] = &file;
    const RedactionState& redaction = collection.redaction;
    // The steps recorded the files by the names they were written under; they are named as packed.
    FileMarks marks;
    for (const auto& [path, size] : collection.record.OriginalSizes()) marks.originalSizes[redaction.PackedPath(path)] = size;
    for (const StepRecord& step : collection.record.Steps())
        for (const ShortFile& file : step.shortFiles) marks.cutShort[redaction.PackedPath(file.path)] = file.bytes;

    JsonWriter json;
    if (redaction.done) json.FilterStrings([&redaction](const std::string& text) { return redaction.Redacted(text); });
    json.BeginObject();
    json.Member("program", "Zeltrin");
    json.Member("version", collection.programVersion);
    json.Member("commandLine", collection.unattended.commandLine);
    json.Member("machine", redaction.done ? redaction.cabinetNode : collection.folders.nodeName);
    json.Member("incident", collection.run.bugFolderNumber);
    json.Member("runFolder", collection.run.runFolder);
    json.Member("runRoot", collection.run.runRoot);
    json.Member("start", ManifestTime(collection.record.RunStart()));
    json.Member("end", ManifestTime(end));
    WriteOptions(json, collection.options);
    WriteUnattended(json, collection);
    WriteDetection(json, collection.detection);
    WriteSteps(json, collection.record, byPath, redaction, marks);
    json.ArrayMember("failureLines", collection.record.FailureLines(), [&json](const std::string& line) { json.String(line); });
    if (redaction.requested) WriteRedaction(json, redaction);
    json.Member("sha256Source", Sha256SourceName(SystemSha256Source()));
    json.ArrayMember("files", files, [&](const HashedFile& file) { WriteHashedFile(json, file, marks); });
    json.EndObject();
    return json.Text() + "\n";
}
