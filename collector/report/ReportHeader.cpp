// The collection's start-up: the report log created and its header written.
#include <cstdio>

#include "common/win32/Environment.h"
#include "engine/Collection.h"
#include "probes/Probes.h"
#include "framework/MessageBoxes.h"
#include "common/text/LeadingNumber.h"
#include "resources/resource.h"
#include "probes/CollectionProbes.h"
#include "report/CollectionReport.h"

namespace {

constexpr const char* kReportFileSuffix = "ULVIX-Report.HTML";
constexpr const char* kOpeningHead = "<HTML>\n<HEADER>\n<TITLE>Zeltrin - Marlowisp Report</TITLE>\n</HEADER>\n";
constexpr const char* kOpeningBody = "<BODY>\n<P>";
constexpr int kProgramVersion[] = {6, 1, 0, 445};
constexpr DWORD kFolderBuffer = 261;       // system and Windows directory
constexpr DWORD kPathBuffer = 260;         // current directory, home drive
constexpr DWORD kComputerNameBuffer = 16;  // a NetBIOS name and its terminator

// An expansion that left a reference in place, or gave nothing, names no drive.
bool IsExpandedDrive(const std::string& drive) { return !drive.empty() && drive.find('%') == std::string::npos; }

// A run as SYSTEM (a scheduled task, a software-distribution agent) has no home drive; the
// system drive is there for every account. Empty when not even that is known, and the run
// then fails to make its folder as it would have.
std::string SystemDrive(const std::string& windowsDirectory) {
    std::string drive = win32::ExpandEnvironment("%SystemDrive%", kPathBuffer);
    if (IsExpandedDrive(drive)) return drive;
    if (windowsDirectory.size() >= 2 && windowsDirectory[1] == ':') return windowsDirectory.substr(0, 2);
    return {};
}

std::string CreateFailedText(const std::string& name, DWORD error) {
    // The message is a resource so translators can reword it; it takes the name and the code.
    std::string format = framework::LoadResourceString(IDS_REPORT_CREATE_FAILED);
    char text[1024];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(text, sizeof text, format.c_str(), name.c_str(), static_cast<int>(error));
#pragma GCC diagnostic pop
    return text;
}

}  // namespace

namespace {

void SetOsFacts(OsFacts& os, const OsVersionInfo& version) {
    bool nt = version.platformId == VER_PLATFORM_WIN32_NT;
    os.isWindows2000 = nt && version.major == 5 && version.minor == 0;
    os.isXpOr2003 = nt && version.major == 5 && version.minor != 0;
    os.isVersion6 = nt && version.major == 6;
    os.isVersion62Or63 =
        version.platformId != VER_PLATFORM_WIN32_WINDOWS && version.major == 6 && (version.minor == 2 || version.minor == 3);
}

}  // namespace

void Start(Collection& collection, OsVersionReader readOsVersion, bool withReport) {
    char name[64];
    std::snprintf(name, sizeof name, "%d_%s", static_cast<int>(::GetCurrentProcessId()), kReportFileSuffix);
    collection.report.fileName = name;
    if (withReport && !collection.report.file.Create(collection.report.fileName)) {
        DWORD error = ::GetLastError();
        framework::ShowMessageBox(nullptr, CreateFailedText(collection.report.fileName, error), collection.kMessageCaption,
                                  MB_OK | MB_ICONSTOP);
        return;
    }
    collection.report.file.Write(kOpeningHead);
    collection.report.file.Write(kOpeningBody);
    collection.report.file.Flush();

    collection.LogReport("ULVIX Report file name: %s", collection.report.file.GetFileName().c_str());

    char version[32];
    std::snprintf(version, sizeof version, "%d.%d.%d.%d", kProgramVersion[0], kProgramVersion[1],
                  kProgramVersion[2], kProgramVersion[3]);
    collection.programVersion = version;
    collection.LogReport("ULVIX Version         : %s", collection.programVersion.c_str());

    OsVersionInfo system = readOsVersion();
    SetOsFacts(collection.os, system);
    collection.LogReport("Test Box is running MSFT Windows Version %d.%d (Build %d: %s)", static_cast<int>(system.major),
              static_cast<int>(system.minor), static_cast<int>(system.build), system.servicePack.c_str());
    char description[512];
    std::snprintf(description, sizeof description, "Microsoft Windows v%d.%d (Build %d: %s)",
                  static_cast<int>(system.major), static_cast<int>(system.minor), static_cast<int>(system.build),
                  system.servicePack.c_str());
    collection.os.description = description;

    collection.os.isWow64 = DetectWow64(collection);

    char systemDirectory[kFolderBuffer] = {};
    char windowsDirectory[kFolderBuffer] = {};
    char currentDirectory[kPathBuffer] = {};
    if (::GetSystemDirectoryA(systemDirectory, kFolderBuffer) >= kFolderBuffer) systemDirectory[0] = '\0';
    if (::GetWindowsDirectoryA(windowsDirectory, kFolderBuffer) >= kFolderBuffer) windowsDirectory[0] = '\0';
    if (::GetCurrentDirectoryA(kPathBuffer, currentDirectory) >= kPathBuffer) currentDirectory[0] = '\0';
    collection.folders.systemDirectory = systemDirectory;
    collection.folders.windowsDirectory = windowsDirectory;
    collection.folders.programFolder = currentDirectory;
    collection.LogReport("ULVIX's current directory: %s", collection.folders.programFolder.c_str());
    collection.LogReport("System directory: %s", collection.folders.systemDirectory.c_str());
    collection.LogReport("Windows directory: %s", collection.folders.windowsDirectory.c_str());

    char homeDrive[kPathBuffer] = {};
    if (::ExpandEnvironmentStringsA("%HOMEDRIVE%", homeDrive, kPathBuffer) > kPathBuffer) homeDrive[0] = '\0';
    collection.folders.homeDrive = std::string(homeDrive) + "\\";
    collection.LogReport("Home Drive: %s", collection.folders.homeDrive.c_str());
    const std::string systemDrive = IsExpandedDrive(homeDrive) ? std::string() : SystemDrive(collection.folders.windowsDirectory);
    if (!systemDrive.empty()) {
        collection.folders.homeDrive = systemDrive + "\\";
        collection.LogReport("No home drive: the local root is the system drive %s", collection.folders.homeDrive.c_str());
    }

    char nodeName[kComputerNameBuffer] = {};
    DWORD nodeNameSize = kComputerNameBuffer;
    if (!::GetComputerNameA(nodeName, &nodeNameSize)) nodeName[0] = '\0';
    collection.folders.nodeName = nodeName;
    collection.LogReport("Node Name: %s", collection.folders.nodeName.c_str());

    std::string productVersion;
    if (IsPathExistsInRegistry(collection, "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager", "Version",
                               productVersion, 0)) {
        collection.detection.productVersion = productVersion;
        collection.LogReport("KDX/VM Version: %s", productVersion.c_str());
    }
    collection.detection.productMajorVersion = LeadingNumber(collection.detection.productVersion);

    SetFixedPaths(collection);
}

