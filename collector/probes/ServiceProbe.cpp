// IsQzSvcRunning: is a service in any state but stopped?
#include "common/win32/UniqueHandle.h"
#include "engine/Collection.h"
#include "engine/ErrorText.h"
#include "probes/CollectionProbes.h"

int IsQzSvcRunning(Collection& collection, std::string serviceName) {
    collection.LogReport("Start - IsQzSvcRunning - Service Name: %s", serviceName.c_str());
    int result = 0;
    DWORD error = 0;
    win32::UniqueServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, GENERIC_READ));
    if (!manager) {
        error = ::GetLastError();
        collection.LogReport("OpenSCManager()->%s", GetErrorText(error).c_str());
    } else {
        // The opening is not tested on its own: a missing service shows as a failed status
        // query and a failed close of the missing handle, both with their own lines.
        win32::UniqueServiceHandle service(::OpenServiceA(manager.get(), serviceName.c_str(), SERVICE_ALL_ACCESS));
        SERVICE_STATUS status{};
        if (!::QueryServiceStatus(service.get(), &status)) {
            error = ::GetLastError();
            collection.LogReport("QueryServiceStatus()->%s", GetErrorText(error).c_str());
        } else if (status.dwCurrentState != SERVICE_STOPPED) {
            result = 1;
            collection.LogReport("Service: %s is up and running!", serviceName.c_str());
        }
        if (!::CloseServiceHandle(service.release())) {
            error = ::GetLastError();
            collection.LogReport("Service - CloseServiceHandle()->%s", GetErrorText(error).c_str());
        }
        if (!::CloseServiceHandle(manager.release())) {
            error = ::GetLastError();
            collection.LogReport("SCM - CloseServiceHandle()->%s", GetErrorText(error).c_str());
        }
    }
    collection.LogReport("Finish - IsQzSvcRunning. Error = %d", static_cast<int>(error));
    return result;
}
