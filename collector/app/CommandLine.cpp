#include "app/CommandLine.h"

#include <strings.h>

#include <cstring>

namespace {

constexpr const char* kDelimiters = " ,\t\n";
constexpr const char* kSilentSwitch = "-noGUI";
constexpr const char* kQuietSwitch = "-quiet";
constexpr const char* kNoShareSwitch = "noshare";
constexpr const char* kRedactSwitch = "redact";
constexpr const char* kRedactPrefix = "redact=";
constexpr const char* kListSwitch = "-list";
constexpr const char* kIncidentPrefix = "case#=";
constexpr size_t kIncidentPrefixLength = 6;

bool HasPrefix(const std::string& token, const char* prefix) {
    return ::strncasecmp(token.c_str(), prefix, std::strlen(prefix)) == 0;
}

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
};

void ReadValueToken(const std::string& token, CommandLineOptions& options) {
    for (const ValuePrefix& entry : kValuePrefixes) {
        if (!HasPrefix(token, entry.prefix)) continue;
        ValueToken& field = options.*entry.field;
        field.given = true;
        field.token = token;
        field.value = token.substr(std::strlen(entry.prefix));
        return;
    }
}

// The words of `text` between any of `delimiters`; an empty word between two is none.
std::vector<std::string> Words(const std::string& text, const char* delimiters) {
    std::vector<std::string> words;
    size_t position = 0;
    while ((position = text.find_first_not_of(delimiters, position)) != std::string::npos) {
        const size_t end = text.find_first_of(delimiters, position);
        words.push_back(text.substr(position, end == std::string::npos ? std::string::npos : end - position));
        position = end;
    }
    return words;
}

}  // namespace

CommandLineOptions ParseCommandLine(const std::string& arguments) {
    CommandLineOptions options;
    for (const std::string& token : Words(arguments, kDelimiters)) {
        if (::strncasecmp(token.c_str(), kIncidentPrefix, kIncidentPrefixLength) == 0) {
            options.incidentNumber = token.substr(token.find('=') + 1);
        } else if (::strcasecmp(token.c_str(), kSilentSwitch) == 0) {
            options.showDialog = false;
        } else if (::strcasecmp(token.c_str(), kQuietSwitch) == 0) {
            options.quiet = true;
        } else if (::strcasecmp(token.c_str(), kListSwitch) == 0) {
            options.listPlan = true;
        } else if (::strcasecmp(token.c_str(), kNoShareSwitch) == 0) {
            options.noShare = true;
            options.noShareToken = token;
        } else if (::strcasecmp(token.c_str(), kRedactSwitch) == 0) {
            options.redact = true;
            options.redactKeywords.clear();
        } else if (HasPrefix(token, kRedactPrefix)) {
            options.redact = true;
            options.redactKeywords = Words(token.substr(std::strlen(kRedactPrefix)), ";");
        } else {
            ReadValueToken(token, options);
        }
    }
    return options;
}
