#include "app/CommandLine.h"

#include <strings.h>

namespace {

constexpr const char* kDelimiters = " ,\t\n";
constexpr const char* kSilentSwitch = "-noGUI";
constexpr const char* kQuietSwitch = "-quiet";
constexpr const char* kIncidentPrefix = "case#=";
constexpr size_t kIncidentPrefixLength = 6;

}  // namespace

CommandLineOptions ParseCommandLine(const std::string& arguments) {
    CommandLineOptions options;
    size_t position = 0;
    while ((position = arguments.find_first_not_of(kDelimiters, position)) != std::string::npos) {
        size_t end = arguments.find_first_of(kDelimiters, position);
        std::string token = arguments.substr(position, end == std::string::npos ? std::string::npos : end - position);
        position = end;
        if (::strncasecmp(token.c_str(), kIncidentPrefix, kIncidentPrefixLength) == 0)
            options.incidentNumber = token.substr(token.find('=') + 1);
        else if (::strcasecmp(token.c_str(), kSilentSwitch) == 0)
            options.showDialog = false;
        else if (::strcasecmp(token.c_str(), kQuietSwitch) == 0)
            options.quiet = true;
    }
    return options;
}
