// IsPathExistsInRegistry: can a string value be read from a key of the local machine?
#include <cstring>

#include "common/win32/UniqueHandle.h"
#include "dialog/CULVIXDlg.h"

namespace {
constexpr DWORD kValueBuffer = 261;  // a path and its terminator; longer values count as missing
}

int CULVIXDlg::IsPathExistsInRegistry(std::string subKey, std::string valueName, std::string& output,
                                      int use64BitView) {
    LogReport("Start - IsPathExistsInRegistry Sub Key:%s; Value Name:%s", subKey.c_str(), valueName.c_str());
    int result = 0;
    REGSAM access = KEY_READ | (use64BitView ? KEY_WOW64_64KEY : 0);
    win32::UniqueRegKey key;
    LONG status = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, access, key.put());
    if (status != ERROR_SUCCESS) {
        LogReport("RegOpenKeyEx() failed for %s; Error=%d", subKey.c_str(), static_cast<int>(status));
    } else {
        DWORD type = 0;
        DWORD size = 0;
        status = ::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS)
            LogReport("RegQueryValueEx() failed to query name length for %s; Error=%d", valueName.c_str(),
                      static_cast<int>(status));
        char value[kValueBuffer] = {};
        size = kValueBuffer;
        status = ::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value),
                                    &size);
        if (status != ERROR_SUCCESS) {
            LogReport("RegQueryValueEx() failed to read %s; Error=%d", valueName.c_str(), static_cast<int>(status));
        } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
            // A value that fills the buffer need not carry its terminator: never read past it.
            output.assign(value, ::strnlen(value, kValueBuffer - 1));
            LogReport("Path in Registry: %s", output.c_str());
            result = 1;
        }
    }
    LogReport("Finish - IsPathExistsInRegistry.  Error=%d", static_cast<int>(status));
    return result;
}
