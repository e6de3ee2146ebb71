#pragma once
// In-memory WMI (Wine has no MPIO or QDSM classes): objects with properties and qualifiers, an
// instance enumerator, a services object and a provider's error object, so the real printers
// and the real run work on them. Failures are planted by the name of the call they hit.
#include <windows.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <map>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "common/win32/ComPtr.h"

namespace wmi_doubles {

// A VARIANT that copies and frees itself.
class Value {
public:
    Value() noexcept { ::VariantInit(&value_); }
    Value(const Value& other) : Value() { ::VariantCopy(&value_, const_cast<VARIANT*>(&other.value_)); }
    Value& operator=(const Value& other) {
        if (this != &other) ::VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
        return *this;
    }
    ~Value() { ::VariantClear(&value_); }
    const VARIANT& get() const noexcept { return value_; }
    VARIANT& get() noexcept { return value_; }

private:
    VARIANT value_;
};

// Any integer type, VT_BOOL, VT_EMPTY and VT_NULL: the bits fill the union from its start.
Value Scalar(VARTYPE type, LONGLONG bits = 0);
Value Real(VARTYPE type, double value);  // VT_R4 or VT_R8
Value Text(const wchar_t* text);
Value Object(IWbemClassObject* object);
Value TextArray(const std::vector<std::wstring>& elements);
Value TwoDimensional(VARTYPE elementType);

// A one-dimensional array; pointers (objects) are put as they are, other elements by address.
template <class Element>
Value Array(VARTYPE type, const std::vector<Element>& elements, LONG lowerBound = 0) {
    Value value;
    value.get().vt = static_cast<VARTYPE>(VT_ARRAY | type);
    value.get().parray = ::SafeArrayCreateVector(type, lowerBound, static_cast<ULONG>(elements.size()));
    for (LONG i = 0; i < static_cast<LONG>(elements.size()); ++i) {
        LONG index = lowerBound + i;
        Element element = elements[static_cast<size_t>(i)];
        if constexpr (std::is_pointer_v<Element>) ::SafeArrayPutElement(value.get().parray, &index, element);
        else ::SafeArrayPutElement(value.get().parray, &index, &element);
    }
    return value;
}

// Reference counting and QueryInterface for the interfaces a double implements.
template <class... Interfaces>
class Counted : public Interfaces... {
public:
    virtual ~Counted() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (iid == IID_IUnknown) *object = static_cast<IUnknown*>(static_cast<First*>(this));
        ((iid == __uuidof(Interfaces) ? (*object = static_cast<Interfaces*>(this)) : nullptr), ...);
        if (*object == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    ULONG References() const { return references_; }

private:
    using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    ULONG references_ = 1;
};

#define WMI_UNSUPPORTED(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return WBEM_E_NOT_SUPPORTED; }

// A class or instance. Fail() plants a status for "Get <property>", "QualifierSet <property>",
// "Qualifier <property> <qualifier>" or "GetNames".
class FakeObject final : public Counted<IWbemClassObject> {
public:
    explicit FakeObject(const std::wstring& className) { Set(L"__CLASS", Text(className.c_str()), CIM_STRING); }
    FakeObject& Set(const std::wstring& name, const Value& value, CIMTYPE cimType = CIM_EMPTY);
    FakeObject& Key(const std::wstring& name) { return Qualifier(name, L"key", Scalar(VT_BOOL, -1)); }
    FakeObject& Qualifier(const std::wstring& property, const std::wstring& name, const Value& value);
    FakeObject& Fail(const std::wstring& call, HRESULT status);
    FakeObject& Ancestor(const std::wstring& className);

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE* type, LONG* flavor) override;
    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR, LONG flags, VARIANT*, SAFEARRAY** names) override;
    HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR name, IWbemQualifierSet** qualifiers) override;
    HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR ancestor) override;
    // The qualifier set's answer for one qualifier of a property.
    HRESULT QualifierOf(const std::wstring& property, LPCWSTR name, VARIANT* value) const;

    WMI_UNSUPPORTED(GetQualifierSet, IWbemQualifierSet**) WMI_UNSUPPORTED(Put, LPCWSTR, LONG, VARIANT*, CIMTYPE)
    WMI_UNSUPPORTED(Delete, LPCWSTR) WMI_UNSUPPORTED(BeginEnumeration, LONG)
    WMI_UNSUPPORTED(Next, LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*) WMI_UNSUPPORTED(EndEnumeration)
    WMI_UNSUPPORTED(Clone, IWbemClassObject**) WMI_UNSUPPORTED(GetObjectText, LONG, BSTR*)
    WMI_UNSUPPORTED(SpawnDerivedClass, LONG, IWbemClassObject**)
    WMI_UNSUPPORTED(SpawnInstance, LONG, IWbemClassObject**) WMI_UNSUPPORTED(CompareTo, LONG, IWbemClassObject*)
    WMI_UNSUPPORTED(GetPropertyOrigin, LPCWSTR, BSTR*)
    WMI_UNSUPPORTED(GetMethod, LPCWSTR, LONG, IWbemClassObject**, IWbemClassObject**)
    WMI_UNSUPPORTED(PutMethod, LPCWSTR, LONG, IWbemClassObject*, IWbemClassObject*)
    WMI_UNSUPPORTED(DeleteMethod, LPCWSTR) WMI_UNSUPPORTED(BeginMethodEnumeration, LONG)
    WMI_UNSUPPORTED(NextMethod, LONG, BSTR*, IWbemClassObject**, IWbemClassObject**)
    WMI_UNSUPPORTED(EndMethodEnumeration) WMI_UNSUPPORTED(GetMethodQualifierSet, LPCWSTR, IWbemQualifierSet**)
    WMI_UNSUPPORTED(GetMethodOrigin, LPCWSTR, BSTR*)

private:
    HRESULT Failure(const std::wstring& call) const;

    std::vector<std::pair<std::wstring, std::pair<Value, CIMTYPE>>> properties_;  // in the order set
    std::map<std::wstring, Value> qualifiers_;                                     // "property qualifier"
    std::map<std::wstring, HRESULT> failures_;
    std::vector<std::wstring> ancestors_;
};

// The services of one machine: objects by path, instances by class, and planted failures of
// "GetObject <path>" or "CreateInstanceEnum <class>", each with the error object it leaves.
class FakeServices final : public Counted<IWbemServices, IClientSecurity> {
public:
    FakeServices& Namespace(const std::wstring& name);
    FakeServices& Class(const std::wstring& className, const std::vector<IWbemClassObject*>& instances,
                        HRESULT endStatus = WBEM_S_FALSE);
    FakeServices& Path(const std::wstring& path, IWbemClassObject* object);
    FakeServices& Fail(const std::wstring& call, HRESULT status, IWbemClassObject* errorObject = nullptr);
    DWORD enumeratorImpersonation = 0;  // what the run set on its last instance enumerator

    HRESULT STDMETHODCALLTYPE GetObject(const BSTR path, LONG, IWbemContext*, IWbemClassObject** object,
                                        IWbemCallResult**) override;
    HRESULT STDMETHODCALLTYPE CreateInstanceEnum(const BSTR className, LONG, IWbemContext*,
                                                 IEnumWbemClassObject** instances) override;
    HRESULT STDMETHODCALLTYPE QueryBlanket(IUnknown*, DWORD* authentication, DWORD* authorisation, OLECHAR**,
                                           DWORD* level, DWORD* impersonation, void**, DWORD* capabilities) override;
    HRESULT STDMETHODCALLTYPE SetBlanket(IUnknown*, DWORD, DWORD, OLECHAR*, DWORD, DWORD, void*, DWORD) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyProxy(IUnknown*, IUnknown**) override { return E_NOTIMPL; }

    WMI_UNSUPPORTED(OpenNamespace, const BSTR, LONG, IWbemContext*, IWbemServices**, IWbemCallResult**)
    WMI_UNSUPPORTED(CancelAsyncCall, IWbemObjectSink*) WMI_UNSUPPORTED(QueryObjectSink, LONG, IWbemObjectSink**)
    WMI_UNSUPPORTED(GetObjectAsync, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
    WMI_UNSUPPORTED(PutClass, IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**)
    WMI_UNSUPPORTED(PutClassAsync, IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*)
    WMI_UNSUPPORTED(DeleteClass, const BSTR, LONG, IWbemContext*, IWbemCallResult**)
    WMI_UNSUPPORTED(DeleteClassAsync, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
    WMI_UNSUPPORTED(CreateClassEnum, const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**)
    WMI_UNSUPPORTED(CreateClassEnumAsync, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
    WMI_UNSUPPORTED(PutInstance, IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**)
    WMI_UNSUPPORTED(PutInstanceAsync, IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*)
    WMI_UNSUPPORTED(DeleteInstance, const BSTR, LONG, IWbemContext*, IWbemCallResult**)
    WMI_UNSUPPORTED(DeleteInstanceAsync, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
    WMI_UNSUPPORTED(CreateInstanceEnumAsync, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
    WMI_UNSUPPORTED(ExecQuery, const BSTR, const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**)
    WMI_UNSUPPORTED(ExecQueryAsync, const BSTR, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
    WMI_UNSUPPORTED(ExecNotificationQuery, const BSTR, const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**)
    WMI_UNSUPPORTED(ExecNotificationQueryAsync, const BSTR, const BSTR, LONG, IWbemContext*, IWbemObjectSink*)
    WMI_UNSUPPORTED(ExecMethod, const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*, IWbemClassObject**,
                    IWbemCallResult**)
    WMI_UNSUPPORTED(ExecMethodAsync, const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*,
                    IWbemObjectSink*)

private:
    // Answers with the planted failure of the call, leaving its error object behind; 0 when none.
    HRESULT Failure(const std::wstring& call) const;

    std::map<std::wstring, win32::ComPtr<IWbemClassObject>> objects_;
    std::map<std::wstring, std::pair<std::vector<Value>, HRESULT>> classes_;
    std::map<std::wstring, std::pair<HRESULT, Value>> failures_;
};

win32::ComPtr<FakeObject> NewObject(const std::wstring& className);

}  // namespace wmi_doubles
