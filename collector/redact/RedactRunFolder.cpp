// "redact": the run folder rewritten in place after the last capture step, before the
// manifest and the packing; what cannot be read as text is moved out, beside the run folder.
#include <shlobj.h>

#include <memory>

#include "common/profile/SectionTimer.h"
#include "common/win32/ReadText.h"
#include "console/ConsoleWriter.h"
#include "common/text/Format.h"
#include "engine/Collection.h"
#include "engine/StepProblems.h"
#include "redact/AdministratorsOnly.h"
#include "redact/FileRewriter.h"
#include "redact/MachineIdentities.h"
#include "redact/RunTextRedaction.h"
#include "engine/ErrorText.h"
#include "redact/RunRedaction.h"

namespace {

constexpr char kStandInFileName[] = "RedactionStandIns.txt";
// Kinds that are binary whatever their first bytes: event log backups, cabinets, dumps, the
// tools' encoded output, traces and archives.
constexpr const char* kBinaryKinds[] = {".evt", ".evtx", ".cab", ".dmp", ".mdmp", ".hdmp", ".enc", ".etl",
                                        ".blg",  ".zip",  ".7z",  ".gz",  ".exe",  ".dll",  ".sys"};

std::string BinaryKind(const std::string& relativePath) {
    const size_t dot = relativePath.find_last_of('.');
    if (dot == std::string::npos || relativePath.find('/', dot) != std::string::npos) return std::string();
    const std::string extension = redact::LowerCase(relativePath.substr(dot));
    for (const char* kind : kBinaryKinds)
        if (extension == kind) return std::string("a binary kind (") + kind + ")";
    return std::string();
}

std::string CommonApplicationData() {
    char folder[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))
               ? std::string(folder)
               : std::string();
}

// Moves a file out of the run folder, keeping its relative path below `folder`; a file that
// cannot be moved is deleted: it must not be packed as it is.
DWORD Withhold(const std::string& runFolder, const std::string& relativePath, const std::string& folder) {
    const std::string source = RunFolderFilePath(runFolder, relativePath);
    const std::string target = RunFolderFilePath(folder, relativePath);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (size_t slash = target.find('\\', folder.size() + 1); slash != std::string::npos;
         slash = target.find('\\', slash + 1))
        ::CreateDirectoryA(target.substr(0, slash).c_str(), nullptr);
    if (::MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED)) return 0;
    return ::DeleteFileA(source.c_str()) ? 0 : ::GetLastError();
}

// Puts a file under its path as packed, making the folders it names; the folders it leaves are
// removed once empty. A path already taken is not overwritten.
DWORD MoveToPackedPath(const std::string& runFolder, const std::string& relativePath, const std::string& packedPath) {
    const std::string source = RunFolderFilePath(runFolder, relativePath);
    const std::string target = RunFolderFilePath(runFolder, packedPath);
    for (size_t slash = target.find('\\', runFolder.size() + 1); slash != std::string::npos;
         slash = target.find('\\', slash + 1))
        ::CreateDirectoryA(target.substr(0, slash).c_str(), nullptr);
    if (!::MoveFileExA(source.c_str(), target.c_str(), 0)) return ::GetLastError();
    for (size_t slash = source.find_last_of('\\'); slash > runFolder.size(); slash = source.find_last_of('\\', slash - 1))
        if (!::RemoveDirectoryA(source.substr(0, slash).c_str())) break;
    return 0;
}

std::string MappingText(const std::string& runFolder, const std::vector<redact::StandInEntry>& used) {
    std::string text = "Zeltrin redaction of " + runFolder + "\r\n";
    text += "The stand-ins of this run and the names they stand for; this file stays on this machine.\r\n";
    text += "stand-in\toriginal\tkind\r\n";
    for (const redact::StandInEntry& entry : used)
        text += entry.standIn + "\t" + entry.original + "\t" + RedactionKindName(entry.kind) + "\r\n";
    return text;
}

std::string StandInStorePath(const RedactionState& redaction) {
    const std::string storeFolder =
        redaction.standInFolder.empty() ? CommonApplicationData() + "\\Zeltrin" : redaction.standInFolder;
    return storeFolder + "\\" + kStandInFileName;
}

}  // namespace

// The computer name is the first name the redaction gives a stand-in: a new one gets the next
// number, as it will then.
std::string ComputerStandIn(const Collection& collection) {
    redact::StandInMap standIns;
    std::string stored;
    if (win32::ReadWholeFile(StandInStorePath(collection.redaction), stored) == 0) standIns.Read(stored);
    return standIns.StandIn(RedactionKind::kHostName, collection.folders.nodeName);
}

std::vector<std::string> RedactRunFolder(Collection& collection) {
    ZELTRIN_PROFILE_SECTION("redaction");
    std::vector<std::string> failures;
    auto standIns = std::make_shared<redact::StandInMap>();
    const std::string storePath = StandInStorePath(collection.redaction);
    if (collection.redaction.keptBeside.empty()) collection.redaction.keptBeside = collection.run.runFolder;
    std::string stored;
    DWORD error = win32::ReadWholeFile(storePath, stored);
    if (error == 0)
        standIns->Read(stored);
    else if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        failures.push_back(FailureLine("Failed to read the redaction stand-ins of earlier runs,", storePath, error));

    // Every name of the machine has its stand-in from the start, in this order, whether a file
    // holds it or not: a later run finds them all, and the computer name is the first host.
    redact::NameTable names;
    std::vector<redact::Identity> identities = redact::ReadMachineIdentities(collection.folders.nodeName, collection.folders.systemDirectory);
    for (const std::string& keyword : collection.redaction.keywords) identities.push_back({RedactionKind::kKeyword, keyword});
    for (const redact::Identity& identity : identities) {
        if (names.Add(identity))
            standIns->StandIn(identity.kind, identity.standsFor.empty() ? identity.name : identity.standsFor);
    }
    names.SetMachineFolder(collection.run.bugFolderNumber, collection.folders.nodeName);
    auto text = std::make_shared<redact::RunTextRedaction>(std::move(names), standIns);

    // On the share the kept files' folders are made on the local root.
    const std::string keptFolder = collection.redaction.keptBeside.substr(0, collection.redaction.keptBeside.find_last_of('\\'));
    for (size_t slash = keptFolder.find('\\', collection.LocalRoot().size()); slash != std::string::npos;
         slash = keptFolder.find('\\', slash + 1))
        ::CreateDirectoryA(keptFolder.substr(0, slash).c_str(), nullptr);
    ::CreateDirectoryA(keptFolder.c_str(), nullptr);
    collection.redaction.withheldFolder = collection.redaction.keptBeside + "_WITHHELD";
    for (const RunFolderFile& file : ListRunFolderFiles(collection.run.runFolder)) {
        std::string reason = BinaryKind(file.relativePath);
        if (reason.empty()) {
            redact::ReplacementCounts counts{};
            const std::string path = RunFolderFilePath(collection.run.runFolder, file.relativePath);
            redact::TextRewriter rewriter(text->Names(), *standIns, counts, path == collection.run.registryDumpPath);
            const redact::FileRewrite rewrite = redact::RewriteFile(path, rewriter, collection.floor);
            if (rewrite.verdict == redact::FileVerdict::kRewritten) {
                for (size_t k = 0; k < kRedactionKinds; ++k) collection.redaction.replacements[k] += counts[k];
                // A name that holds an original would give the stand-in away beside the same
                // file's sum under the stand-in name: the file is packed under the name redacted.
                const std::string packedPath = text->Redacted(file.relativePath);
                if (packedPath == file.relativePath) continue;
                const DWORD moveError = MoveToPackedPath(collection.run.runFolder, file.relativePath, packedPath);
                if (moveError == 0) {
                    collection.redaction.renamed[file.relativePath] = packedPath;
                    continue;
                }
                reason = "its name could not be redacted: " + console::ConsoleWriter::OneLine(GetErrorText(moveError));
            } else if (rewrite.verdict == redact::FileVerdict::kBinary) {
                reason = rewrite.reason;
            } else {
                // Text that could not be rewritten is never packed in clear: it is withheld, a
                // loss of the run's.
                reason = "it could not be redacted: " +
                         (rewrite.floor ? text::Format("less than %u MiB free on %s", rewrite.floor->floorMiB,
                                                       rewrite.floor->volume.c_str())
                                        : console::ConsoleWriter::OneLine(GetErrorText(rewrite.error)));
                failures.push_back(text::Format("Withheld: %s: %s!!!", file.relativePath.c_str(), reason.c_str()));
                StepProblem problem = ProblemOf(rewrite.floor ? kBelowFloorError : rewrite.error, file.relativePath);
                problem.lostData = true;
                collection.record.AddProblem(std::move(problem));
            }
        }
        if (DWORD withheldError = Withhold(collection.run.runFolder, file.relativePath, collection.redaction.withheldFolder))
            failures.push_back(FailureLine("Failed to withhold", file.relativePath, withheldError));
        collection.redaction.withheld.push_back({file.relativePath, reason});
    }
    collection.redaction.cabinetNode = standIns->StandIn(RedactionKind::kHostName, collection.folders.nodeName);

    collection.redaction.standInStore = storePath;
    collection.redaction.mappingFile = RedactionMapPath(collection.redaction.keptBeside);
    collection.redaction.text = std::move(text);
    collection.redaction.done = true;
    return failures;
}

// After the manifest, whose texts may have met originals of their own.
std::vector<std::string> KeepRedactionMap(Collection& collection) {
    std::vector<std::string> failures;
    if (!collection.redaction.done) return failures;
    const redact::StandInMap& standIns = static_cast<const redact::RunTextRedaction&>(*collection.redaction.text).StandIns();
    const std::string storeFolder = collection.redaction.standInStore.substr(0, collection.redaction.standInStore.find_last_of('\\'));
    DWORD error = 0;
    if ((error = redact::MakeAdministratorsOnlyFolder(storeFolder)) != 0 ||
        (error = redact::WriteAdministratorsOnlyFile(collection.redaction.standInStore, standIns.Text())) != 0)
        failures.push_back(
            FailureLine("Failed to keep the redaction stand-ins for later runs in", collection.redaction.standInStore, error));
    if ((error = redact::WriteAdministratorsOnlyFile(collection.redaction.mappingFile,
                                                     MappingText(collection.run.runFolder, standIns.Used()))) != 0)
        failures.push_back(FailureLine("Failed to write the redaction map", collection.redaction.mappingFile, error));
    return failures;
}
