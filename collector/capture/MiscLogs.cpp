// CaptureMiscLogs: the extra files named in "Zeltrin.CFG", copied into the run's MISC folder.
#include <cstdio>
#include <cstring>
#include <optional>

#include "common/win32/Environment.h"
#include "common/win32/UniqueHandle.h"
#include "capture/Captures.h"
#include "engine/StepContext.h"

namespace {

constexpr int kMaxEntry = 1023;  // a configuration line and its expansion; longer lines come in pieces
constexpr int kShownEntryCharacters = 200;  // enough of a skipped entry to find it, well inside a report entry

}  // namespace

void CaptureMiscLogs(StepContext& context) {
    context.LogReport("Start - CaptureMiscLogs");
    // Opened by its bare name: the configuration sits in the program folder, the current directory.
    win32::UniqueCStream config(std::fopen("Zeltrin.CFG", "r"));
    if (!config) {
        context.LogFailure("Failed to open config file for MISC");
        context.LogReport("Finish - CaptureMiscLogs");
        return;
    }
    char line[kMaxEntry + 1];
    for (;;) {
        std::memset(line, 0, sizeof line);
        if (!std::fgets(line, sizeof line, config.get())) break;
        if (line[0] == '\0' || line[0] == '#' || line[0] == '[') continue;

        std::string entry(line);
        size_t feed = entry.find('\n');
        if (feed != std::string::npos) entry.resize(feed);
        if (entry.find('%') != std::string::npos) {
            std::optional<std::string> expanded = win32::TryExpandEnvironment(entry, kMaxEntry + 1);
            // Cut short, the expansion would name some other file or folder.
            if (!expanded) {
                context.LogFailure("Entry does not expand within %d characters, skipped: %.*s", kMaxEntry,
                          kShownEntryCharacters, entry.c_str());
                continue;
            }
            entry = *expanded;
        }

        // Only an entry with a backslash names a path. Its file name follows the last separator
        // of either kind, since the system takes a slash for one too: a name taken from behind
        // the last backslash alone could climb out of the MISC folder with "/../".
        if (entry.find('\\') == std::string::npos) continue;
        size_t lastSeparator = entry.find_last_of("\\/");
        if (lastSeparator + 1 == entry.size()) continue;
        // No file can have such a name, and its copy lines would not fit a report entry.
        if (entry.size() >= MAX_PATH) {
            context.LogFailure("Entry longer than a path can be, skipped: %.*s...", kShownEntryCharacters, entry.c_str());
            continue;
        }
        std::string lastComponent = entry.substr(lastSeparator + 1);
        // Only a star makes a pattern; a name with "?" alone is taken as it stands.
        if (lastComponent.find('*') != std::string::npos)
            GrabMultipleFiles(context, entry.substr(0, lastSeparator), lastComponent, context.run.miscFolder);
        else
            GrabFile(context, entry, context.run.miscFolder + lastComponent, 0);
    }
    // A read that fails part-way must not pass for the end of the list.
    if (std::ferror(config.get())) context.LogFailure("Failed to read config file for MISC");
    context.LogReport("Finish - CaptureMiscLogs");
}
