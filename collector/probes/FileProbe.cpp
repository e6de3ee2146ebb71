// IsFileExists: does a path (a file, a folder, or anything a wildcard matches) exist?
#include "common/win32/UniqueHandle.h"
#include "engine/ReportSink.h"
#include "probes/Probes.h"
#include "framework/WaitCursor.h"
#include "engine/ErrorText.h"

int IsFileExists(ReportSink& report, const std::string& path) {
    framework::WaitCursor wait;
    report.LogReport("Start - IsFileExists %s", path.c_str());
    if (path.empty()) {
        report.LogReport("Finish - IsFileExists Empty File Name.");
        return 0;
    }
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA(path.c_str(), &found));
    DWORD error = 0;
    int result = 0;
    if (search) {
        report.LogReport("%s is available", path.c_str());
        result = 1;
    } else {
        error = ::GetLastError();
        report.LogReport("FindFirstFile() FAILED-> %s", GetErrorText(error).c_str());
    }
    report.LogReport("Finish - IsFileExists Error = %d", static_cast<int>(error));
    return result;
}
