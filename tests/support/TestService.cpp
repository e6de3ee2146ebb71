#include "TestService.h"

#include <gtest/gtest.h>

#include "TestFiles.h"

namespace testing_support {

namespace {

constexpr int kStatePolls = 200;  // 10 s in steps of 50 ms: a first service start under Wine is slow

bool WaitForState(SC_HANDLE service, DWORD state) {
    for (int poll = 0; poll < kStatePolls; ++poll) {
        SERVICE_STATUS status{};
        if (!::QueryServiceStatus(service, &status)) return false;
        if (status.dwCurrentState == state) return true;
        ::Sleep(50);
    }
    return false;
}

}  // namespace

InstalledService::InstalledService(std::string name) : name_(std::move(name)) {
    manager_.reset(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    EXPECT_TRUE(manager_) << ::GetLastError();
    if (!manager_) return;
    // A service left behind by an interrupted earlier test goes first. It must have stopped
    // before it is deleted: a running one is only marked, and creating it anew would fail.
    if (win32::UniqueServiceHandle stale(::OpenServiceA(manager_.get(), name_.c_str(), SERVICE_ALL_ACCESS)); stale) {
        SERVICE_STATUS ignored{};
        if (::ControlService(stale.get(), SERVICE_CONTROL_STOP, &ignored)) WaitForState(stale.get(), SERVICE_STOPPED);
        ::DeleteService(stale.get());
    }
    std::string binary(1, '"');
    binary += ProgramFolder();
    binary += "\\qz-test-service.exe\"";
    service_.reset(::CreateServiceA(manager_.get(), name_.c_str(), name_.c_str(), SERVICE_ALL_ACCESS,
                                    SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                    binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(service_) << ::GetLastError();
    if (!service_) return;
    EXPECT_TRUE(::StartServiceA(service_.get(), 0, nullptr)) << ::GetLastError();
    EXPECT_TRUE(WaitForState(service_.get(), SERVICE_RUNNING));
}

InstalledService::~InstalledService() {
    if (!service_) return;
    SERVICE_STATUS status{};
    if (::ControlService(service_.get(), SERVICE_CONTROL_STOP, &status)) WaitForState(service_.get(), SERVICE_STOPPED);
    ::DeleteService(service_.get());
}

bool InstalledService::Control(DWORD control, DWORD expectedState) {
    SERVICE_STATUS status{};
    return ::ControlService(service_.get(), control, &status) && WaitForState(service_.get(), expectedState);
}

}  // namespace testing_support
