// IsPathExistsInRegistry: can a string value be read from a key of the local machine?
#include <cstring>

#include "common/win32/UniqueHandle.h"
#include "engine/ReportSink.h"
#include "probes/Probes.h"
#include "probes/RegistryValueRead.h"

int IsPathExistsInRegistry(ReportSink& report, const std::string& subKey, const std::string& valueName,
                           std::string& output, int use64BitView) {
    report.LogReport("Start - IsPathExistsInRegistry Sub Key:%s; Value Name:%s", subKey.c_str(), valueName.c_str());
    int result = 0;
    REGSAM access = KEY_READ | (use64BitView ? KEY_WOW64_64KEY : 0);
    win32::UniqueRegKey key;
    LONG status = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, access, key.put());
    if (status != ERROR_SUCCESS) {
        report.LogReport("RegOpenKeyEx() failed for %s; Error=%d", subKey.c_str(), static_cast<int>(status));
    } else {
        DWORD type = 0;
        RegistryValueBuffer value;
        status = ReadProbedValue(report, key.get(), valueName.c_str(), value, type);
        const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
        const char* characters = reinterpret_cast<const char*>(value.data());
        // A string stored without its terminator can fill the whole buffer: it is one character
        // longer than a path may be, so it counts as too long, as it would with its terminator.
        if (status == ERROR_SUCCESS && text && ::strnlen(characters, value.size()) == value.size()) {
            status = ERROR_MORE_DATA;
            report.LogReport("RegQueryValueEx() failed to read %s; Error=%d", valueName.c_str(), static_cast<int>(status));
        }
        if (status == ERROR_SUCCESS && text) {
            output = characters;
            report.LogReport("Path in Registry: %s", output.c_str());
            result = 1;
        }
    }
    report.LogReport("Finish - IsPathExistsInRegistry.  Error=%d", static_cast<int>(status));
    return result;
}
