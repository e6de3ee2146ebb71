// "MANIFEST.json" and "SHA256SUMS" in the run folder: every file hashed once, the manifest
// hashed after it is written, the sums written last so they cover the manifest too.
#include <algorithm>

#include "common/profile/SectionTimer.h"
#include "common/disk/CheckedWriter.h"
#include "engine/Collection.h"
#include "engine/ExitStatus.h"
#include "engine/StepProblems.h"
#include "manifest/HashedFiles.h"
#include "manifest/RecordNames.h"
#include "manifest/ManifestJson.h"
#include "manifest/Sha256.h"
#include "manifest/Sha256Sums.h"
#include "manifest/SummaryOfRun.h"
#include "engine/ErrorText.h"
#include "engine/WriteLossLine.h"
#include "summary/SummaryPage.h"
#include "manifest/RunManifest.h"

namespace {

// Writes the whole text or nothing: a file cut short by a full disk would travel in the
// cabinet as if it were the record, so it is removed. The records take the room held back for
// them. Returns the failure line, or "", and keeps a loss in the run record.
std::string WriteWholeRecord(Collection& collection, const std::string& path, const std::string& text) {
    disk::CheckedWriter file(path, collection.floor, disk::CheckedWriter::LineEnds::kAsGiven,
                             disk::CheckedWriter::Room::kClosingRecord);
    file.Write(text);
    const disk::WriteOutcome& outcome = file.Close(true);
    std::optional<StepProblem> problem = WriteProblem(outcome);
    if (!problem) return std::string();
    collection.record.AddProblem(std::move(*problem));
    return WriteLossLine(outcome);
}

bool IsManifestFile(const RunFolderFile& file) {
    return file.relativePath == kManifestName || file.relativePath == kSumsName || file.relativePath == kSummaryPageName;
}

// Written and hashed in, or the line that says why not.
std::string WriteHashedRecord(Collection& collection, const char* name, const std::string& text,
                              std::vector<HashedFile>& files) {
    std::string failure = WriteWholeRecord(collection, collection.run.runFolder + "\\" + name, text);
    if (failure.empty()) {
        RunFolderFile written;
        written.relativePath = name;
        files.push_back(HashRunFolderFile(collection.run.runFolder, written));
    }
    return failure;
}

}  // namespace

std::vector<std::string> WriteRunManifest(Collection& collection) {
    ZELTRIN_PROFILE_SECTION("run manifest");
    std::vector<RunFolderFile> listed = ListRunFolderFiles(collection.run.runFolder);
    listed.erase(std::remove_if(listed.begin(), listed.end(), IsManifestFile), listed.end());
    std::vector<HashedFile> files = HashRunFolderFiles(collection.run.runFolder, listed);

    std::vector<std::string> failures;
    SYSTEMTIME end{};
    ::GetLocalTime(&end);
    if (std::string failure = WriteHashedRecord(collection, kManifestName, ManifestJson(collection, files, end), files);
        !failure.empty())
        failures.push_back(failure);
    // The page shows the status the run would end with now; only the packing is still to come.
    const int status = collection.exitStatus == kExitDone && collection.record.LostData() ? kExitDataLost : collection.exitStatus;
    if (std::string failure =
            WriteHashedRecord(collection, kSummaryPageName, SummaryHtml(SummaryOfRun(collection, files, status)), files);
        !failure.empty())
        failures.push_back(failure);

    // Sums of nothing would pass for a check that was made.
    if (SystemSha256Source() == Sha256Source::kNone) {
        failures.push_back("Failed to hash the run's files: MANIFEST.json lists them without sums, and there is no " +
                           std::string(kSumsName) + "!!! REASON: " +
                           GetErrorText(Sha256SourceError(Sha256Source::kNone)));
        return failures;
    }
    const std::string sumsPath = collection.run.runFolder + "\\" + kSumsName;
    if (std::string failure = WriteWholeRecord(collection, sumsPath, Sha256SumsText(files)); !failure.empty())
        failures.push_back(failure);
    return failures;
}
