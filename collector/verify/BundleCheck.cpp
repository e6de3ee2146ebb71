#include "verify/BundleCheck.h"

#include <map>
#include <set>

#include "summary/SummaryPage.h"
#include "verify/ManifestList.h"
#include "verify/SumsList.h"

namespace {

// The problems a file can have, in the order its lines are given.
enum class Problem { kMissing, kExtra, kChanged, kNotReadable, kCutShort, kNotHashed, kNotInSums, kNotInManifest };

struct ProblemText {
    Problem problem;
    const char* text;
};
constexpr ProblemText kProblemTexts[] = {
    {Problem::kMissing, "Missing: "},
    {Problem::kExtra, "Extra: "},
    {Problem::kChanged, "Changed: "},
    {Problem::kNotReadable, "Not readable: "},
    {Problem::kCutShort, "Cut short when collected: "},
    {Problem::kNotHashed, "Not hashed when collected: "},
    {Problem::kNotInSums, "Not in SHA256SUMS: "},
    {Problem::kNotInManifest, "Not in the manifest: "},
};

// Files that are in the bundle by design and named in neither list: the sums, and the cabinet
// list, which is written after them. The manifest is in the sums only, as it cannot hold its
// own hash; so is the summary page made from it.
constexpr const char* kListedNowhere[] = {kSumsName, kCabinetListName};
constexpr const char* kInTheSumsOnly[] = {kManifestName, kSummaryPageName};

template <size_t N>
bool IsOneOf(const std::string& path, const char* const (&names)[N]) {
    for (const char* name : names)
        if (path == name) return true;
    return false;
}

// A record as a list: "" when it is there and reads, else the line that says why not.
template <class List, class Read>
std::string ReadRecord(const BundleRecord& record, const char* name, List& list, Read read) {
    if (!record.found) return std::string("No ") + name + " in the bundle";
    if (!record.unreadable.empty()) return std::string("Not readable: ") + name + ": " + record.unreadable;
    list = read(record.text);
    if (!list.error.empty()) return std::string("Not readable: ") + name + ": " + list.error;
    return {};
}

// Each problem of a file once, with the reason its line gives, if any.
using FileProblems = std::map<Problem, std::string>;

}  // namespace

std::vector<std::string> CheckBundle(const BundleContents& contents) {
    std::vector<std::string> lines = contents.problems;
    SumsList sums;
    ManifestList manifest;
    const std::string sumsLine = ReadRecord(contents.sums, kSumsName, sums, ReadSumsList);
    const std::string manifestLine = ReadRecord(contents.manifest, kManifestName, manifest, ReadManifestList);
    for (const std::string& line : {sumsLine, manifestLine})
        if (!line.empty()) lines.push_back(line);
    const bool haveSums = sumsLine.empty();
    const bool haveManifest = manifestLine.empty();

    std::map<std::string, FileProblems> byPath;
    std::set<std::string> present;
    for (const BundleFile& file : contents.files) {
        present.insert(file.path);
        FileProblems& problems = byPath[file.path];
        if (!file.unreadable.empty()) {
            problems.emplace(Problem::kNotReadable, file.unreadable);
            continue;
        }
        const auto summed = sums.hashes.find(file.path);
        const auto listed = manifest.files.find(file.path);
        const bool named = summed != sums.hashes.end() || listed != manifest.files.end();
        const bool expected = IsOneOf(file.path, kListedNowhere) || (IsOneOf(file.path, kInTheSumsOnly) && !haveSums);
        if (!named && !expected && (haveSums || haveManifest)) problems.emplace(Problem::kExtra, "");
        if (summed != sums.hashes.end() && summed->second != file.sha256) problems.emplace(Problem::kChanged, "");
        if (listed != manifest.files.end() &&
            (listed->second.size != file.size || (!listed->second.sha256.empty() && listed->second.sha256 != file.sha256)))
            problems.emplace(Problem::kChanged, "");
    }
    // What the lists name, whether it came or not.
    for (const auto& [path, hash] : sums.hashes) {
        if (!present.count(path)) byPath[path].emplace(Problem::kMissing, "");
        if (haveManifest && !manifest.files.count(path) && !IsOneOf(path, kInTheSumsOnly))
            byPath[path].emplace(Problem::kNotInManifest, "");
    }
    for (const auto& [path, entry] : manifest.files) {
        FileProblems& problems = byPath[path];
        if (!present.count(path)) problems.emplace(Problem::kMissing, "");
        if (entry.cut) problems.emplace(Problem::kCutShort, "");
        if (entry.sha256.empty()) problems.emplace(Problem::kNotHashed, "");
        if (haveSums && !entry.sha256.empty() && !sums.hashes.count(path)) problems.emplace(Problem::kNotInSums, "");
    }

    for (const auto& [path, problems] : byPath) {
        for (const ProblemText& text : kProblemTexts) {
            const auto found = problems.find(text.problem);
            if (found == problems.end()) continue;
            lines.push_back(text.text + path + (found->second.empty() ? "" : ": " + found->second));
        }
    }
    return lines;
}
