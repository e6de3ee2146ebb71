#include "engine/OsVersion.h"

OsVersionInfo ReadSystemOsVersion() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    // The manifest keeps the answer at 6.2 on newer systems, which is what the log locations need.
    if (!::GetVersionExA(&version)) return {};
#pragma GCC diagnostic pop
    return {version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber,
            version.szCSDVersion};
}
