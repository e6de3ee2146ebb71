#pragma once
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "common/disk/FreeSpaceFloor.h"

// Why a token of the command line was refused.
enum class TokenFault {
    kTimeoutNotInRange,  // not a whole decimal number from 1 to kMaxTimeoutSeconds
    kEmptyPath,
    kBlankInPath,
    kNoSuchFolder,  // missing, or a file
    kShareWithNoShare,
    kReserveNotInRange,  // not a whole decimal number from 0 to kMaxReserveMiB
    kMaxFileNotInRange,  // from 1 to kMaxFileMiB
    kDaysNotInRange,     // from 1 to kMaxEventLogDays
    kThreadsNotInRange,  // from 1 to kMaxStepThreads
};

struct TokenRefusal {
    TokenFault fault;
    std::wstring token;       // as typed
    std::wstring otherToken;  // the token it clashes with, as typed; empty for the others
};

// The tokens' values once checked; a run starts only when there is no refusal.
struct CheckedTokens {
    unsigned timeoutSeconds = 0;    // 0: no time limit given
    std::string destinationFolder;  // full path with a trailing backslash; empty: not given
    std::string shareRoot;          // likewise
    bool noShare = false;
    std::optional<unsigned> reserveMiB;  // none: the floor of the volume's size
    std::optional<unsigned> maxFileMiB;  // none: files are copied whole
    std::optional<unsigned> days;        // none: the exports' own 45
    std::optional<unsigned> threads;     // none: the default of the steps' coordinator
    std::vector<TokenRefusal> refusals;
};

constexpr unsigned kMaxTimeoutSeconds = 86400;  // a day: a tool stuck longer is stuck for good
constexpr unsigned kMaxFileMiB = 1048576;  // 1 TiB: a bound on a log, not on a disk
constexpr unsigned kMaxEventLogDays = 3650;  // ten years: older records are in the backup
constexpr unsigned kMaxStepThreads = 16;     // more steps at once only wait on each other's disk

// ASCII decimal digits only, from `least` to `most`.
bool ReadWholeNumber(const std::string& value, unsigned least, unsigned most, unsigned& number);

// "N" of "timeout=N": decimal digits only, from 1 to kMaxTimeoutSeconds.
bool ReadTimeoutSeconds(const std::string& value, unsigned& seconds);

// "PATH" of "dest=", by the rules of a folder picked with Browse...: an existing
// folder whose path holds no blank. A relative path is taken from the current directory. On
// success `folder` is the full path with a trailing backslash.
std::optional<TokenFault> CheckFolderToken(const std::string& value, std::string& folder);

// "PATH" of "share=": a path without a blank, taken from the current directory when relative.
// It need not be reachable now: like the built-in share, a run tries it and falls back to the
// local root. On success `root` is the full path with a trailing backslash.
std::optional<TokenFault> CheckShareToken(const std::string& value, std::string& root);

// Every given token checked; one refusal per faulty token.
CheckedTokens CheckTokens(const CommandLineOptions& options);

// The refusals as the message box shows them: one line each, naming the token as typed.
std::wstring RefusalMessage(const std::vector<TokenRefusal>& refusals);
