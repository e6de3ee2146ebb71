#include "app/CommandLine.h"

#include <strings.h>
#include <windows.h>

#include <cstring>

#include "common/win32/AnsiText.h"

namespace {

constexpr const wchar_t* kDelimiters = L" ,\t\n";
constexpr const char* kSilentSwitch = "-noGUI";
constexpr const char* kQuietSwitch = "-quiet";
constexpr const char* kNoShareSwitch = "noshare";
constexpr const char* kRedactSwitch = "redact";
constexpr const char* kRedactPrefix = "redact=";
constexpr const char* kListSwitch = "-list";
constexpr const char* kVerifySwitch = "-verify";
constexpr const char* kSummarySwitch = "-summary";
constexpr const char* kIncidentPrefix = "case#=";
constexpr size_t kIncidentPrefixLength = 6;

bool HasPrefix(const std::string& token, const char* prefix) {
    return ::strncasecmp(token.c_str(), prefix, std::strlen(prefix)) == 0;
}

bool IsDelimiter(wchar_t c) { return c != L'\0' && std::wcschr(kDelimiters, c) != nullptr; }

// The value tokens that are read whole after their prefix; the incident number keeps its own
// rule (its first six characters, then everything after the first "=").
struct ValuePrefix {
    const char* prefix;
    ValueToken CommandLineOptions::*field;
};
constexpr ValuePrefix kValuePrefixes[] = {
    {"timeout=", &CommandLineOptions::timeout},
    {"dest=", &CommandLineOptions::destination},
    {"share=", &CommandLineOptions::share},
    {"reserve=", &CommandLineOptions::reserve},
    {"maxfile=", &CommandLineOptions::maxFile},
    {"days=", &CommandLineOptions::days},
    {"threads=", &CommandLineOptions::threads},
};

void ReadValueToken(const std::wstring& typed, const std::string& token, CommandLineOptions& options) {
    for (const ValuePrefix& entry : kValuePrefixes) {
        if (!HasPrefix(token, entry.prefix)) continue;
        ValueToken& field = options.*entry.field;
        field.given = true;
        field.typed = typed;
        // The prefix is ASCII: as many characters in the typed token as in its ANSI text.
        field.value = win32::AnsiText(typed.substr(std::strlen(entry.prefix)));
        return;
    }
}

// The words of `text` between semicolons; an empty word between two is none.
std::vector<std::string> Keywords(const std::string& text) {
    std::vector<std::string> words;
    size_t position = 0;
    while ((position = text.find_first_not_of(';', position)) != std::string::npos) {
        const size_t end = text.find(';', position);
        words.push_back(text.substr(position, end == std::string::npos ? std::string::npos : end - position));
        position = end;
    }
    return words;
}

}  // namespace

std::wstring ProgramArguments(const std::wstring& commandLine) {
    size_t position = 0;
    // The program's name ends at the next quote when it starts with one (it cannot hold a
    // quote), else at the first blank or tab.
    if (!commandLine.empty() && commandLine[0] == L'"') {
        position = commandLine.find(L'"', 1);
        position = position == std::wstring::npos ? commandLine.size() : position + 1;
    } else {
        position = commandLine.find_first_of(L" \t");
        if (position == std::wstring::npos) position = commandLine.size();
    }
    position = commandLine.find_first_not_of(L" \t", position);
    return position == std::wstring::npos ? std::wstring() : commandLine.substr(position);
}

std::vector<std::wstring> CommandLineTokens(const std::wstring& arguments) {
    std::vector<std::wstring> tokens;
    std::wstring token;
    size_t backslashes = 0;  // the backslashes just before this character
    int quotes = 0;          // 1 inside quotes; counts a run of quotes as the system does
    const auto endToken = [&] {
        if (!token.empty()) tokens.push_back(token);
        token.clear();
    };
    for (size_t i = 0; i < arguments.size();) {
        const wchar_t c = arguments[i];
        if (quotes == 0 && IsDelimiter(c)) {
            endToken();
            backslashes = 0;
            ++i;
        } else if (c == L'\\') {
            token += c;
            ++backslashes;
            ++i;
        } else if (c == L'"') {
            // Half the backslashes before a quote stay; after an odd number the quote is a
            // character of the token, after an even one it opens or closes the quoted part.
            token.erase(token.size() - backslashes / 2);
            if (backslashes % 2 == 0) {
                ++quotes;
            } else {
                token.back() = L'"';
            }
            backslashes = 0;
            // Inside quotes, every third quote of a run is a quote of the token.
            for (++i; i < arguments.size() && arguments[i] == L'"'; ++i) {
                if (++quotes == 3) {
                    token += L'"';
                    quotes = 0;
                }
            }
            if (quotes == 2) quotes = 0;
        } else {
            token += c;
            backslashes = 0;
            ++i;
        }
    }
    endToken();
    return tokens;
}

CommandLineOptions ParseCommandLine(const std::wstring& arguments) {
    CommandLineOptions options;
    for (const std::wstring& typed : CommandLineTokens(arguments)) {
        const std::string token = win32::AnsiText(typed);
        if (::strcasecmp(token.c_str(), kVerifySwitch) == 0) {
            options.verify = true;
            continue;
        }
        if (::strcasecmp(token.c_str(), kSummarySwitch) == 0) {
            options.verifySummary = true;
            continue;
        }
        options.verifyPaths.push_back(typed);
        if (::strncasecmp(token.c_str(), kIncidentPrefix, kIncidentPrefixLength) == 0) {
            options.incidentNumber = win32::AnsiText(typed.substr(typed.find(L'=') + 1));
        } else if (::strcasecmp(token.c_str(), kSilentSwitch) == 0) {
            options.showDialog = false;
        } else if (::strcasecmp(token.c_str(), kQuietSwitch) == 0) {
            options.quiet = true;
        } else if (::strcasecmp(token.c_str(), kListSwitch) == 0) {
            options.listPlan = true;
        } else if (::strcasecmp(token.c_str(), kNoShareSwitch) == 0) {
            options.noShare = true;
            options.noShareTyped = typed;
        } else if (::strcasecmp(token.c_str(), kRedactSwitch) == 0) {
            options.redact = true;
            options.redactKeywords.clear();
        } else if (HasPrefix(token, kRedactPrefix)) {
            options.redact = true;
            options.redactKeywords = Keywords(win32::AnsiText(typed.substr(std::strlen(kRedactPrefix))));
        } else {
            ReadValueToken(typed, token, options);
        }
    }
    return options;
}
