// A service that does nothing but answer the service control manager: it stands in for the
// product's volume manager service so the service probe meets real running, paused and stopped states.
#include <windows.h>

#include "common/win32/UniqueHandle.h"

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status{};
win32::UniqueKernelHandle stopEvent;

void Report(DWORD state) {
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE;
    ::SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
        Report(SERVICE_STOP_PENDING);
        ::SetEvent(stopEvent.get());
        break;
    case SERVICE_CONTROL_PAUSE:
        Report(SERVICE_PAUSED);
        break;
    case SERVICE_CONTROL_CONTINUE:
        Report(SERVICE_RUNNING);
        break;
    default:
        Report(status.dwCurrentState);
        break;
    }
    return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, char** arguments) {
    statusHandle = ::RegisterServiceCtrlHandlerExA(arguments[0], Control, nullptr);
    if (statusHandle == nullptr) return;
    stopEvent.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    Report(SERVICE_RUNNING);
    ::WaitForSingleObject(stopEvent.get(), INFINITE);
    stopEvent.reset();
    Report(SERVICE_STOPPED);
}

}  // namespace

int main() {
    char name[] = "";  // ignored for a service of its own process
    SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return ::StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
