#pragma once
// In-memory WMI (Wine has no MPIO or QDSM classes): objects with properties and qualifiers, an
// instance enumerator and a services object, so the real printers and the real run work on
// them. Failures are planted by the name of the call they hit.
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
    Value(const Value& other) : Value() { *this = other; }
    Value& operator=(const Value& other) {
        if (this != &other) ::VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
        return *this;
    }
    ~Value() { ::VariantClear(&value_); }
    VARIANT& get() const noexcept { return const_cast<VARIANT&>(value_); }
    void CopyTo(VARIANT* target) const {
        ::VariantInit(target);
        ::VariantCopy(target, &get());
    }

private:
    VARIANT value_;
};

// Any integer type, VT_BOOL, VT_EMPTY and VT_NULL: the bits fill the union from its start.
inline Value Scalar(VARTYPE type, LONGLONG bits = 0) {
    Value value;
    value.get().vt = type;
    value.get().llVal = bits;
    return value;
}

inline Value Real(VARTYPE type, double number) {  // VT_R4, VT_R8 or VT_DATE
    Value value = Scalar(type);
    if (type == VT_R4) value.get().fltVal = static_cast<float>(number);
    else value.get().dblVal = number;
    return value;
}

inline Value Text(const wchar_t* text) {
    Value value = Scalar(VT_BSTR);
    value.get().bstrVal = ::SysAllocString(text);
    return value;
}

inline Value Object(IWbemClassObject* object) {
    Value value = Scalar(VT_UNKNOWN);
    value.get().punkVal = object;
    if (object != nullptr) object->AddRef();
    return value;
}

// An array of the given bounds; a one-dimensional one is filled with the elements, pointers
// (objects, texts) as they are, other elements by address.
template <class Element = LONG>
Value Array(VARTYPE type, const std::vector<Element>& elements, LONG lowerBound = 0, UINT dimensions = 1) {
    Value value = Scalar(static_cast<VARTYPE>(VT_ARRAY | type));
    SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(elements.size()), lowerBound}, {2, 0}};
    value.get().parray = ::SafeArrayCreate(type, dimensions, bounds);
    for (LONG i = 0; dimensions == 1 && i < static_cast<LONG>(elements.size()); ++i) {
        LONG index = lowerBound + i;
        Element element = elements[static_cast<size_t>(i)];
        if constexpr (std::is_pointer_v<Element>) ::SafeArrayPutElement(value.get().parray, &index, element);
        else ::SafeArrayPutElement(value.get().parray, &index, &element);
    }
    return value;
}

inline Value TextArray(const std::vector<std::wstring>& elements) {
    std::vector<BSTR> texts;
    for (const std::wstring& element : elements) texts.push_back(::SysAllocString(element.c_str()));
    Value value = Array(VT_BSTR, texts);  // the array keeps copies
    for (BSTR text : texts) ::SysFreeString(text);
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

// A class or instance, which is also its own error information (for the provider's status
// objects) and the qualifier set of the property last asked for (the run reads one at a time).
// Fail() plants a status for "Get <property>", "QualifierSet <property>",
// "Qualifier <property> <qualifier>" or "GetNames".
class FakeObject final : public Counted<IWbemClassObject, IWbemQualifierSet, IErrorInfo> {
public:
    explicit FakeObject(const std::wstring& className) : className_(className) {
        Set(L"__CLASS", Text(className.c_str()), CIM_STRING);
    }
    FakeObject& Set(const std::wstring& name, const Value& value, CIMTYPE cimType = CIM_EMPTY) {
        for (auto& property : properties_)
            if (property.first == name) return property.second = {value, cimType}, *this;
        properties_.push_back({name, {value, cimType}});
        return *this;
    }
    FakeObject& Key(const std::wstring& name) { return Qualifier(name, L"key", Scalar(VT_BOOL, -1)); }
    FakeObject& Qualifier(const std::wstring& property, const std::wstring& name, const Value& value) {
        qualifiers_[property + L" " + name] = value;
        return *this;
    }
    FakeObject& Fail(const std::wstring& call, HRESULT status) {
        failures_[call] = status;
        return *this;
    }

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE* type, LONG*) override {
        if (HRESULT status = Failure(std::wstring(L"Get ") + name)) return status;
        for (const auto& [existing, entry] : properties_) {
            if (_wcsicmp(existing.c_str(), name) != 0) continue;
            if (value != nullptr) entry.first.CopyTo(value);
            if (type != nullptr) *type = entry.second;
            return S_OK;
        }
        return WBEM_E_NOT_FOUND;
    }
    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR, LONG, VARIANT*, SAFEARRAY** names) override {
        if (HRESULT status = Failure(L"GetNames")) return status;
        std::vector<std::wstring> listed;  // the run asks for non-system properties only
        for (const auto& property : properties_)
            if (!property.first.starts_with(L"__")) listed.push_back(property.first);
        return ::SafeArrayCopy(TextArray(listed).get().parray, names);
    }
    HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR name, IWbemQualifierSet** qualifiers) override {
        if (HRESULT status = Failure(std::wstring(L"QualifierSet ") + name)) return status;
        qualifiedProperty_ = name;
        AddRef();
        *qualifiers = this;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG, VARIANT* value, LONG*) override {
        const std::wstring key = qualifiedProperty_ + L" " + name;
        if (HRESULT status = Failure(L"Qualifier " + key)) return status;
        auto found = qualifiers_.find(key);
        if (found == qualifiers_.end()) return WBEM_E_NOT_FOUND;
        if (value != nullptr) found->second.CopyTo(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR ancestor) override {
        static const std::map<std::wstring, std::wstring> kAncestors = {
            {L"QDSM_ExtendedStatus", L"__ExtendedStatus __NotifyStatus"}, {L"__ExtendedStatus", L"__NotifyStatus"}};
        auto found = kAncestors.find(className_);
        return found != kAncestors.end() && found->second.find(ancestor) != std::wstring::npos ? S_OK : HRESULT{WBEM_S_FALSE};
    }

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
    WMI_UNSUPPORTED(GetMethodOrigin, LPCWSTR, BSTR*) WMI_UNSUPPORTED(Put, LPCWSTR, VARIANT*, LONG)
    WMI_UNSUPPORTED(GetNames, LONG, SAFEARRAY**) WMI_UNSUPPORTED(Next, LONG, BSTR*, VARIANT*, LONG*)
    WMI_UNSUPPORTED(GetGUID, GUID*) WMI_UNSUPPORTED(GetSource, BSTR*) WMI_UNSUPPORTED(GetDescription, BSTR*)
    WMI_UNSUPPORTED(GetHelpFile, BSTR*) WMI_UNSUPPORTED(GetHelpContext, DWORD*)

private:
    HRESULT Failure(const std::wstring& call) const {
        auto failure = failures_.find(call);
        return failure == failures_.end() ? S_OK : failure->second;
    }

    std::wstring className_;
    std::wstring qualifiedProperty_;
    std::vector<std::pair<std::wstring, std::pair<Value, CIMTYPE>>> properties_;  // in the order set
    std::map<std::wstring, Value> qualifiers_;                                     // "property qualifier"
    std::map<std::wstring, HRESULT> failures_;
};

inline win32::ComPtr<FakeObject> NewObject(const std::wstring& className) {
    win32::ComPtr<FakeObject> object;
    object.reset(new FakeObject(className));
    return object;
}

inline Value Objects(const std::vector<IWbemClassObject*>& elements) {
    return Array(VT_UNKNOWN, std::vector<IUnknown*>(elements.begin(), elements.end()));
}

// The services of one machine (namespace "ROOT\WMI"): objects by path, instances by class, and
// planted failures of "GetObject <path>" or "CreateInstanceEnum <class>", each with the error
// object it leaves. It is also the enumerator of the class last asked for (the run enumerates
// one class at a time) and records the impersonation the run gives that enumerator.
class FakeServices final : public Counted<IWbemServices, IEnumWbemClassObject, IClientSecurity> {
public:
    FakeServices() {
        Path(L"__SystemClass", &NewObject(L"__SystemClass")->Set(L"__NAMESPACE", Text(L"ROOT\\WMI")));
    }
    FakeServices& Class(const std::wstring& className, const std::vector<IWbemClassObject*>& instances,
                        HRESULT endStatus = WBEM_S_FALSE) {
        Path(className, NewObject(className).get());
        std::vector<Value> held;
        for (IWbemClassObject* instance : instances) held.push_back(Object(instance));
        classes_[className] = {held, endStatus};
        return *this;
    }
    FakeServices& Path(const std::wstring& path, IWbemClassObject* object) {
        objects_[path] = Object(object);
        return *this;
    }
    FakeServices& Fail(const std::wstring& call, HRESULT status, FakeObject* errorObject = nullptr) {
        failures_[call] = {status, Object(errorObject)};
        return *this;
    }
    DWORD enumeratorImpersonation = 0;  // what the run set on its last instance enumerator

    HRESULT STDMETHODCALLTYPE GetObject(const BSTR path, LONG, IWbemContext*, IWbemClassObject** object,
                                        IWbemCallResult**) override {
        if (HRESULT status = Failure(std::wstring(L"GetObject ") + path)) return status;
        auto found = objects_.find(path);
        if (found == objects_.end()) return WBEM_E_NOT_FOUND;
        return found->second.get().punkVal->QueryInterface(IID_IWbemClassObject, reinterpret_cast<void**>(object));
    }
    HRESULT STDMETHODCALLTYPE CreateInstanceEnum(const BSTR className, LONG, IWbemContext*,
                                                 IEnumWbemClassObject** instances) override {
        if (HRESULT status = Failure(std::wstring(L"CreateInstanceEnum ") + className)) return status;
        auto found = classes_.find(className);
        if (found == classes_.end()) return WBEM_E_INVALID_CLASS;
        enumerated_ = &found->second;
        next_ = 0;
        AddRef();
        *instances = this;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Next(LONG, ULONG, IWbemClassObject** objects, ULONG* returned) override {
        *returned = 0;
        if (next_ == enumerated_->first.size()) return enumerated_->second;
        IUnknown* instance = enumerated_->first[next_++].get().punkVal;
        objects[0] = static_cast<IWbemClassObject*>(instance);
        if (instance != nullptr) instance->AddRef();
        *returned = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryBlanket(IUnknown*, DWORD* authentication, DWORD* authorisation, OLECHAR**,
                                           DWORD* level, DWORD* impersonation, void**, DWORD* capabilities) override {
        *authentication = RPC_C_AUTHN_WINNT;
        *authorisation = RPC_C_AUTHZ_NONE;
        *level = RPC_C_AUTHN_LEVEL_PKT_PRIVACY;
        *impersonation = RPC_C_IMP_LEVEL_IDENTIFY;
        *capabilities = EOAC_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetBlanket(IUnknown*, DWORD, DWORD, OLECHAR*, DWORD, DWORD level, void*, DWORD) override {
        enumeratorImpersonation = level;
        return S_OK;
    }
    WMI_UNSUPPORTED(CopyProxy, IUnknown*, IUnknown**) WMI_UNSUPPORTED(Reset) WMI_UNSUPPORTED(Skip, LONG, ULONG)
    WMI_UNSUPPORTED(NextAsync, ULONG, IWbemObjectSink*) WMI_UNSUPPORTED(Clone, IEnumWbemClassObject**)
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
    HRESULT Failure(const std::wstring& call) const {
        auto failure = failures_.find(call);
        if (failure == failures_.end()) return S_OK;
        IUnknown* errorObject = failure->second.second.get().punkVal;
        ::SetErrorInfo(0, static_cast<FakeObject*>(static_cast<IWbemClassObject*>(errorObject)));
        return failure->second.first;
    }

    std::map<std::wstring, Value> objects_;
    std::map<std::wstring, std::pair<std::vector<Value>, HRESULT>> classes_;  // instances, end status
    const std::pair<std::vector<Value>, HRESULT>* enumerated_ = nullptr;
    size_t next_ = 0;
    std::map<std::wstring, std::pair<HRESULT, Value>> failures_;
};

}  // namespace wmi_doubles
