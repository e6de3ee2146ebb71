#include "verify/VerifyBundles.h"

#include <memory>

#include "common/win32/Utf8Text.h"
#include "console/ConsoleWriter.h"
#include "engine/ExitStatus.h"
#include "verify/BundleCheck.h"
#include "verify/BundleSummary.h"
#include "verify/CabinetReader.h"
#include "verify/FolderReader.h"
#include "verify/RunBundles.h"

namespace {

BundleContents ReadBundle(const Bundle& bundle, std::unique_ptr<CabinetReader>& reader) {
    if (!bundle.folder.empty()) return ReadRunFolder(bundle.folder);
    BundleContents contents;
    for (const std::wstring& absent : bundle.absentCabinets)
        contents.problems.push_back("Missing cabinet: " + win32::Utf8Text(absent));
    if (!reader) reader = std::make_unique<CabinetReader>();
    for (const std::wstring& cabinet : bundle.cabinets) reader->Read(cabinet, contents);
    return contents;
}

std::wstring BundleLine(const Bundle& bundle) {
    if (!bundle.folder.empty()) return L"Bundle: " + bundle.folder + L" (folder)";
    return L"Bundle: " + bundle.cabinets.front() + L" (cabinets: " + std::to_wstring(bundle.cabinets.size()) + L")";
}

}  // namespace

int VerifyBundles(const std::vector<std::wstring>& paths, bool writeSummary, console::ConsoleWriter& console) {
    if (paths.empty()) {
        console.WriteLine("No bundle given: Zeltrin.exe -verify <cabinet | run folder> [<cabinet | run folder> ...]");
        return kExitMalformedToken;
    }
    const RunBundles runs = FindRunBundles(paths);
    if (!runs.refusals.empty()) {
        for (const std::wstring& refusal : runs.refusals) console.WriteLine(refusal);
        return kExitMalformedToken;
    }
    std::unique_ptr<CabinetReader> reader;  // made for the first cabinet
    size_t files = 0;
    size_t problems = 0;
    for (const Bundle& bundle : runs.bundles) {
        console.WriteLine(BundleLine(bundle));
        const BundleContents contents = ReadBundle(bundle, reader);
        files += contents.files.size();
        for (const std::string& line : CheckBundle(contents)) {
            console.WriteLine(win32::WideFromUtf8(line));
            ++problems;
        }
        if (writeSummary) console.WriteLine(WriteBundleSummary(bundle, contents));
    }
    console.WriteLine("Verified: " + std::to_string(files) + " files, " + std::to_string(problems) + " problems");
    return problems == 0 ? kExitDone : kExitNotWhole;
}
