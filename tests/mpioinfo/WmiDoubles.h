#pragma once
// In-memory WMI: class objects with properties and qualifiers, qualifier sets, instance
// enumerators, a services object and an error object, so the real printers run on them.
#include <windows.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <map>
#include <string>
#include <vector>

#include "common/win32/ComPtr.h"

namespace wmi_doubles {

// A VARIANT that copies and frees itself.
class Value {
public:
    Value() noexcept { ::VariantInit(&value_); }
    Value(const Value& other);
    Value& operator=(const Value& other);
    ~Value() { ::VariantClear(&value_); }

    const VARIANT& get() const noexcept { return value_; }
    VARIANT& get() noexcept { return value_; }

private:
    VARIANT value_;
};

Value Empty();
Value Null();
Value Text(const wchar_t* text);
Value I2(SHORT value);
Value I4(LONG value);
Value UI4(ULONG value);
Value R4(float value);
Value R8(double value);
Value Boolean(bool value);
Value I1(signed char value);
Value UI1(unsigned char value);
Value UI2(USHORT value);
Value Object(IWbemClassObject* object);

// One-dimensional arrays; the lower bound may be other than 0.
Value I2Array(const std::vector<SHORT>& elements);
Value UI2Array(const std::vector<USHORT>& elements, LONG lowerBound = 0);
Value I4Array(const std::vector<LONG>& elements);
Value UI4Array(const std::vector<ULONG>& elements);
Value I1Array(const std::vector<signed char>& elements);
Value UI1Array(const std::vector<unsigned char>& elements);
Value R4Array(const std::vector<float>& elements);
Value R8Array(const std::vector<double>& elements);
Value BooleanArray(const std::vector<bool>& elements);
Value TextArray(const std::vector<std::wstring>& elements);
Value ObjectArray(const std::vector<IWbemClassObject*>& objects);
Value EmptyArray(VARTYPE elementType);
Value TwoDimensionalI4Array();

// Reference counting shared by the doubles; the count starts at 1 for the creator.
class RefCounted {
public:
    virtual ~RefCounted() = default;
    ULONG AddRefCount() { return ++references_; }
    ULONG ReleaseCount() {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    ULONG References() const { return references_; }

private:
    ULONG references_ = 1;
};

class FakeQualifierSet;

class FakeObject final : public IWbemClassObject, public RefCounted {
public:
    // A new object of this class; the caller owns the one reference.
    static FakeObject* Make(const std::wstring& className);

    FakeObject& Set(const std::wstring& name, const Value& value, CIMTYPE cimType = CIM_EMPTY);
    FakeObject& Key(const std::wstring& name);
    FakeObject& Qualifier(const std::wstring& name, const std::wstring& qualifier, const Value& value);
    FakeObject& FailGet(const std::wstring& name, HRESULT status);
    FakeObject& FailQualifierSet(const std::wstring& name, HRESULT status);
    FakeObject& FailQualifier(const std::wstring& name, const std::wstring& qualifier, HRESULT status);
    FakeObject& FailGetNames(HRESULT status);
    FakeObject& Ancestor(const std::wstring& className);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCount(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseCount(); }
    // IWbemClassObject
    HRESULT STDMETHODCALLTYPE GetQualifierSet(IWbemQualifierSet**) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE* type, LONG* flavor) override;
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR, LONG, VARIANT*, CIMTYPE) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Delete(LPCWSTR) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR qualifier, LONG flags, VARIANT* qualifierValue, SAFEARRAY** names) override;
    HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Next(LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE EndEnumeration() override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR name, IWbemQualifierSet** qualifiers) override;
    HRESULT STDMETHODCALLTYPE Clone(IWbemClassObject**) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetObjectText(LONG, BSTR*) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE SpawnDerivedClass(LONG, IWbemClassObject**) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE SpawnInstance(LONG, IWbemClassObject**) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE CompareTo(LONG, IWbemClassObject*) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetPropertyOrigin(LPCWSTR, BSTR*) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR ancestor) override;
    HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR, LONG, IWbemClassObject**, IWbemClassObject**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE PutMethod(LPCWSTR, LONG, IWbemClassObject*, IWbemClassObject*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DeleteMethod(LPCWSTR) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE BeginMethodEnumeration(LONG) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE NextMethod(LONG, BSTR*, IWbemClassObject**, IWbemClassObject**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE EndMethodEnumeration() override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetMethodQualifierSet(LPCWSTR, IWbemQualifierSet**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE GetMethodOrigin(LPCWSTR, BSTR*) override { return WBEM_E_NOT_SUPPORTED; }

private:
    struct Property {
        std::wstring name;
        Value value;
        CIMTYPE cimType = CIM_EMPTY;
        HRESULT getFailure = 0;
        HRESULT qualifierSetFailure = 0;
        std::vector<std::pair<std::wstring, Value>> qualifiers;
        std::map<std::wstring, HRESULT> qualifierFailures;
    };
    explicit FakeObject(const std::wstring& className);
    Property& Entry(const std::wstring& name);
    const Property* Find(const std::wstring& name) const;

    std::vector<Property> properties_;
    std::vector<std::wstring> ancestors_;
    HRESULT getNamesFailure_ = 0;
};

class FakeQualifierSet final : public IWbemQualifierSet, public RefCounted {
public:
    FakeQualifierSet(std::vector<std::pair<std::wstring, Value>> qualifiers, std::map<std::wstring, HRESULT> failures)
        : qualifiers_(std::move(qualifiers)), failures_(std::move(failures)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCount(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseCount(); }
    HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG flags, VARIANT* value, LONG* flavor) override;
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR, VARIANT*, LONG) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Delete(LPCWSTR) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetNames(LONG, SAFEARRAY**) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Next(LONG, BSTR*, VARIANT*, LONG*) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE EndEnumeration() override { return WBEM_E_NOT_SUPPORTED; }

private:
    std::vector<std::pair<std::wstring, Value>> qualifiers_;
    std::map<std::wstring, HRESULT> failures_;
};

// The security blanket of a proxy: what QueryBlanket answers and what SetBlanket was given.
struct Blanket {
    DWORD authenticationService = RPC_C_AUTHN_WINNT;
    DWORD authorisationService = RPC_C_AUTHZ_NONE;
    DWORD authenticationLevel = RPC_C_AUTHN_LEVEL_CONNECT;
    DWORD impersonationLevel = RPC_C_IMP_LEVEL_IMPERSONATE;
    int sets = 0;

    // The two IClientSecurity calls, answered from and recorded into this record.
    HRESULT Query(DWORD* authentication, DWORD* authorisation, DWORD* level, DWORD* impersonation,
                  DWORD* capabilities) const;
    HRESULT Set(DWORD authentication, DWORD authorisation, DWORD level, DWORD impersonation);
};

class FakeEnumerator final : public IEnumWbemClassObject, public IClientSecurity, public RefCounted {
public:
    // The blanket record outlives the enumerator, so a test can read it after the run let go.
    FakeEnumerator(std::vector<IWbemClassObject*> objects, HRESULT endStatus, Blanket& blanket);
    ~FakeEnumerator() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCount(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseCount(); }
    HRESULT STDMETHODCALLTYPE Reset() override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Next(LONG timeout, ULONG count, IWbemClassObject** objects, ULONG* returned) override;
    HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject**) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Skip(LONG, ULONG) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE QueryBlanket(IUnknown*, DWORD*, DWORD*, OLECHAR**, DWORD*, DWORD*, void**, DWORD*) override;
    HRESULT STDMETHODCALLTYPE SetBlanket(IUnknown*, DWORD, DWORD, OLECHAR*, DWORD, DWORD, void*, DWORD) override;
    HRESULT STDMETHODCALLTYPE CopyProxy(IUnknown*, IUnknown**) override { return E_NOTIMPL; }

private:
    std::vector<IWbemClassObject*> objects_;
    size_t next_ = 0;
    HRESULT endStatus_;
    Blanket& blanket_;
};

class FakeServices final : public IWbemServices, public IClientSecurity, public RefCounted {
public:
    static FakeServices* Make();

    // "__SystemClass" with its "__NAMESPACE".
    FakeServices& Namespace(const std::wstring& name);
    // A class object and its instances, served by GetObject and CreateInstanceEnum.
    FakeServices& Class(const std::wstring& className, const std::vector<IWbemClassObject*>& instances,
                        HRESULT endStatus = WBEM_S_FALSE);
    // An object served by GetObject for this path.
    FakeServices& Path(const std::wstring& path, IWbemClassObject* object);
    FakeServices& FailGetObject(const std::wstring& path, HRESULT status);
    FakeServices& FailInstanceEnum(const std::wstring& className, HRESULT status);
    FakeServices& NoClientSecurity() {
        clientSecurity_ = false;
        return *this;
    }
    Blanket& SecurityBlanket() { return blanket_; }
    const std::vector<std::wstring>& ObjectRequests() const { return objectRequests_; }
    const std::vector<LONG>& EnumFlags() const { return enumFlags_; }
    const Blanket& EnumeratorBlanket() const { return enumeratorBlanket_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCount(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseCount(); }
    HRESULT STDMETHODCALLTYPE OpenNamespace(const BSTR, LONG, IWbemContext*, IWbemServices**, IWbemCallResult**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE CancelAsyncCall(IWbemObjectSink*) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE QueryObjectSink(LONG, IWbemObjectSink**) override { return WBEM_E_NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetObject(const BSTR path, LONG flags, IWbemContext* context, IWbemClassObject** object,
                                        IWbemCallResult** result) override;
    HRESULT STDMETHODCALLTYPE GetObjectAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE PutClass(IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE PutClassAsync(IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DeleteClass(const BSTR, LONG, IWbemContext*, IWbemCallResult**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DeleteClassAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE CreateClassEnum(const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE CreateClassEnumAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE PutInstance(IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE PutInstanceAsync(IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DeleteInstance(const BSTR, LONG, IWbemContext*, IWbemCallResult**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DeleteInstanceAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE CreateInstanceEnum(const BSTR className, LONG flags, IWbemContext* context,
                                                 IEnumWbemClassObject** instances) override;
    HRESULT STDMETHODCALLTYPE CreateInstanceEnumAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR, const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecQueryAsync(const BSTR, const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecNotificationQuery(const BSTR, const BSTR, LONG, IWbemContext*,
                                                    IEnumWbemClassObject**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecNotificationQueryAsync(const BSTR, const BSTR, LONG, IWbemContext*,
                                                         IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*,
                                         IWbemClassObject**, IWbemCallResult**) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecMethodAsync(const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*,
                                              IWbemObjectSink*) override {
        return WBEM_E_NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE QueryBlanket(IUnknown*, DWORD*, DWORD*, OLECHAR**, DWORD*, DWORD*, void**, DWORD*) override;
    HRESULT STDMETHODCALLTYPE SetBlanket(IUnknown*, DWORD, DWORD, OLECHAR*, DWORD, DWORD, void*, DWORD) override;
    HRESULT STDMETHODCALLTYPE CopyProxy(IUnknown*, IUnknown**) override { return E_NOTIMPL; }

private:
    FakeServices() = default;
    ~FakeServices() override;
    struct ClassEntry {
        std::vector<IWbemClassObject*> instances;
        HRESULT endStatus = WBEM_S_FALSE;
        HRESULT enumFailure = 0;
    };
    std::map<std::wstring, IWbemClassObject*> objects_;
    std::map<std::wstring, HRESULT> objectFailures_;
    std::map<std::wstring, ClassEntry> classes_;
    std::vector<std::wstring> objectRequests_;
    std::vector<LONG> enumFlags_;
    Blanket enumeratorBlanket_;
    Blanket blanket_;
    bool clientSecurity_ = true;
};

// The error object a failed WMI call leaves for GetErrorInfo: it answers for IWbemClassObject
// with the status object it was given.
class FakeErrorInfo final : public IErrorInfo, public RefCounted {
public:
    explicit FakeErrorInfo(IWbemClassObject* status) : status_(status) {
        if (status_ != nullptr) status_->AddRef();
    }
    ~FakeErrorInfo() override {
        if (status_ != nullptr) status_->Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCount(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseCount(); }
    HRESULT STDMETHODCALLTYPE GetGUID(GUID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSource(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDescription(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD*) override { return E_NOTIMPL; }

private:
    IWbemClassObject* status_;
};

inline win32::ComPtr<FakeObject> NewObject(const std::wstring& className) {
    win32::ComPtr<FakeObject> object;
    object.reset(FakeObject::Make(className));
    return object;
}

inline win32::ComPtr<FakeServices> NewServices() {
    win32::ComPtr<FakeServices> services;
    services.reset(FakeServices::Make());
    return services;
}

// Leaves an error object for the next GetErrorInfo of this thread.
void LeaveErrorObject(IWbemClassObject* status);

}  // namespace wmi_doubles
