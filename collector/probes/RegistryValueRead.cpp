#include "probes/RegistryValueRead.h"

#include "engine/ReportSink.h"

LONG ReadProbedValue(ReportSink& report, HKEY key, const char* valueName, RegistryValueBuffer& value, DWORD& type) {
    DWORD size = 0;
    LONG status = ::RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS)
        report.LogReport("RegQueryValueEx() failed to query name length for %s; Error=%d", valueName,
                         static_cast<int>(status));
    value.fill(0);
    size = static_cast<DWORD>(value.size());
    status = ::RegQueryValueExA(key, valueName, nullptr, &type, value.data(), &size);
    if (status != ERROR_SUCCESS)
        report.LogReport("RegQueryValueEx() failed to read %s; Error=%d", valueName, static_cast<int>(status));
    return status;
}
