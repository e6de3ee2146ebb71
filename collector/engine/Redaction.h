#pragma once
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

// What "redact" replaces, each kind counted on its own in the run manifest.
enum class RedactionKind {
    kHostName,
    kDomainName,
    kIpv4Address,
    kIpv6Address,
    kMacAddress,
    kFibreChannelName,  // a WWN or WWPN
    kUserName,
    kDomainSid,
    kSecret,
    kKeyword,
};
constexpr size_t kRedactionKinds = 10;

// The manifest's name of a kind ("hostNames", ...).
const char* RedactionKindName(RedactionKind kind) noexcept;

// This run's stand-ins and their originals, kept beside the run folder and never packed.
std::string RedactionMapPath(const std::string& runFolder);

// Rewrites a text as the run folder's files were rewritten: the same stand-ins.
class TextRedaction {
public:
    virtual ~TextRedaction() = default;
    virtual std::string Redacted(const std::string& text) = 0;
};

// A file of the run folder that was not packed, and why.
struct WithheldFile {
    std::string relativePath;  // "/"-separated, as it was in the run folder
    std::string reason;
};

// The "redact" token and what it did to this run.
struct RedactionState {
    bool requested = false;             // "redact" or "redact=..." was given
    std::vector<std::string> keywords;  // from "redact=word;word..."
    bool done = false;                  // the run folder was rewritten
    std::array<unsigned long long, kRedactionKinds> replacements{};
    std::vector<WithheldFile> withheld;
    // Files packed under a redacted name, one whose name held an original: the path the run's
    // steps recorded, and the path as packed.
    std::map<std::string, std::string> renamed;
    // Where the machine's stand-ins are kept between runs; empty: "<common application
    // data>\Zeltrin" (tests give a folder of their own).
    std::string standInFolder;
    std::string standInStore;   // the file there
    // Where the map and the withheld files are kept: beside the run folder, or, when that is on
    // the share, beside where it would be on the local root (the share gets nothing in clear).
    std::string keptBeside;
    std::string mappingFile;    // this run's stand-ins and their originals
    std::string withheldFolder;  // where the withheld files were moved
    std::string cabinetNode;     // the computer name's stand-in, for the cabinets' names
    // Set once the run folder is rewritten; the manifest's texts go through it.
    std::shared_ptr<TextRedaction> text;

    // The text as it may leave the machine: unchanged when the run is not redacted.
    std::string Redacted(const std::string& original) const { return text ? text->Redacted(original) : original; }
    // A run folder file's path as packed.
    const std::string& PackedPath(const std::string& relativePath) const {
        auto found = renamed.find(relativePath);
        return found == renamed.end() ? relativePath : found->second;
    }
};
