#include "verify/RunBundles.h"

#include <map>
#include <set>

#include "common/win32/UniqueHandle.h"

namespace {

constexpr std::wstring_view kCabinetExtension = L".cab";
// "_MMDDYYYY__HH-MM-SS": digits where the pattern has 9.
constexpr std::wstring_view kTimeStampPattern = L"_99999999__99-99-99";

std::wstring Upper(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view end) {
    return text.size() >= end.size() && Upper(std::wstring(text.substr(text.size() - end.size()))) == Upper(std::wstring(end));
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Something, then the run's time stamp.
bool EndsWithTimeStamp(std::wstring_view stem) {
    if (stem.size() <= kTimeStampPattern.size()) return false;
    const std::wstring_view end = stem.substr(stem.size() - kTimeStampPattern.size());
    for (size_t i = 0; i < end.size(); ++i)
        if (kTimeStampPattern[i] == L'9' ? !IsDigit(end[i]) : end[i] != kTimeStampPattern[i]) return false;
    return true;
}

// A file that ends in ".cab" or begins with a cabinet's signature.
bool IsCabinetFile(const std::wstring& path) {
    if (EndsWithNoCase(path, kCabinetExtension)) return true;
    win32::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    char signature[4] = {};
    DWORD read = 0;
    return file && ::ReadFile(file.get(), signature, sizeof signature, &read, nullptr) && read == sizeof signature &&
           std::string_view(signature, sizeof signature) == "MSCF";
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return path;
    full.resize(written);
    // "D:\Runs\" and "D:\Runs" are one folder.
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    return full;
}

std::wstring PartName(const std::wstring& stem, unsigned part) {
    return stem + (part == 1 ? L"" : L"_" + std::to_wstring(part)) + std::wstring(kCabinetExtension);
}

// The cabinet's run: its cabinets beside it, by part.
Bundle CabinetsOfRun(const std::wstring& cabinet) {
    Bundle bundle;
    const size_t slash = cabinet.find_last_of(L"\\/");
    const std::wstring folder = cabinet.substr(0, slash + 1);
    const std::optional<CabinetName> split = SplitCabinetName(cabinet.substr(slash + 1));
    if (!split) {
        bundle.cabinets.push_back(cabinet);
        return bundle;
    }
    std::map<unsigned, std::wstring> parts;
    WIN32_FIND_DATAW found{};
    win32::UniqueFind search(::FindFirstFileW((folder + split->stem + L"*" + std::wstring(kCabinetExtension)).c_str(), &found));
    if (search) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::optional<CabinetName> sibling = SplitCabinetName(found.cFileName);
            if (sibling && Upper(sibling->stem) == Upper(split->stem)) parts[sibling->part] = folder + found.cFileName;
        } while (::FindNextFileW(search.get(), &found));
    }
    // The one named is there, even where the folder cannot be listed.
    parts.emplace(split->part, cabinet);
    for (unsigned part = 1; part < parts.rbegin()->first; ++part)
        if (!parts.count(part)) bundle.absentCabinets.push_back(PartName(split->stem, part));
    for (const auto& [part, path] : parts) bundle.cabinets.push_back(path);
    return bundle;
}

}  // namespace

std::optional<CabinetName> SplitCabinetName(std::wstring_view name) {
    if (!EndsWithNoCase(name, kCabinetExtension)) return std::nullopt;
    name.remove_suffix(kCabinetExtension.size());
    size_t digits = 0;
    while (digits < name.size() && IsDigit(name[name.size() - 1 - digits])) ++digits;
    const size_t underscore = name.size() - digits - 1;
    // "_2" and on; a number that starts with 0 is no part of ours.
    if (digits > 0 && digits < 10 && digits < name.size() && name[underscore] == L'_' &&
        name[underscore + 1] != L'0' && EndsWithTimeStamp(name.substr(0, underscore))) {
        const unsigned part = static_cast<unsigned>(std::stoul(std::wstring(name.substr(underscore + 1))));
        if (part >= 2) return CabinetName{std::wstring(name.substr(0, underscore)), part};
    }
    if (!EndsWithTimeStamp(name)) return std::nullopt;
    return CabinetName{std::wstring(name), 1};
}

std::wstring Bundle::Label() const { return folder.empty() ? cabinets.front() : folder; }

RunBundles FindRunBundles(const std::vector<std::wstring>& paths) {
    RunBundles result;
    std::set<std::wstring> taken;  // each run once, whichever of its cabinets named it
    for (const std::wstring& typed : paths) {
        const std::wstring path = FullPath(typed);
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        Bundle bundle;
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            result.refusals.push_back(L"Not found: " + typed);
            continue;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            bundle.folder = path;
        } else if (IsCabinetFile(path)) {
            bundle = CabinetsOfRun(path);
        } else {
            result.refusals.push_back(L"Neither a cabinet nor a folder: " + typed);
            continue;
        }
        if (taken.insert(Upper(bundle.Label())).second) result.bundles.push_back(std::move(bundle));
    }
    return result;
}
