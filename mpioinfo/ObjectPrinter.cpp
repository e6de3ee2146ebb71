#include "ObjectPrinter.h"

#include <cwchar>

#include "ClassPrinters.h"
#include "ComValues.h"
#include "Output.h"
#include "WbemErrors.h"
#include "common/win32/ComPtr.h"

namespace {

constexpr HRESULT kSystemProperty = static_cast<HRESULT>(WBEM_E_SYSTEM_PROPERTY);  // a system property has no qualifiers
constexpr HRESULT kNotFound = static_cast<HRESULT>(WBEM_E_NOT_FOUND);

bool IsEmbedded(VARTYPE type) { return type == VT_UNKNOWN || type == (VT_ARRAY | VT_UNKNOWN); }

// Whether the property carries the "key" qualifier.
bool IsKeyProperty(IWbemClassObject* object, const wchar_t* name) {
    win32::ComPtr<IWbemQualifierSet> qualifiers;
    HRESULT status = object->GetPropertyQualifierSet(name, qualifiers.put());
    if (status == kSystemProperty) return false;
    if (status != 0) FatalWbemError("Could not GetPropertyQualifierSet", status);

    Variant cimType;
    status = qualifiers->Get(L"CIMTYPE", 0, cimType.put(), nullptr);
    if (status != 0 && status != kNotFound) FatalWbemError("Could not get CIMTYPE qualifier", status);

    Variant key;
    status = qualifiers->Get(L"key", 0, key.put(), nullptr);
    if (status == kNotFound) return false;
    if (status != 0) FatalWbemError("Could not get key qualifier", status);
    if (key.get().vt == VT_EMPTY) FatalWbemError("Could not get key qualifier", 0);
    return true;
}

// The class name of an embedded object, or nothing when it cannot be read as a text.
bool ClassName(IWbemClassObject* object, std::wstring& name, HRESULT& status) {
    Variant value;
    status = object->Get(L"__CLASS", 0, value.put(), nullptr, nullptr);
    if (status != 0) return false;
    if (value.get().vt != VT_BSTR) {
        status = WBEM_E_TYPE_MISMATCH;
        return false;
    }
    name = BstrText(value.get().bstrVal);
    return true;
}

InstancePrinter EmbeddedPrinter(const std::wstring& className, InstancePrinter fallback) {
    for (const EmbeddedClassRow& row : EmbeddedClassTable()) {
        if (className == row.className) return row.printer;
    }
    return fallback;
}

// What stands instead of embedded objects that cannot be shown: a line of its own one level
// deeper, as the property line has already ended.
std::wstring NestedMarker(const std::wstring& marker) {
    std::wstring text = Indentation(ThisRun().indentation + 1);
    text += marker;
    text += L"\n";
    return text;
}

std::wstring SingleObject(IUnknown* unknown) {
    win32::ComPtr<IWbemClassObject> object;
    if (unknown == nullptr ||
        unknown->QueryInterface(IID_IWbemClassObject, reinterpret_cast<void**>(object.put())) != 0 || !object)
        return NestedMarker(L"<conversion error>");
    InstancePrinter printer = PrintAllProperties;
    std::wstring className;
    HRESULT status = 0;
    if (ClassName(object.get(), className, status)) printer = EmbeddedPrinter(className, printer);
    DeeperIndentation deeper;
    return printer(object.get());
}

std::wstring ObjectArray(SAFEARRAY* array) {
    if (array == nullptr || ::SafeArrayGetDim(array) != 1)
        return NestedMarker(
            Widen(Format("<array of %u dimensions not shown>", array != nullptr ? ::SafeArrayGetDim(array) : 0)));
    LONG lower = 0;
    LONG upper = -1;
    HRESULT status = ::SafeArrayGetLBound(array, 1, &lower);
    if (status != 0) FatalWbemError("Couldn't get safe array lbound", status);
    status = ::SafeArrayGetUBound(array, 1, &upper);
    if (status != 0) FatalWbemError("Couldn't get safe array ubound", status);

    if (static_cast<long long>(upper) - lower + 1 <= 0) {
        DeeperIndentation deeper;
        return Indentation() + L"<empty array>\n";
    }
    if (!ArrayElementsAre(array, VT_UNKNOWN)) return NestedMarker(L"<conversion error>");
    DeeperIndentation deeper;
    std::wstring text;
    InstancePrinter printer = PrintAllProperties;
    for (LONG i = lower; i <= upper; ++i) {
        win32::ComPtr<IUnknown> element;
        status = ::SafeArrayGetElement(array, &i, element.put());
        if (status != 0) FatalWbemError("Couldn't get class property in enumproperties", status);
        win32::ComPtr<IWbemClassObject> object;
        if (!element) status = WBEM_E_INVALID_OBJECT;
        else status = element->QueryInterface(IID_IWbemClassObject, reinterpret_cast<void**>(object.put()));
        std::wstring className;
        if (status != 0 || !ClassName(object.get(), className, status))
            FatalWbemError("Couldn't get class property in enumproperties", status);

        text += Indentation();
        text += L"instance of ";
        text += className;
        text += L" {\n";
        printer = EmbeddedPrinter(className, printer);
        {
            DeeperIndentation elementDeeper;
            text += printer(object.get());
        }
        text += Indentation();
        text += L" }\n";
    }
    return text;
}

}  // namespace

std::wstring enumproperties(const VARIANT& value) {
    if (value.vt == VT_UNKNOWN) return SingleObject(value.punkVal);
    if (value.vt != (VT_ARRAY | VT_UNKNOWN)) return L"<conversion error>";
    return ObjectArray(value.parray);
}

std::wstring FormatProperty(IWbemClassObject* object, const wchar_t* name) {
    std::wstring text = Indentation();
    text += name;
    Variant value;
    CIMTYPE cimType = 0;
    HRESULT status = object->Get(name, 0, value.put(), &cimType, nullptr);
    if (status != 0) {
        std::string line = "Error: property '";
        line += AnsiText(name);
        line += "' - ";
        PrintNarrow(line);
        FatalWbemError("Couldn't get property value", status);
    }
    if (IsKeyProperty(object, name)) text += L"*";
    text += L" = ";
    if (IsEmbedded(value.get().vt)) {
        text += L"\n";
        text += enumproperties(value.get());
    } else {
        text += FormatValue(cimType, value.get());
        text += L"\n";
    }
    return text;
}

std::wstring PrintAllProperties(IWbemClassObject* object) {
    SafeArrayOwner names;
    HRESULT status = object->GetNames(nullptr, WBEM_FLAG_NONSYSTEM_ONLY, nullptr, names.put());
    if (status != 0) FatalWbemError("Couldn't GetNames", status);
    LONG lower = 0;
    LONG upper = -1;
    status = ::SafeArrayGetLBound(names.get(), 1, &lower);
    if (status != 0) FatalWbemError("Couldn't get safe array lbound", status);
    status = ::SafeArrayGetUBound(names.get(), 1, &upper);
    if (status != 0) FatalWbemError("Couldn't get safe array ubound", status);

    std::wstring text;
    for (LONG i = lower; i <= upper; ++i) {
        Bstr name;
        status = ::SafeArrayGetElement(names.get(), &i, name.put());
        if (status != 0) FatalWbemError("Couldn't get safe array element", status);
        std::wstring property = BstrText(name.get());
        if (_wcsicmp(property.c_str(), L"__SERVER") == 0 || _wcsicmp(property.c_str(), L"__PATH") == 0) continue;
        text += FormatProperty(object, property.c_str());
    }
    return text;
}
