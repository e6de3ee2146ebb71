#include "DsmSections.h"

#include <cstring>

#include "ClassPrinters.h"
#include "ComValues.h"
#include "DiskList.h"
#include "Enumeration.h"
#include "Output.h"
#include "RunState.h"
#include "WbemErrors.h"
#include "common/win32/ComPtr.h"

namespace {

bool IsMpioKey(const std::string& key) { return key.find("MPIO") != std::string::npos; }

struct DsmSection {
    const wchar_t* className;
    InstancePrinter printer;
    const char* banner;
};

const DsmSection kConfigSection{L"QDsmConfigInfo", PrintQDsmConfigInfo,
                                "\n\n***** FLX DSM QDSM INFORMATION ******\n\n"};
const DsmSection kArraySection{L"QDsmArrayConfigInfo", PrintQDsmArrayConfigInfo,
                               "\n\n***** FLX DSM ARRAY INFORMATION ******\n\n"};

// One object per run of consecutive disks of the same model, each under its own banner.
void ShowPerDiskModel(IWbemServices* services, const DsmSection& section) {
    MpioDiskList* list = ThisRun().diskList;
    if (list == nullptr) return;
    std::string lastPrinted;
    for (const MpioDiskRecord& record : list->records) {
        ThisRun().printer = section.printer;
        if (!IsMpioKey(record.key)) continue;
        std::wstring pathKey;
        bool prepared = ObjectPathKey(record.key, pathKey);
        if (SameDiskModel(lastPrinted, record.key)) continue;
        PrintNarrow(section.banner);
        lastPrinted = record.key;
        if (prepared) ShowParticularWMIClass(pathKey, services, section.className);
    }
}

}  // namespace

bool ObjectPathKey(const std::string& key, std::wstring& pathKey) {
    pathKey.clear();
    if (key.empty()) return false;
    int length = static_cast<int>(key.size());
    int needed = ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, key.data(), length, nullptr, 0);
    if (needed <= 0) return false;
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    if (::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, key.data(), length, wide.data(), needed) != needed) return false;
    for (wchar_t c : wide) {
        pathKey += c;
        if (c == L'\\') pathKey += c;
    }
    return true;
}

bool SameDiskModel(const std::string& previous, const std::string& current) {
    if (previous.empty() || current.empty()) return false;
    size_t lastBackslash = previous.rfind('\\');
    if (lastBackslash == std::string::npos || lastBackslash + 1 == previous.size()) return false;
    size_t prefixLength = lastBackslash + 1;
    return _strnicmp(current.c_str(), previous.c_str(), prefixLength) == 0;
}

HRESULT ShowParticularWMIClass(const std::wstring& key, IWbemServices* services, const wchar_t* className) {
    std::wstring path = className;
    path += L".InstanceName=\"";
    path += key;
    path += L"\"";
    Bstr objectPath(path.c_str());
    win32::ComPtr<IWbemClassObject> object;
    HRESULT status = services->GetObject(objectPath.get(), 0, nullptr, object.put(), nullptr);
    if (status == 0 && !object) status = WBEM_E_FAILED;  // success without an object is no object
    if (status != 0) {
        std::string line = AnsiText(path);
        line += "\n";
        PrintError(line);
        ReportWbemError("Could not GetObject of name in ShowParticularWMIClass", status);
        return status;
    }
    PrintInstance(object.get());
    return status;
}

void ShowDsmPathInfo(IWbemServices* services) {
    MpioDiskList* list = ThisRun().diskList;
    if (list == nullptr) return;
    PrintNarrow("\n\n***** FLX DSM PATH INFORMATION ******\n\n");
    ThisRun().printer = PrintQDsmGroupConfigInfo;
    for (const MpioDiskRecord& record : list->records) {
        if (!IsMpioKey(record.key)) continue;
        std::wstring pathKey;
        if (ObjectPathKey(record.key, pathKey)) ShowParticularWMIClass(pathKey, services, L"QDsmGroupConfigInfo");
    }
}

void ShowDsmConfigInfo(IWbemServices* services) { ShowPerDiskModel(services, kConfigSection); }

void ShowDsmArrayInfo(IWbemServices* services) { ShowPerDiskModel(services, kArraySection); }
