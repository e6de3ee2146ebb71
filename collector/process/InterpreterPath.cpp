// Where the command interpreter is found.
#include <string>

#include "process/WatchedChild.h"

namespace process {

namespace {
constexpr DWORD kLongestPath = 32767;  // the longest value an environment variable can hold

std::string ComSpec() {
    std::string value(kLongestPath, '\0');
    DWORD length = ::GetEnvironmentVariableA("COMSPEC", value.data(), kLongestPath);
    if (length == 0 || length >= kLongestPath) return {};
    value.resize(length);
    return value;
}

// A drive path ("C:\...") or a UNC path; anything else would be looked for in the current folder.
bool IsFullPath(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) return true;
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}
}  // namespace

std::string InterpreterPath() {
    std::string comSpec = ComSpec();
    if (IsFullPath(comSpec)) return comSpec;
    char system[MAX_PATH] = {};
    UINT length = ::GetSystemDirectoryA(system, MAX_PATH);
    std::string path(system, length < MAX_PATH ? length : 0);
    path += "\\cmd.exe";
    return path;
}

}  // namespace process
