#include "probes/KerdOptions.h"

KerdLogLocation ParseKerdLogOption(const std::string& options) {
    KerdLogLocation location;
    static constexpr char kOption[] = "logfile=";
    std::string::size_type option = options.find(kOption);
    if (options.empty() || option == std::string::npos) return location;

    std::string afterEquals = options.substr(option + sizeof kOption - 1);
    std::string::size_type valueStart = !afterEquals.empty() && afterEquals[0] == '"' ? 1 : 0;
    std::string::size_type lastBackslash = afterEquals.rfind('\\');
    if (lastBackslash != std::string::npos) {
        location.pattern = afterEquals.substr(lastBackslash);
        location.folder = afterEquals.substr(valueStart, lastBackslash > valueStart ? lastBackslash - valueStart : 0);
    } else {
        location.folder = afterEquals.substr(valueStart);
    }
    location.found = true;
    return location;
}
