#pragma once
#include <windows.h>
#include <wbemcli.h>

#include "common/win32/ComPtr.h"

// Connects to the namespace of the current selection and secures the proxy; every failure is
// fatal.
win32::ComPtr<IWbemServices> ConnectToWmi();

// Gives the target the authentication level of the source, impersonating.
HRESULT SetupAuthAndImp(IUnknown* source, IUnknown* target);

HRESULT SetProxySecurity(IUnknown* proxy, DWORD authenticationLevel, DWORD impersonationLevel);
