#include "WmiConnection.h"

#include "ComValues.h"
#include "RunState.h"
#include "WbemErrors.h"
#include "common/win32/ComPtr.h"

namespace {

// The tool always runs as the calling user: no user, password or authority of its own.
const wchar_t kNoCredential[] = L"";

}  // namespace

HRESULT SetProxySecurity(IUnknown* proxy, DWORD authenticationLevel, DWORD impersonationLevel) {
    if (proxy == nullptr) return E_INVALIDARG;
    if (authenticationLevel == RPC_C_AUTHN_LEVEL_NONE) {
        return ::CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, authenticationLevel,
                                   RPC_C_IMP_LEVEL_IDENTIFY, nullptr, EOAC_NONE);
    }
    return ::CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, authenticationLevel,
                               impersonationLevel, nullptr, EOAC_NONE);
}

HRESULT SetupAuthAndImp(IUnknown* source, IUnknown* target) {
    if (source == nullptr) return WBEM_E_INVALID_PARAMETER;
    DWORD authenticationLevel = 0;
    {
        win32::ComPtr<IClientSecurity> security;
        HRESULT status = source->QueryInterface(IID_IClientSecurity, reinterpret_cast<void**>(security.put()));
        if (status != 0) return status;
        DWORD authenticationService = 0;
        DWORD authorisationService = 0;
        DWORD impersonationLevel = 0;
        DWORD capabilities = 0;
        status = security->QueryBlanket(source, &authenticationService, &authorisationService, nullptr,
                                        &authenticationLevel, &impersonationLevel, nullptr, &capabilities);
        if (status != 0) return status;
    }
    return SetProxySecurity(target, authenticationLevel, RPC_C_IMP_LEVEL_IMPERSONATE);
}

win32::ComPtr<IWbemServices> ConnectToWmi() {
    win32::ComPtr<IWbemLocator> locator;
    HRESULT status = ::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                        reinterpret_cast<void**>(locator.put()));
    if (status != 0) FatalWbemError("Failed to create IWbemLocator object", status);

    Bstr resource(ThisRun().namespaceText.c_str());
    Bstr user(kNoCredential);
    Bstr password(kNoCredential);
    win32::ComPtr<IWbemServices> services;
    status = locator->ConnectServer(resource.get(), user.get(), password.get(), nullptr, 0, nullptr, nullptr,
                                    services.put());
    if (status != 0) FatalWbemError("ConnectServer failed", status);
    status = SetupAuthAndImp(services.get(), services.get());
    if (status != 0) FatalWbemError("SetupAuthAndImp Failed on ConnectServer", status);
    return services;
}
