#include "WbemErrors.h"

#include <oleauto.h>
#include <wbemcli.h>

#include <cstdlib>

#include "ComValues.h"
#include "Output.h"
#include "WbemStatusName.h"
#include "common/win32/ComPtr.h"

namespace {

void ExitProcessWith(int status) { std::exit(status); }

ProcessEnd processEnd = ExitProcessWith;

const wchar_t* const kExtendedStatusProperties[] = {L"Description", L"Operation", L"ParameterInfo", L"ProviderName"};

void PrintExtendedStatus(IWbemClassObject* status) {
    for (const wchar_t* name : kExtendedStatusProperties) {
        Variant value;
        HRESULT read = status->Get(name, 0, value.put(), nullptr, nullptr);
        if (read != 0) {
            std::string line = "Can't get ";
            line += AnsiText(name);
            line += Format(": %d\n", static_cast<int>(read));
            PrintNarrow(line);
        } else if (value.get().vt == VT_BSTR) {
            std::wstring line = name;
            line += L": ";
            line += BstrText(value.get().bstrVal);
            line += L"\n";
            PrintWide(line);
        }
    }
}

}  // namespace

ProcessEnd SetProcessEnd(ProcessEnd end) {
    ProcessEnd previous = processEnd;
    processEnd = end != nullptr ? end : ExitProcessWith;
    return previous;
}

void ReportWbemError(const char* message, HRESULT status) {
    PrintNarrow(Format("%s\n", message));
    std::string line = "FunctionReturn: ";
    line += AnsiText(WbemStatusName(status));
    line += Format(" (0x%08lx) \n", static_cast<unsigned long>(status));
    PrintNarrow(line);

    win32::ComPtr<IWbemClassObject> errorObject;
    {
        win32::ComPtr<IErrorInfo> errorInfo;
        if (::GetErrorInfo(0, errorInfo.put()) == 0 && errorInfo) {
            errorInfo->QueryInterface(IID_IWbemClassObject, reinterpret_cast<void**>(errorObject.put()));
        }
    }
    if (!errorObject) return;
    if (errorObject->InheritsFrom(L"__NotifyStatus") != 0) {
        PrintNarrow("Unrecognized Error Object type\n");
    } else if (errorObject->InheritsFrom(L"__ExtendedStatus") == 0) {
        PrintExtendedStatus(errorObject.get());
    }
}

void FatalWbemError(const char* message, HRESULT status) {
    ReportWbemError(message, status);
    ::OleUninitialize();
    PrintNarrow("Abnormal Termination\n");
    processEnd(1);
    std::exit(1);
}
