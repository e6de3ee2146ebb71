#include "WmiDoubles.h"

#include <cwchar>

namespace wmi_doubles {

Value::Value(const Value& other) {
    ::VariantInit(&value_);
    ::VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
}

Value& Value::operator=(const Value& other) {
    if (this != &other) ::VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
    return *this;
}

Value Empty() { return Value(); }

namespace {

// A value of one VARIANT type; `store` puts the value into its member of the union.
template <class Store>
Value Scalar(VARTYPE type, Store store) {
    Value v;
    v.get().vt = type;
    store(v.get());
    return v;
}

}  // namespace

Value Null() {
    return Scalar(VT_NULL, [](VARIANT&) {});
}
Value Text(const wchar_t* text) {
    return Scalar(VT_BSTR, [&](VARIANT& v) { v.bstrVal = ::SysAllocString(text); });
}
Value I2(SHORT value) {
    return Scalar(VT_I2, [&](VARIANT& v) { v.iVal = value; });
}
Value I4(LONG value) {
    return Scalar(VT_I4, [&](VARIANT& v) { v.lVal = value; });
}
Value UI4(ULONG value) {
    return Scalar(VT_UI4, [&](VARIANT& v) { v.ulVal = value; });
}
Value R4(float value) {
    return Scalar(VT_R4, [&](VARIANT& v) { v.fltVal = value; });
}
Value R8(double value) {
    return Scalar(VT_R8, [&](VARIANT& v) { v.dblVal = value; });
}
Value Boolean(bool value) {
    return Scalar(VT_BOOL, [&](VARIANT& v) { v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; });
}
Value I1(signed char value) {
    return Scalar(VT_I1, [&](VARIANT& v) { v.cVal = static_cast<CHAR>(value); });
}
Value UI1(unsigned char value) {
    return Scalar(VT_UI1, [&](VARIANT& v) { v.bVal = value; });
}
Value UI2(USHORT value) {
    return Scalar(VT_UI2, [&](VARIANT& v) { v.uiVal = value; });
}

Value Object(IWbemClassObject* object) {
    Value v;
    v.get().vt = VT_UNKNOWN;
    v.get().punkVal = object;
    object->AddRef();
    return v;
}

namespace {

template <class Element>
Value MakeArray(VARTYPE type, const std::vector<Element>& elements, LONG lowerBound = 0) {
    Value v;
    SAFEARRAY* array = ::SafeArrayCreateVector(type, lowerBound, static_cast<ULONG>(elements.size()));
    for (size_t i = 0; i < elements.size(); ++i) {
        LONG index = lowerBound + static_cast<LONG>(i);
        Element element = elements[i];
        ::SafeArrayPutElement(array, &index, &element);
    }
    v.get().vt = static_cast<VARTYPE>(VT_ARRAY | type);
    v.get().parray = array;
    return v;
}

}  // namespace

Value I2Array(const std::vector<SHORT>& elements) { return MakeArray(VT_I2, elements); }
Value UI2Array(const std::vector<USHORT>& elements, LONG lowerBound) { return MakeArray(VT_UI2, elements, lowerBound); }
Value I4Array(const std::vector<LONG>& elements) { return MakeArray(VT_I4, elements); }
Value UI4Array(const std::vector<ULONG>& elements) { return MakeArray(VT_UI4, elements); }
Value I1Array(const std::vector<signed char>& elements) { return MakeArray(VT_I1, elements); }
Value UI1Array(const std::vector<unsigned char>& elements) { return MakeArray(VT_UI1, elements); }
Value R4Array(const std::vector<float>& elements) { return MakeArray(VT_R4, elements); }
Value R8Array(const std::vector<double>& elements) { return MakeArray(VT_R8, elements); }

Value BooleanArray(const std::vector<bool>& elements) {
    std::vector<VARIANT_BOOL> values;
    for (bool element : elements) values.push_back(element ? VARIANT_TRUE : VARIANT_FALSE);
    return MakeArray(VT_BOOL, values);
}

Value TextArray(const std::vector<std::wstring>& elements) {
    Value v;
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(elements.size()));
    for (size_t i = 0; i < elements.size(); ++i) {
        LONG index = static_cast<LONG>(i);
        BSTR element = ::SysAllocString(elements[i].c_str());
        ::SafeArrayPutElement(array, &index, element);  // copies the string
        ::SysFreeString(element);
    }
    v.get().vt = VT_ARRAY | VT_BSTR;
    v.get().parray = array;
    return v;
}

Value ObjectArray(const std::vector<IWbemClassObject*>& objects) {
    Value v;
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_UNKNOWN, 0, static_cast<ULONG>(objects.size()));
    for (size_t i = 0; i < objects.size(); ++i) {
        LONG index = static_cast<LONG>(i);
        ::SafeArrayPutElement(array, &index, static_cast<IUnknown*>(objects[i]));  // adds a reference
    }
    v.get().vt = VT_ARRAY | VT_UNKNOWN;
    v.get().parray = array;
    return v;
}

Value EmptyArray(VARTYPE elementType) {
    Value v;
    v.get().vt = static_cast<VARTYPE>(VT_ARRAY | elementType);
    v.get().parray = ::SafeArrayCreateVector(elementType, 0, 0);
    return v;
}

Value TwoDimensionalI4Array() {
    Value v;
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    v.get().vt = VT_ARRAY | VT_I4;
    v.get().parray = ::SafeArrayCreate(VT_I4, 2, bounds);
    return v;
}

// ---- FakeObject

FakeObject* FakeObject::Make(const std::wstring& className) { return new FakeObject(className); }

FakeObject::FakeObject(const std::wstring& className) { Set(L"__CLASS", Text(className.c_str()), CIM_STRING); }

FakeObject::Property& FakeObject::Entry(const std::wstring& name) {
    for (Property& property : properties_) {
        if (property.name == name) return property;
    }
    properties_.push_back(Property{name, Value(), CIM_EMPTY, 0, 0, {}, {}});
    return properties_.back();
}

const FakeObject::Property* FakeObject::Find(const std::wstring& name) const {
    for (const Property& property : properties_) {
        if (_wcsicmp(property.name.c_str(), name.c_str()) == 0) return &property;
    }
    return nullptr;
}

FakeObject& FakeObject::Set(const std::wstring& name, const Value& value, CIMTYPE cimType) {
    Property& property = Entry(name);
    property.value = value;
    property.cimType = cimType;
    return *this;
}

FakeObject& FakeObject::Key(const std::wstring& name) { return Qualifier(name, L"key", Boolean(true)); }

FakeObject& FakeObject::Qualifier(const std::wstring& name, const std::wstring& qualifier, const Value& value) {
    Entry(name).qualifiers.emplace_back(qualifier, value);
    return *this;
}

FakeObject& FakeObject::FailGet(const std::wstring& name, HRESULT status) {
    Entry(name).getFailure = status;
    return *this;
}

FakeObject& FakeObject::FailQualifierSet(const std::wstring& name, HRESULT status) {
    Entry(name).qualifierSetFailure = status;
    return *this;
}

FakeObject& FakeObject::FailQualifier(const std::wstring& name, const std::wstring& qualifier, HRESULT status) {
    Entry(name).qualifierFailures[qualifier] = status;
    return *this;
}

FakeObject& FakeObject::FailGetNames(HRESULT status) {
    getNamesFailure_ = status;
    return *this;
}

FakeObject& FakeObject::Ancestor(const std::wstring& className) {
    ancestors_.push_back(className);
    return *this;
}

HRESULT FakeObject::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IWbemClassObject) {
        *object = static_cast<IWbemClassObject*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeObject::Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE* type, LONG* flavor) {
    const Property* property = Find(name);
    if (property == nullptr) return WBEM_E_NOT_FOUND;
    if (property->getFailure != 0) return property->getFailure;
    if (value != nullptr) {
        ::VariantInit(value);
        ::VariantCopy(value, const_cast<VARIANT*>(&property->value.get()));
    }
    if (type != nullptr) *type = property->cimType;
    if (flavor != nullptr) *flavor = 0;
    return S_OK;
}

HRESULT FakeObject::GetNames(LPCWSTR, LONG flags, VARIANT*, SAFEARRAY** names) {
    if (getNamesFailure_ != 0) return getNamesFailure_;
    std::vector<const Property*> listed;
    for (const Property& property : properties_) {
        bool system = property.name.compare(0, 2, L"__") == 0;
        if (system && (flags & WBEM_FLAG_NONSYSTEM_ONLY) != 0) continue;
        listed.push_back(&property);
    }
    *names = ::SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(listed.size()));
    for (size_t i = 0; i < listed.size(); ++i) {
        LONG index = static_cast<LONG>(i);
        BSTR name = ::SysAllocString(listed[i]->name.c_str());
        ::SafeArrayPutElement(*names, &index, name);
        ::SysFreeString(name);
    }
    return S_OK;
}

HRESULT FakeObject::GetPropertyQualifierSet(LPCWSTR name, IWbemQualifierSet** qualifiers) {
    const Property* property = Find(name);
    if (property == nullptr) return WBEM_E_NOT_FOUND;
    if (property->qualifierSetFailure != 0) return property->qualifierSetFailure;
    if (property->name.compare(0, 2, L"__") == 0) return WBEM_E_SYSTEM_PROPERTY;
    *qualifiers = new FakeQualifierSet(property->qualifiers, property->qualifierFailures);
    return S_OK;
}

HRESULT FakeObject::InheritsFrom(LPCWSTR ancestor) {
    for (const std::wstring& name : ancestors_) {
        if (_wcsicmp(name.c_str(), ancestor) == 0) return S_OK;
    }
    return WBEM_S_FALSE;
}

// ---- FakeQualifierSet

HRESULT FakeQualifierSet::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IWbemQualifierSet) {
        *object = static_cast<IWbemQualifierSet*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeQualifierSet::Get(LPCWSTR name, LONG, VARIANT* value, LONG* flavor) {
    auto failure = failures_.find(name);
    if (failure != failures_.end()) return failure->second;
    for (const auto& [qualifier, qualifierValue] : qualifiers_) {
        if (_wcsicmp(qualifier.c_str(), name) != 0) continue;
        if (value != nullptr) {
            ::VariantInit(value);
            ::VariantCopy(value, const_cast<VARIANT*>(&qualifierValue.get()));
        }
        if (flavor != nullptr) *flavor = 0;
        return S_OK;
    }
    return WBEM_E_NOT_FOUND;
}

// ---- FakeEnumerator

FakeEnumerator::FakeEnumerator(std::vector<IWbemClassObject*> objects, HRESULT endStatus, Blanket& blanket)
    : objects_(std::move(objects)), endStatus_(endStatus), blanket_(blanket) {
    for (IWbemClassObject* object : objects_) if (object) object->AddRef();  // a null stands for a provider that returns none
}

FakeEnumerator::~FakeEnumerator() {
    for (IWbemClassObject* object : objects_) if (object) object->Release();
}

HRESULT FakeEnumerator::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumWbemClassObject) {
        *object = static_cast<IEnumWbemClassObject*>(this);
    } else if (iid == IID_IClientSecurity) {
        *object = static_cast<IClientSecurity*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT FakeEnumerator::Next(LONG, ULONG count, IWbemClassObject** objects, ULONG* returned) {
    if (count != 1 || objects == nullptr || returned == nullptr) return WBEM_E_INVALID_PARAMETER;
    if (next_ == objects_.size()) {
        *returned = 0;
        return endStatus_;
    }
    objects[0] = objects_[next_++];
    if (objects[0] != nullptr) objects[0]->AddRef();
    *returned = 1;
    return S_OK;
}

HRESULT Blanket::Query(DWORD* authentication, DWORD* authorisation, DWORD* level, DWORD* impersonation,
                       DWORD* capabilities) const {
    if (authentication) *authentication = authenticationService;
    if (authorisation) *authorisation = authorisationService;
    if (level) *level = authenticationLevel;
    if (impersonation) *impersonation = impersonationLevel;
    if (capabilities) *capabilities = EOAC_NONE;
    return S_OK;
}

HRESULT Blanket::Set(DWORD authentication, DWORD authorisation, DWORD level, DWORD impersonation) {
    authenticationService = authentication;
    authorisationService = authorisation;
    authenticationLevel = level;
    impersonationLevel = impersonation;
    ++sets;
    return S_OK;
}

HRESULT FakeEnumerator::QueryBlanket(IUnknown*, DWORD* authentication, DWORD* authorisation, OLECHAR**, DWORD* level,
                                     DWORD* impersonation, void**, DWORD* capabilities) {
    return blanket_.Query(authentication, authorisation, level, impersonation, capabilities);
}

HRESULT FakeEnumerator::SetBlanket(IUnknown*, DWORD authentication, DWORD authorisation, OLECHAR*, DWORD level,
                                   DWORD impersonation, void*, DWORD) {
    return blanket_.Set(authentication, authorisation, level, impersonation);
}

// ---- FakeServices

FakeServices* FakeServices::Make() { return new FakeServices(); }

FakeServices::~FakeServices() {
    for (auto& [path, object] : objects_) object->Release();
    for (auto& [name, entry] : classes_) {
        for (IWbemClassObject* instance : entry.instances) if (instance) instance->Release();
    }
}

FakeServices& FakeServices::Path(const std::wstring& path, IWbemClassObject* object) {
    object->AddRef();
    auto [place, added] = objects_.emplace(path, object);
    if (!added) {
        place->second->Release();
        place->second = object;
    }
    return *this;
}

FakeServices& FakeServices::Namespace(const std::wstring& name) {
    win32::ComPtr<FakeObject> systemClass;
    systemClass.reset(FakeObject::Make(L"__SystemClass"));
    systemClass->Set(L"__NAMESPACE", Text(name.c_str()), CIM_STRING);
    return Path(L"__SystemClass", systemClass.get());
}

FakeServices& FakeServices::Class(const std::wstring& className, const std::vector<IWbemClassObject*>& instances,
                                  HRESULT endStatus) {
    win32::ComPtr<FakeObject> classObject;
    classObject.reset(FakeObject::Make(className));
    Path(className, classObject.get());
    ClassEntry& entry = classes_[className];
    for (IWbemClassObject* instance : entry.instances) if (instance) instance->Release();
    entry.instances = instances;
    for (IWbemClassObject* instance : entry.instances) if (instance) instance->AddRef();
    entry.endStatus = endStatus;
    return *this;
}

FakeServices& FakeServices::FailGetObject(const std::wstring& path, HRESULT status) {
    objectFailures_[path] = status;
    return *this;
}

FakeServices& FakeServices::FailInstanceEnum(const std::wstring& className, HRESULT status) {
    classes_[className].enumFailure = status;
    return *this;
}

HRESULT FakeServices::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IWbemServices) {
        *object = static_cast<IWbemServices*>(this);
    } else if (iid == IID_IClientSecurity && clientSecurity_) {
        *object = static_cast<IClientSecurity*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT FakeServices::GetObject(const BSTR path, LONG, IWbemContext*, IWbemClassObject** object, IWbemCallResult**) {
    std::wstring name = path != nullptr ? path : L"";
    objectRequests_.push_back(name);
    auto failure = objectFailures_.find(name);
    if (failure != objectFailures_.end()) return failure->second;
    auto found = objects_.find(name);
    if (found == objects_.end()) return WBEM_E_NOT_FOUND;
    *object = found->second;
    (*object)->AddRef();
    return S_OK;
}

HRESULT FakeServices::CreateInstanceEnum(const BSTR className, LONG flags, IWbemContext*,
                                         IEnumWbemClassObject** instances) {
    enumFlags_.push_back(flags);
    auto found = classes_.find(className != nullptr ? className : L"");
    if (found == classes_.end()) return WBEM_E_INVALID_CLASS;
    if (found->second.enumFailure != 0) return found->second.enumFailure;
    enumeratorBlanket_ = Blanket{};
    enumeratorBlanket_.authenticationLevel = 0;
    enumeratorBlanket_.impersonationLevel = 0;
    *instances = new FakeEnumerator(found->second.instances, found->second.endStatus, enumeratorBlanket_);
    return S_OK;
}

HRESULT FakeServices::QueryBlanket(IUnknown*, DWORD* authentication, DWORD* authorisation, OLECHAR**, DWORD* level,
                                   DWORD* impersonation, void**, DWORD* capabilities) {
    return blanket_.Query(authentication, authorisation, level, impersonation, capabilities);
}

HRESULT FakeServices::SetBlanket(IUnknown*, DWORD authentication, DWORD authorisation, OLECHAR*, DWORD level,
                                 DWORD impersonation, void*, DWORD) {
    return blanket_.Set(authentication, authorisation, level, impersonation);
}

// ---- FakeErrorInfo

HRESULT FakeErrorInfo::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IErrorInfo) {
        *object = static_cast<IErrorInfo*>(this);
        AddRef();
        return S_OK;
    }
    if (iid == IID_IWbemClassObject && status_ != nullptr) return status_->QueryInterface(iid, object);
    *object = nullptr;
    return E_NOINTERFACE;
}

void LeaveErrorObject(IWbemClassObject* status) {
    win32::ComPtr<FakeErrorInfo> error;
    error.reset(new FakeErrorInfo(status));
    ::SetErrorInfo(0, error.get());
}

}  // namespace wmi_doubles
