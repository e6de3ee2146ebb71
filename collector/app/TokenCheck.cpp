#include "app/TokenCheck.h"

#include <windows.h>

#include "common/win32/FileFacts.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string FullPath(const std::string& path) {
    DWORD size = ::GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return {};
    std::string full(size, '\0');
    DWORD length = ::GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return {};
    full.resize(length);
    return full;
}

using PathCheck = std::optional<TokenFault> (*)(const std::string& value, std::string& folder);

void CheckPathToken(const ValueToken& given, PathCheck check, std::string& folder, std::vector<TokenRefusal>& refusals) {
    if (!given.given) return;
    if (std::optional<TokenFault> fault = check(given.value, folder)) {
        refusals.push_back({*fault, given.typed, {}});
        folder.clear();
    }
}

// The tokens whose value is a whole number in a range.
struct NumberToken {
    ValueToken CommandLineOptions::*given;
    unsigned least;
    unsigned most;
    TokenFault fault;
    std::optional<unsigned> CheckedTokens::*checked;
};
constexpr NumberToken kNumberTokens[] = {
    {&CommandLineOptions::reserve, 0, kMaxReserveMiB, TokenFault::kReserveNotInRange, &CheckedTokens::reserveMiB},
    {&CommandLineOptions::maxFile, 1, kMaxFileMiB, TokenFault::kMaxFileNotInRange, &CheckedTokens::maxFileMiB},
    {&CommandLineOptions::days, 1, kMaxEventLogDays, TokenFault::kDaysNotInRange, &CheckedTokens::days},
    {&CommandLineOptions::threads, 1, kMaxStepThreads, TokenFault::kThreadsNotInRange, &CheckedTokens::threads},
};

}  // namespace

bool ReadWholeNumber(const std::string& value, unsigned least, unsigned most, unsigned& number) {
    if (value.empty()) return false;
    unsigned long long read = 0;
    for (char c : value) {
        if (!IsDigit(c)) return false;
        // Stopping above the limit keeps a number of any length from wrapping back into range.
        if (read <= most) read = read * 10 + static_cast<unsigned>(c - '0');
    }
    if (read < least || read > most) return false;
    number = static_cast<unsigned>(read);
    return true;
}

bool ReadTimeoutSeconds(const std::string& value, unsigned& seconds) {
    return ReadWholeNumber(value, 1, kMaxTimeoutSeconds, seconds);
}

std::optional<TokenFault> CheckShareToken(const std::string& value, std::string& root) {
    if (value.empty()) return TokenFault::kEmptyPath;
    // Run folder paths with blanks would break the packaging command line, which splits at blanks.
    if (value.find(' ') != std::string::npos) return TokenFault::kBlankInPath;
    std::string full = FullPath(value);
    if (full.empty()) return TokenFault::kNoSuchFolder;
    if (full.find(' ') != std::string::npos) return TokenFault::kBlankInPath;
    if (full.back() != '\\') full += '\\';
    root = full;
    return std::nullopt;
}

std::optional<TokenFault> CheckFolderToken(const std::string& value, std::string& folder) {
    std::string full;
    if (std::optional<TokenFault> fault = CheckShareToken(value, full)) return fault;
    if (!win32::FolderExists(full)) return TokenFault::kNoSuchFolder;
    folder = full;
    return std::nullopt;
}

CheckedTokens CheckTokens(const CommandLineOptions& options) {
    CheckedTokens checked;
    if (options.timeout.given && !ReadTimeoutSeconds(options.timeout.value, checked.timeoutSeconds))
        checked.refusals.push_back({TokenFault::kTimeoutNotInRange, options.timeout.typed, {}});
    CheckPathToken(options.destination, CheckFolderToken, checked.destinationFolder, checked.refusals);
    CheckPathToken(options.share, CheckShareToken, checked.shareRoot, checked.refusals);
    if (options.share.given && options.noShare)
        checked.refusals.push_back({TokenFault::kShareWithNoShare, options.share.typed, options.noShareTyped});
    checked.noShare = options.noShare;
    for (const NumberToken& number : kNumberTokens) {
        const ValueToken& given = options.*number.given;
        unsigned value = 0;
        if (!given.given) continue;
        if (ReadWholeNumber(given.value, number.least, number.most, value))
            checked.*number.checked = value;
        else
            checked.refusals.push_back({number.fault, given.typed, {}});
    }
    return checked;
}
