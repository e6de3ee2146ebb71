// "MANIFEST.json" and "SHA256SUMS" in the run folder: every file hashed once, the manifest
// hashed after it is written, the sums written last so they cover the manifest too.
#include <algorithm>

#include "common/profile/SectionTimer.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/WriteText.h"
#include "engine/Collection.h"
#include "manifest/HashedFiles.h"
#include "manifest/ManifestJson.h"
#include "manifest/Sha256.h"
#include "manifest/Sha256Sums.h"
#include "report/ErrorText.h"

namespace {

constexpr char kManifestName[] = "MANIFEST.json";
constexpr char kSumsName[] = "SHA256SUMS";

// Writes the whole text or nothing: a file cut short by a full disk would travel in the
// cabinet as if it were the record, so it is removed. Returns the system error, or 0.
DWORD WriteWholeText(const std::string& path, const std::string& text) {
    win32::UniqueFile file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError();
    DWORD error = win32::WriteText(file.get(), text);
    if (!error && !::FlushFileBuffers(file.get())) error = ::GetLastError();
    if (!::CloseHandle(file.release()) && !error) error = ::GetLastError();
    if (error) ::DeleteFileA(path.c_str());
    return error;
}

bool IsManifestFile(const RunFolderFile& file) {
    return file.relativePath == kManifestName || file.relativePath == kSumsName;
}

}  // namespace

std::vector<std::string> Collection::WriteRunManifest() {
    ZELTRIN_PROFILE_SECTION("run manifest");
    std::vector<RunFolderFile> listed = ListRunFolderFiles(run.runFolder);
    listed.erase(std::remove_if(listed.begin(), listed.end(), IsManifestFile), listed.end());
    std::vector<HashedFile> files = HashRunFolderFiles(run.runFolder, listed);

    std::vector<std::string> failures;
    SYSTEMTIME end{};
    ::GetLocalTime(&end);
    const std::string manifestPath = run.runFolder + "\\" + kManifestName;
    if (DWORD error = WriteWholeText(manifestPath, ManifestJson(*this, files, end))) {
        failures.push_back(FailureLine("Failed to write", manifestPath, error));
    } else {
        RunFolderFile manifest;
        manifest.relativePath = kManifestName;
        files.push_back(HashRunFolderFile(run.runFolder, manifest));
    }

    // Sums of nothing would pass for a check that was made.
    if (SystemSha256Source() == Sha256Source::kNone) {
        failures.push_back("Failed to hash the run's files: MANIFEST.json lists them without sums, and there is no " +
                           std::string(kSumsName) + "!!! REASON: " +
                           GetErrorText(Sha256SourceError(Sha256Source::kNone)));
        return failures;
    }
    const std::string sumsPath = run.runFolder + "\\" + kSumsName;
    if (DWORD error = WriteWholeText(sumsPath, Sha256SumsText(files))) failures.push_back(FailureLine("Failed to write", sumsPath, error));
    return failures;
}
