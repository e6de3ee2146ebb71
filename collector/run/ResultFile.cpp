#include "run/ResultFile.h"

#include "common/disk/CheckedWriter.h"
#include "console/SummaryLines.h"
#include "engine/Collection.h"
#include "manifest/JsonWriter.h"
#include "manifest/Sha256.h"
#include "engine/WriteLossLine.h"
#include "run/CollectionRun.h"

namespace {

std::string LastComponent(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ResultJson(const Collection& collection) {
    const RedactionState& redaction = collection.redaction;
    JsonWriter json;
    json.BeginObject();
    json.Member("program", "Zeltrin");
    json.Member("version", collection.programVersion);
    json.Member("incident", collection.run.bugFolderNumber);
    json.Member("machine", redaction.done ? redaction.cabinetNode : collection.folders.nodeName);
    json.Member("exitStatus", collection.exitStatus);
    const OutcomeCounts outcomes = collection.record.Outcomes();
    json.Key("steps");
    json.Object("ok", outcomes.ok, "partial", outcomes.partial, "failed", outcomes.failed, "skipped", outcomes.skipped);
    json.Member("failures", collection.record.Failures());
    json.Member("runFolder", collection.run.runFolder);
    json.ArrayMember("cabinets", CabinetsOfRun(collection), [&json](const console::CabinetFile& cabinet) {
        const Sha256Result hash = Sha256OfFile(cabinet.path);
        json.BeginObject();
        json.Member("path", cabinet.path);
        json.Member("size", cabinet.bytes);
        if (hash.error != 0)
            json.Member("error", hash.error);
        else
            json.Member("sha256", hash.hex);
        json.EndObject();
    });
    json.EndObject();
    return json.Text() + "\n";
}

}  // namespace

std::string MachineFolder(const Collection& collection) {
    const std::string& runFolder = collection.run.runFolder;
    const size_t slash = runFolder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : runFolder.substr(0, slash);
}

std::string RunFileStem(const Collection& collection) {
    const RedactionState& redaction = collection.redaction;
    return collection.run.bugFolderNumber + "_" +
           (redaction.done ? redaction.cabinetNode : LastComponent(MachineFolder(collection))) + "_" +
           collection.run.timeStamp;
}

std::string WriteResultFile(Collection& collection) {
    const std::string path = MachineFolder(collection) + "\\" + RunFileStem(collection) + "_RESULT.json";
    disk::CheckedWriter file(path, collection.floor, disk::CheckedWriter::LineEnds::kAsGiven,
                             disk::CheckedWriter::Room::kClosingRecord);
    file.Write(ResultJson(collection));
    const disk::WriteOutcome& outcome = file.Close(true);
    return outcome.Whole() ? "Result: " + path : WriteLossLine(outcome);
}
