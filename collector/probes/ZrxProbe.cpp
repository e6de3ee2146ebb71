// IsZRXInstalled: can the replication product's template path be read?
#include "common/win32/UniqueHandle.h"
#include "engine/Collection.h"
#include "probes/Probes.h"
#include "common/text/LeadingNumber.h"
#include "probes/RegistryValueRead.h"
#include "probes/CollectionProbes.h"

namespace {

// Where the replication product keeps its constants, by the volume manager's major version.
std::string ConstantsKey(int majorVersion) {
    switch (majorVersion) {
    case 3:
    case 4:
        return "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\constants";
    case 6:
        return "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager\\constants";
    default:
        return "SOFTWARE\\BRENNOCK\\HLMQobc\\Nib33\\Agents\\StorageAgent\\constants";
    }
}

}  // namespace

int IsZRXInstalled(Collection& collection) {
    collection.LogReport("Start - IsZRXInstalled");
    std::string version;
    if (IsPathExistsInRegistry(collection, "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager", "Version", version, 0))
        collection.LogReport("KDX/VM Version: %s", version.c_str());

    std::string key = ConstantsKey(LeadingNumber(version));
    collection.LogReport("ZRX Registry path = %s", key.c_str());
    key += "\\defaultTemplatePath";

    const char* valueName = "ZRXTEMPLATEPATH";
    int result = 0;
    win32::UniqueRegKey opened;
    LONG status = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, opened.put());
    if (status != ERROR_SUCCESS) {
        collection.LogReport("RegOpenKeyEx() failed for %s; Error=%d", key.c_str(), static_cast<int>(status));
    } else {
        DWORD type = 0;
        RegistryValueBuffer value;
        status = ReadProbedValue(collection, opened.get(), valueName, value, type);
        result = status == ERROR_SUCCESS ? 1 : 0;  // the template path only has to be there; its text is not used
    }
    collection.LogReport("Finish - IsZRXInstalled.  Error=%d", static_cast<int>(status));
    return result;
}
