// The name of a child in report lines and in the run record.
#include "process/WatchedChild.h"

namespace process {

std::string ChildCommandText(const std::string& application, const std::string& commandLine) {
    // Options alone begin with a blank (" -x", " /report ..."); a full command line names its program.
    if (application.empty() || (!commandLine.empty() && commandLine.front() != ' ')) return commandLine;
    std::string text = application;
    text += commandLine;
    return text;
}

}  // namespace process
