#include "Enumeration.h"

#include "ComValues.h"
#include "Output.h"
#include "RunState.h"
#include "WbemErrors.h"
#include "WmiConnection.h"
#include "common/win32/ComPtr.h"

namespace {

constexpr LONG kShallow = WBEM_FLAG_SHALLOW;      // instances of the class itself only
constexpr HRESULT kNoMoreObjects = WBEM_S_FALSE;  // the enumerator's regular end

}  // namespace

void PrintIndentedLine(const std::wstring& text) {
    std::wstring line = Indentation();
    line += text;
    line += L"\n";
    PrintWide(line);
}

void PrintInstance(IWbemClassObject* instance) {
    DeeperIndentation deeper;
    std::wstring text = ThisRun().printer(instance);
    text += L"\n";
    PrintWide(text);
}

void EnumInstances(const std::wstring& className) {
    RunState& run = ThisRun();
    PrintIndentedLine(className);
    Bstr name(className.c_str());
    win32::ComPtr<IEnumWbemClassObject> instances;
    HRESULT status = run.services->CreateInstanceEnum(name.get(), kShallow, nullptr, instances.put());
    if (status != 0) FatalWbemError("Couldn't create instance enum", status);
    status = SetupAuthAndImp(run.services, instances.get());
    if (status != 0) FatalWbemError("SetupAuthAndImp Failed on CreateInstanceEnum", status);

    bool first = true;
    for (;;) {
        win32::ComPtr<IWbemClassObject> instance;
        ULONG returned = 0;
        status = instances->Next(static_cast<LONG>(WBEM_INFINITE), 1, instance.put(), &returned);
        if (status != 0) break;
        // A provider that reports success without an object must not be followed into a null.
        if (!instance) {
            status = WBEM_E_FAILED;
            break;
        }
        if (!first) PrintIndentedLine(className);
        first = false;
        PrintInstance(instance.get());
        if (run.firstInstanceOnly) {
            status = kNoMoreObjects;
            break;
        }
    }
    if (status != kNoMoreObjects) FatalWbemError("Could not get next instance", status);
}

void ShowClass(IWbemClassObject* classObject) {
    Variant name;
    HRESULT status = classObject->Get(L"__CLASS", 0, name.put(), nullptr, nullptr);
    if (status != 0) FatalWbemError("Could not get __Class property for class", status);
    if (name.get().vt != VT_BSTR) FatalWbemError("Could not get __Class property for class", WBEM_E_TYPE_MISMATCH);
    std::wstring className = BstrText(name.get().bstrVal);
    if (className.compare(0, 2, L"__") != 0) EnumInstances(className);
}

void EnumNamespace(const std::wstring& className) {
    RunState& run = ThisRun();
    {
        Bstr systemClassName(L"__SystemClass");
        win32::ComPtr<IWbemClassObject> systemClass;
        HRESULT status = run.services->GetObject(systemClassName.get(), 0, nullptr, systemClass.put(), nullptr);
        if (status == 0 && !systemClass) status = WBEM_E_FAILED;
        if (status != 0) FatalWbemError("Could not GetObject of __SystemClass in EnumNamespace", status);
        Variant namespaceName;
        status = systemClass->Get(L"__NAMESPACE", 0, namespaceName.put(), nullptr, nullptr);
        if (status != 0) FatalWbemError("Could not get __NameSpace property for class", status);
        if (namespaceName.get().vt != VT_BSTR)
            FatalWbemError("Could not get __NameSpace property for class", WBEM_E_TYPE_MISMATCH);
        PrintNarrow(AnsiText(Indentation()));
        std::wstring header = L"<";
        header += BstrText(namespaceName.get().bstrVal);
        header += L">\n";
        PrintWide(header);
    }
    // Not given back: each section of the output starts one level deeper than the one before.
    ++run.indentation;

    Bstr name(className.c_str());
    win32::ComPtr<IWbemClassObject> classObject;
    HRESULT status = run.services->GetObject(name.get(), 0, nullptr, classObject.put(), nullptr);
    if (status == 0 && !classObject) status = WBEM_E_FAILED;
    if (status != 0) {
        std::string line = AnsiText(className);
        line += "\n";
        PrintError(line);
        FatalWbemError("Could not GetObject of specified class in EnumNamespace", status);
    }
    ShowClass(classObject.get());
}
