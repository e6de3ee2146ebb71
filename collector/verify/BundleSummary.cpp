#include "verify/BundleSummary.h"

#include "common/disk/CheckedWriter.h"
#include "common/win32/AnsiText.h"
#include "common/win32/Utf8Text.h"
#include "manifest/JsonReader.h"
#include "manifest/SummaryOfManifest.h"
#include "engine/WriteLossLine.h"
#include "summary/SummaryPage.h"

namespace {

std::wstring SummaryPathOf(const Bundle& bundle) {
    std::wstring stem = bundle.folder.empty() ? bundle.cabinets.front() : bundle.folder;
    while (!stem.empty() && (stem.back() == L'\\' || stem.back() == L'/')) stem.pop_back();
    if (bundle.folder.empty() && stem.size() > 4 && ::lstrcmpiW(stem.c_str() + stem.size() - 4, L".cab") == 0)
        stem.resize(stem.size() - 4);
    return stem + L"_SUMMARY.html";
}

}  // namespace

std::wstring WriteBundleSummary(const Bundle& bundle, const BundleContents& contents) {
    for (const BundleFile& file : contents.files)
        if (file.path == kSummaryPageName) return L"Summary: the bundle has its own SUMMARY.html";
    if (!contents.manifest.found) return L"Summary: none written, the bundle has no MANIFEST.json";
    const JsonParse parsed = ParseJson(contents.manifest.text);
    if (!parsed.value) return L"Summary: none written, MANIFEST.json is no JSON: " + win32::WideFromUtf8(parsed.error);
    SummaryFacts facts = SummaryOfManifest(*parsed.value);
    // The manifest does not list itself; the page lists it as the bundle holds it.
    for (const BundleFile& file : contents.files)
        if (file.path == kManifestName) facts.files.push_back({file.path, file.size, file.sha256, false});
    const std::wstring path = SummaryPathOf(bundle);
    // Written where a bundle arrived, so it leaves that volume the floor a run would leave.
    FreeSpaceFloor floor{std::nullopt};
    disk::CheckedWriter writer(win32::AnsiText(path), floor, disk::CheckedWriter::LineEnds::kAsGiven,
                               disk::CheckedWriter::Room::kClosingRecord);
    writer.Write(SummaryHtml(facts));
    const disk::WriteOutcome& outcome = writer.Close(true);
    return outcome.Whole() ? L"Summary: " + path : win32::WideFromUtf8(WriteLossLine(outcome));
}
