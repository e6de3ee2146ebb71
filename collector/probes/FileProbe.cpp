// IsFileExists: does a path (a file, a folder, or anything a wildcard matches) exist?
#include "common/win32/UniqueHandle.h"
#include "engine/Collection.h"
#include "framework/WaitCursor.h"
#include "report/ErrorText.h"

int Collection::IsFileExists(std::string path) {
    framework::WaitCursor wait;
    LogReport("Start - IsFileExists %s", path.c_str());
    if (path.empty()) {
        LogReport("Finish - IsFileExists Empty File Name.");
        return 0;
    }
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA(path.c_str(), &found));
    DWORD error = 0;
    int result = 0;
    if (search) {
        LogReport("%s is available", path.c_str());
        result = 1;
    } else {
        error = ::GetLastError();
        LogReport("FindFirstFile() FAILED-> %s", GetErrorText(error).c_str());
    }
    LogReport("Finish - IsFileExists Error = %d", static_cast<int>(error));
    return result;
}
