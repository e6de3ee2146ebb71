// CaptureRBKLogs: the folders of the product's scheduled snapshot jobs, found in the registry.
#include <cstring>

#include "common/win32/UniqueHandle.h"
#include "capture/Captures.h"
#include "engine/StepContext.h"
#include "engine/ErrorText.h"

namespace {

constexpr const char* kSchedulesKey = "SOFTWARE\\Brennock\\QzSvc\\CurrentVersion\\Schedules";
constexpr DWORD kScheduleAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
constexpr DWORD kNameBuffer = 520;  // key names and the XML path, as the schedule service writes them
constexpr int kShownValueCharacters = 200;  // enough of a skipped value to find it, well inside a report entry

// The XML path of one schedule, or "" when the value is missing or not a text.
std::string ReadXmlPath(HKEY schedule) {
    char value[kNameBuffer];
    std::memset(value, 0, sizeof value);
    DWORD type = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExA(schedule, "XMLFilePathName", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    // A text stored without its terminator may fill the whole buffer.
    return std::string(value, ::strnlen(value, size));
}

}  // namespace

void CaptureRBKLogs(StepContext& context) {
    context.LogReport("Start - CaptureRBKLogs");
    win32::UniqueRegKey schedules;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSchedulesKey, 0, kScheduleAccess, schedules.put()) != ERROR_SUCCESS) {
        context.LogFailure("Failed to open Schedule registry key");
        context.LogReport("Finish - CaptureRBKLogs");
        return;
    }
    for (DWORD index = 0;; ++index) {
        char name[kNameBuffer];
        std::memset(name, 0, sizeof name);
        DWORD nameSize = sizeof name;
        LONG status = ::RegEnumKeyExA(schedules.get(), index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        // Any other failure would come back at every further index: the walk ends here.
        if (status != ERROR_SUCCESS) {
            context.LogFailure("Failed to enumerate the schedule keys!!! %s", GetErrorText(static_cast<DWORD>(status)).c_str());
            break;
        }

        win32::UniqueRegKey schedule;
        if (::RegOpenKeyExA(schedules.get(), name, 0, kScheduleAccess, schedule.put()) != ERROR_SUCCESS) {
            context.LogFailure("Failed to open specific schedule key");
            continue;
        }
        std::string xmlPath = ReadXmlPath(schedule.get());
        if (xmlPath.empty()) {
            context.LogFailure("Failed to get value from the schedule key");
            continue;
        }
        size_t lastSlash = xmlPath.rfind('\\');
        // Without a folder the search would walk the root of the current drive instead.
        if (lastSlash == std::string::npos || lastSlash == 0) {
            context.LogFailure("Schedule file has no folder, skipped: %.*s", kShownValueCharacters, xmlPath.c_str());
            continue;
        }
        // No folder can have such a path, and its copy lines would not fit a report entry.
        if (lastSlash >= MAX_PATH) {
            context.LogFailure("Schedule folder longer than a path can be, skipped: %.*s...", kShownValueCharacters,
                      xmlPath.c_str());
            continue;
        }
        GrabMultipleFiles(context, xmlPath.substr(0, lastSlash), "*", context.run.schedulesFolder);
    }
    context.LogReport("Finish - CaptureRBKLogs");
}
