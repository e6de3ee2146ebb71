#include "WmiDoubles.h"

#include <cwchar>

namespace wmi_doubles {

namespace {

// The enumerator of one class's instances; it records the impersonation the run gives it.
class FakeEnumerator final : public Counted<IEnumWbemClassObject, IClientSecurity> {
public:
    FakeEnumerator(std::vector<Value> instances, HRESULT endStatus, DWORD& impersonation)
        : instances_(std::move(instances)), endStatus_(endStatus), impersonation_(impersonation) {}

    HRESULT STDMETHODCALLTYPE Next(LONG, ULONG, IWbemClassObject** objects, ULONG* returned) override {
        *returned = 0;
        if (next_ == instances_.size()) return endStatus_;
        IUnknown* instance = instances_[next_++].get().punkVal;
        objects[0] = static_cast<IWbemClassObject*>(instance);
        if (instance != nullptr) instance->AddRef();
        *returned = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryBlanket(IUnknown*, DWORD*, DWORD*, OLECHAR**, DWORD*, DWORD*, void**,
                                           DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetBlanket(IUnknown*, DWORD, DWORD, OLECHAR*, DWORD, DWORD impersonation, void*,
                                         DWORD) override {
        impersonation_ = impersonation;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyProxy(IUnknown*, IUnknown**) override { return E_NOTIMPL; }
    WMI_UNSUPPORTED(Reset)
    WMI_UNSUPPORTED(NextAsync, ULONG, IWbemObjectSink*)
    WMI_UNSUPPORTED(Clone, IEnumWbemClassObject**)
    WMI_UNSUPPORTED(Skip, LONG, ULONG)

private:
    std::vector<Value> instances_;
    size_t next_ = 0;
    HRESULT endStatus_;
    DWORD& impersonation_;
};

// What GetErrorInfo hands the run after a failed call: the provider's status object behind it.
class FakeErrorInfo final : public Counted<IErrorInfo> {
public:
    explicit FakeErrorInfo(const Value& status) : status_(status) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IWbemClassObject) return status_.get().punkVal->QueryInterface(iid, object);
        return Counted<IErrorInfo>::QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE GetGUID(GUID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSource(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDescription(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD*) override { return E_NOTIMPL; }

private:
    Value status_;
};

// The qualifiers of one property, read from its object.
class FakeQualifierSet final : public Counted<IWbemQualifierSet> {
public:
    FakeQualifierSet(FakeObject* object, std::wstring property) : property_(std::move(property)) {
        object->AddRef();
        object_.reset(object);
    }
    HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG, VARIANT* value, LONG*) override {
        return object_->QualifierOf(property_, name, value);
    }
    WMI_UNSUPPORTED(Put, LPCWSTR, VARIANT*, LONG)
    WMI_UNSUPPORTED(Delete, LPCWSTR)
    WMI_UNSUPPORTED(GetNames, LONG, SAFEARRAY**)
    WMI_UNSUPPORTED(BeginEnumeration, LONG)
    WMI_UNSUPPORTED(Next, LONG, BSTR*, VARIANT*, LONG*)
    WMI_UNSUPPORTED(EndEnumeration)

private:
    win32::ComPtr<FakeObject> object_;
    std::wstring property_;
};

void Copy(const Value& value, VARIANT* target) {
    ::VariantInit(target);
    ::VariantCopy(target, const_cast<VARIANT*>(&value.get()));
}

}  // namespace

Value Scalar(VARTYPE type, LONGLONG bits) {
    Value value;
    value.get().vt = type;
    value.get().llVal = bits;
    return value;
}

Value Real(VARTYPE type, double number) {
    Value value;
    value.get().vt = type;
    if (type == VT_R4) value.get().fltVal = static_cast<float>(number);
    else value.get().dblVal = number;
    return value;
}

Value Text(const wchar_t* text) {
    Value value;
    value.get().vt = VT_BSTR;
    value.get().bstrVal = ::SysAllocString(text);
    return value;
}

Value Object(IWbemClassObject* object) {
    Value value;
    value.get().vt = VT_UNKNOWN;
    value.get().punkVal = object;
    if (object != nullptr) object->AddRef();
    return value;
}

Value TextArray(const std::vector<std::wstring>& elements) {
    std::vector<BSTR> texts;
    for (const std::wstring& element : elements) texts.push_back(::SysAllocString(element.c_str()));
    Value value = Array(VT_BSTR, texts);  // the array keeps copies
    for (BSTR text : texts) ::SysFreeString(text);
    return value;
}

Value TwoDimensional(VARTYPE elementType) {
    Value value;
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    value.get().vt = static_cast<VARTYPE>(VT_ARRAY | elementType);
    value.get().parray = ::SafeArrayCreate(elementType, 2, bounds);
    return value;
}

win32::ComPtr<FakeObject> NewObject(const std::wstring& className) {
    win32::ComPtr<FakeObject> object;
    object.reset(new FakeObject(className));
    return object;
}

FakeObject& FakeObject::Set(const std::wstring& name, const Value& value, CIMTYPE cimType) {
    for (auto& [existing, entry] : properties_) {
        if (existing == name) {
            entry = {value, cimType};
            return *this;
        }
    }
    properties_.push_back({name, {value, cimType}});
    return *this;
}

FakeObject& FakeObject::Qualifier(const std::wstring& property, const std::wstring& name, const Value& value) {
    qualifiers_[property + L" " + name] = value;
    return *this;
}

FakeObject& FakeObject::Fail(const std::wstring& call, HRESULT status) {
    failures_[call] = status;
    return *this;
}

FakeObject& FakeObject::Ancestor(const std::wstring& className) {
    ancestors_.push_back(className);
    return *this;
}

HRESULT FakeObject::Failure(const std::wstring& call) const {
    auto failure = failures_.find(call);
    return failure == failures_.end() ? S_OK : failure->second;
}

HRESULT FakeObject::Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE* type, LONG*) {
    if (HRESULT status = Failure(std::wstring(L"Get ") + name)) return status;
    for (const auto& [existing, entry] : properties_) {
        if (_wcsicmp(existing.c_str(), name) != 0) continue;
        if (value != nullptr) Copy(entry.first, value);
        if (type != nullptr) *type = entry.second;
        return S_OK;
    }
    return WBEM_E_NOT_FOUND;
}

HRESULT FakeObject::GetNames(LPCWSTR, LONG flags, VARIANT*, SAFEARRAY** names) {
    if (HRESULT status = Failure(L"GetNames")) return status;
    std::vector<std::wstring> listed;
    for (const auto& [name, entry] : properties_) {
        if (name.starts_with(L"__") && (flags & WBEM_FLAG_NONSYSTEM_ONLY) != 0) continue;
        listed.push_back(name);
    }
    Value array = TextArray(listed);
    return ::SafeArrayCopy(array.get().parray, names);
}

HRESULT FakeObject::GetPropertyQualifierSet(LPCWSTR name, IWbemQualifierSet** qualifiers) {
    if (HRESULT status = Failure(std::wstring(L"QualifierSet ") + name)) return status;
    if (std::wstring(name).starts_with(L"__")) return WBEM_E_SYSTEM_PROPERTY;
    *qualifiers = new FakeQualifierSet(this, name);
    return S_OK;
}

HRESULT FakeObject::QualifierOf(const std::wstring& property, LPCWSTR name, VARIANT* value) const {
    const std::wstring key = property + L" " + name;
    if (HRESULT status = Failure(L"Qualifier " + key)) return status;
    auto found = qualifiers_.find(key);
    if (found == qualifiers_.end()) return WBEM_E_NOT_FOUND;
    if (value != nullptr) Copy(found->second, value);
    return S_OK;
}

HRESULT FakeObject::InheritsFrom(LPCWSTR ancestor) {
    for (const std::wstring& name : ancestors_)
        if (_wcsicmp(name.c_str(), ancestor) == 0) return S_OK;
    return WBEM_S_FALSE;
}

FakeServices& FakeServices::Namespace(const std::wstring& name) {
    auto systemClass = NewObject(L"__SystemClass");
    systemClass->Set(L"__NAMESPACE", Text(name.c_str()), CIM_STRING);
    return Path(L"__SystemClass", systemClass.get());
}

FakeServices& FakeServices::Class(const std::wstring& className, const std::vector<IWbemClassObject*>& instances,
                                  HRESULT endStatus) {
    Path(className, NewObject(className).get());
    std::vector<Value> held;
    for (IWbemClassObject* instance : instances) held.push_back(Object(instance));
    classes_[className] = {held, endStatus};
    return *this;
}

FakeServices& FakeServices::Path(const std::wstring& path, IWbemClassObject* object) {
    object->AddRef();
    objects_[path].reset(object);
    return *this;
}

FakeServices& FakeServices::Fail(const std::wstring& call, HRESULT status, IWbemClassObject* errorObject) {
    failures_[call] = {status, Object(errorObject)};
    return *this;
}

HRESULT FakeServices::Failure(const std::wstring& call) const {
    auto failure = failures_.find(call);
    if (failure == failures_.end()) return S_OK;
    if (failure->second.second.get().punkVal != nullptr) {
        win32::ComPtr<IErrorInfo> error;
        error.reset(new FakeErrorInfo(failure->second.second));
        ::SetErrorInfo(0, error.get());
    }
    return failure->second.first;
}

HRESULT FakeServices::GetObject(const BSTR path, LONG, IWbemContext*, IWbemClassObject** object, IWbemCallResult**) {
    if (HRESULT status = Failure(std::wstring(L"GetObject ") + path)) return status;
    auto found = objects_.find(path);
    if (found == objects_.end()) return WBEM_E_NOT_FOUND;
    *object = found->second.get();
    (*object)->AddRef();
    return S_OK;
}

HRESULT FakeServices::CreateInstanceEnum(const BSTR className, LONG, IWbemContext*, IEnumWbemClassObject** instances) {
    if (HRESULT status = Failure(std::wstring(L"CreateInstanceEnum ") + className)) return status;
    auto found = classes_.find(className);
    if (found == classes_.end()) return WBEM_E_INVALID_CLASS;
    *instances = new FakeEnumerator(found->second.first, found->second.second, enumeratorImpersonation);
    return S_OK;
}

HRESULT FakeServices::QueryBlanket(IUnknown*, DWORD* authentication, DWORD* authorisation, OLECHAR**, DWORD* level,
                                   DWORD* impersonation, void**, DWORD* capabilities) {
    *authentication = RPC_C_AUTHN_WINNT;
    *authorisation = RPC_C_AUTHZ_NONE;
    *level = RPC_C_AUTHN_LEVEL_PKT_PRIVACY;
    *impersonation = RPC_C_IMP_LEVEL_IDENTIFY;
    *capabilities = EOAC_NONE;
    return S_OK;
}

}  // namespace wmi_doubles
